// FeederWithProgress: scans every sheet in a scanner's document feeder with WIA 2.0, one file per page in
// Documents/Feeder scans, with a progress bar and a Cancel button. The loop asks for one page per
// Download and ends when the feeder is empty: the device then answers WIA_ERROR_PAPER_EMPTY.
// Download runs inside the call, so the window handles the Cancel button between pages; within a page the
// Escape key cancels (the progress handler answers 1), and the progress bar is painted as it moves.
// Where each part goes:
//   Part 1: add a class named FeederCallback with Super WIATransferCallbackZVK; give it the properties and
//           paste the two event handlers into it.
//   Part 2: three properties of Window1.
//   Part 3: a method ResultText on Window1.
//   Part 4: a method Finish on Window1.
//   Part 5: a method ScanNextPage on Window1 (the loop: one page per pass).
//   Part 6: the Pressed event of a DesktopButton named ScanButton on Window1 (caption "Scan feeder").
//   Part 7: the Pressed event of a DesktopButton named CancelButton on Window1 (caption "Cancel").
// Window1 also holds a DesktopProgressBar named Bar (MaximumValue 100) and a DesktopLabel named Status.

// ---- Class FeederCallback (Super WIATransferCallbackZVK): its properties and event handlers ----
Folder As FolderItem
Pages As Integer
CancelRequested As Boolean
Bar As DesktopProgressBar
Status As DesktopLabel

Function GetNextStream(ItemName As String, FullItemName As String) As WIAStreamZVK
  // Asked once per sheet. The stream goes to the device with its own reference; the file is closed when
  // the device is done with it, and it is yours to keep.
  Pages = Pages + 1
  Status.Text = "Page " + Pages.ToString
  Var page As New WIAStreamZVK(WIAStreamZVK.kModeCreate Or WIAStreamZVK.kModeWrite, _
    Folder.Child("Page " + Pages.ToString + ".bmp"))
  If page.Handle = 0 Then Return Nil // the file did not open: no stream ends the download
  Return page
End Function

Function TransferCallback(w As WIATransferParamsZVK) As Integer
  Select Case w.Message
  Case WIATransferParamsZVK.kMessageStatus
    Bar.Value = w.PercentComplete
    Bar.Refresh(True) // paint now: the window gets no turn until the page is in
  Case WIATransferParamsZVK.kMessageDeviceStatus
    If w.ErrorStatus < 0 Then System.DebugLog("The device reports " + Hex(w.ErrorStatus))
  End Select
  If Keyboard.AsyncKeyDown(&h35) Then CancelRequested = True // Escape
  If CancelRequested Then Return 1 // S_FALSE: the device stops at once and Download returns 1
  Return 0
End Function

// ---- Window1: its properties ----
Feeder As WIAItemZVK
FeederTransfer As WIATransferZVK
Callback As FeederCallback

// ---- Window1: method ResultText(code As Integer) As String ----
Function ResultText(code As Integer) As String
  // Lasterror holds the system's 32-bit result code widened with its sign: show its 8 hex digits.
  If code = -1 Then Return "no call was made"
  Var digits As String = Hex(code)
  If digits.Length > 8 Then digits = digits.Right(8)
  Return "&h" + digits
End Function

// ---- Window1: method Finish(message As String) ----
Sub Finish(message As String)
  Status.Text = message
  ScanButton.Enabled = True
  CancelButton.Enabled = False
  FeederTransfer = Nil
  Feeder = Nil
End Sub

// ---- Window1: method ScanNextPage() ----
Sub ScanNextPage()
  Const kPaperEmpty As Integer = -2145320957 // WIA_ERROR_PAPER_EMPTY, &h80210003, as Lasterror holds it
  If Callback.CancelRequested Then
    Finish("Cancelled after " + Callback.Pages.ToString + " pages.")
    Return
  End If
  Bar.Value = 0
  FeederTransfer.Download(Callback)
  Select Case FeederTransfer.Lasterror
  Case 0
    Timer.CallLater(0, AddressOf ScanNextPage) // a page is in: let the window breathe, then the next one
  Case 1
    // S_FALSE: the progress handler answered 1, or GetNextStream gave no stream.
    Finish("Stopped after " + Callback.Pages.ToString + " pages.")
  Case kPaperEmpty
    If Callback.Pages = 0 Then
      Finish("The feeder is empty: load paper and scan again.")
    Else
      Finish("Done: " + Callback.Pages.ToString + " pages.")
    End If
  Else
    Finish("The scan failed after " + Callback.Pages.ToString + " pages: " + ResultText(FeederTransfer.Lasterror))
  End Select
End Sub

// ---- Window1: the Pressed event of the DesktopButton ScanButton ----
Sub Pressed()
  Var manager As New WIADeviceManager2ZVK
  Var scanner As WIAItemZVK = manager.SelectDeviceDialog(Self, WIADeviceManager2ZVK.kDeviceTypeScanner, 0)
  If scanner = Nil Then
    Status.Text = "No scanner chosen: " + ResultText(manager.Lasterror)
    Return
  End If
  Var feeders As WIAItemEnumeratorZVK = scanner.EnumerateChildItems(WIAItemZVK.kCategoryFeeder)
  If feeders <> Nil Then Feeder = feeders.NextItem
  If Feeder = Nil Then
    Status.Text = "This scanner has no document feeder."
    Return
  End If

  // Scan from the feeder, one page per Download, as BMP files; each setting checked. On the WIA 2.0 feeder item,
  // Document Handling Select takes front sides only (&h20, FRONT_ONLY) or both (&h04, DUPLEX), and Pages counts the
  // images of one Download (0 would mean every sheet in one call). Plain numbers do: the plug-in writes them in the
  // property's own type.
  Var settings As WIAPropertyStorageZVK = Feeder.PropertyStorage
  settings.Write(WIAPropertyStorageZVK.kScannerDevicePropertyDocumentHandlingSelect, &h20)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kScannerDevicePropertyPages, 1)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kItemPropertyFormat, WIAPropertyStorageZVK.kImageFormatBMP)
  If settings.Lasterror <> 0 Then
    Status.Text = "The feeder refused a setting: " + ResultText(settings.Lasterror)
    Return
  End If

  FeederTransfer = Feeder.Transfer
  If FeederTransfer = Nil Then
    Finish("The feeder offers no WIA 2.0 transfer: " + ResultText(Feeder.Lasterror))
    Return
  End If
  Callback = New FeederCallback
  Callback.Folder = SpecialFolder.Documents.Child("Feeder scans")
  If Not Callback.Folder.Exists Then Callback.Folder.CreateFolder
  Callback.Bar = Bar
  Callback.Status = Status
  ScanButton.Enabled = False
  CancelButton.Enabled = True
  Timer.CallLater(0, AddressOf ScanNextPage)
End Sub

// ---- Window1: the Pressed event of the DesktopButton CancelButton ----
Sub Pressed()
  // Runs between pages: the loop stops before the next Download. (A transfer can also be stopped with
  // FeederTransfer.Cancel from inside either event of the callback.)
  If Callback <> Nil Then Callback.CancelRequested = True
  Status.Text = "Cancelling..."
End Sub
