// FeederWithProgress: scans every sheet in a scanner's document feeder with WIA 2.0, front sides only or both sides,
// one file per page in Documents/Feeder scans, with a progress bar and a Cancel button. The loop asks for one sheet per
// Download and ends when the feeder is empty: the device then answers WIA_ERROR_PAPER_EMPTY (or the success code
// WIA_STATUS_END_OF_MEDIA). Download runs inside the call, so the window handles the Cancel button between sheets;
// within a sheet the Escape key cancels (the progress handler answers 1), and the progress bar is painted as it moves.
// How to use it: in the release folder, open projects/FeederWithProgress/FeederWithProgress.xojo_project (made from
// this file). Or add WIAConstants.xojo_code (next to this file) to a desktop project and put each part below where its
// "// ---- <where> ----" line says: a class with its Super, properties and event handlers (Insert > Event Handler),
// controls in the Layout Editor (name, type, then their properties after "//"), the window's properties, methods and
// event handlers.

// ---- Class FeederCallback (Super WIATransferCallbackZVK): its properties and event handlers ----
Folder As FolderItem
Pages As Integer
CancelRequested As Boolean
Bar As DesktopProgressBar
Status As DesktopLabel

Function GetNextStream(ItemName As String, FullItemName As String) As WIAStreamZVK
  // Asked once per image (one per side of a sheet). The stream goes to the device with its own reference; the file
  // is closed when the device is done with it, and it is yours to keep.
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
    Bar.Refresh(True) // paint now: the window gets no turn until the sheet is in
  Case WIATransferParamsZVK.kMessageDeviceStatus
    If w.ErrorStatus < 0 Then System.DebugLog("The device reports " + WIAConstants.ErrorText(w.ErrorStatus))
  End Select
  If Keyboard.AsyncKeyDown(&h35) Then CancelRequested = True // Escape
  If CancelRequested Then Return WIAConstants.kFalse // the device stops at once and Download leaves 1 in Lasterror
  Return WIAConstants.kSuccess
End Function

// ---- Window1: its controls ----
ScanButton As DesktopButton // Caption "Scan feeder"
CancelButton As DesktopButton // Caption "Cancel", Enabled False
BothSides As DesktopCheckBox // Caption "Both sides (duplex)"
Bar As DesktopProgressBar // MaximumValue 100
Status As DesktopLabel // Text "Load the feeder and press Scan feeder."

// ---- Window1: its properties ----
Feeder As WIAItemZVK
FeederTransfer As WIATransferZVK
Callback As FeederCallback

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
  If Callback.CancelRequested Then
    Finish("Cancelled after " + Callback.Pages.ToString + " pages.")
    Return
  End If
  Bar.Value = 0
  FeederTransfer.Download(Callback)
  // Lasterror: 0 and other non-negative codes are successes, negative ones failures. Two successes end the loop:
  // 1 (S_FALSE, a cancel) and WIA_STATUS_END_OF_MEDIA (the feeder ran empty after this sheet).
  Var code As Integer = FeederTransfer.Lasterror
  If code = WIAConstants.kFalse Then
    Finish("Stopped after " + Callback.Pages.ToString + " pages.")
  ElseIf code = WIAConstants.kEndOfMedia Then
    Finish("Done: " + Callback.Pages.ToString + " pages.")
  ElseIf code >= 0 Then
    Timer.CallLater(0, AddressOf ScanNextPage) // a sheet is in: let the window breathe, then the next one
  ElseIf code = WIAConstants.kErrorPaperEmpty And Callback.Pages = 0 Then
    Finish("The feeder is empty: load paper and scan again.")
  ElseIf code = WIAConstants.kErrorPaperEmpty Then
    Finish("Done: " + Callback.Pages.ToString + " pages.") // the normal end of a feeder batch
  Else
    Finish("The scan failed after " + Callback.Pages.ToString + " pages: " + WIAConstants.ErrorText(code))
  End If
End Sub

// ---- Window1: the Pressed event of ScanButton ----
Sub Pressed()
  Var manager As New WIADeviceManager2ZVK
  Var scanner As WIAItemZVK = manager.SelectDeviceDialog(Self, WIADeviceManager2ZVK.kDeviceTypeScanner, 0)
  If scanner = Nil Then
    Status.Text = "No scanner chosen: " + WIAConstants.ErrorText(manager.Lasterror)
    Return
  End If
  Var feeders As WIAItemEnumeratorZVK = scanner.EnumerateChildItems(WIAItemZVK.kCategoryFeeder)
  If feeders <> Nil Then Feeder = feeders.NextItem
  If Feeder = Nil Then
    Status.Text = "This scanner has no document feeder."
    Return
  End If

  // Settings on the WIA 2.0 feeder item, each checked. Document Handling Select takes front sides only
  // (FRONT_ONLY) or both sides (DUPLEX), never FEEDER: that value belongs to WIA 1.0's root item. Pages counts the
  // images of one Download, one per side (0, kAllPages, would be every sheet in one call). The intent comes before the
  // format. Plain numbers do: the plug-in writes them in the property's own type.
  Var handling As Integer = WIAConstants.kHandlingFrontOnly
  Var imagesPerSheet As Integer = 1
  If BothSides.Value Then
    handling = WIAConstants.kHandlingDuplex
    imagesPerSheet = 2
  End If
  Var settings As WIAPropertyStorageZVK = Feeder.PropertyStorage
  settings.Write(WIAPropertyStorageZVK.kScannerDevicePropertyDocumentHandlingSelect, handling)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kScannerDevicePropertyPages, imagesPerSheet)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kScannerItemPropertyCurIntent, WIAConstants.kIntentText)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kItemPropertyFormat, WIAPropertyStorageZVK.kImageFormatBMP)
  If settings.Lasterror <> 0 Then
    Status.Text = "The feeder refused a setting: " + WIAConstants.ErrorText(settings.Lasterror)
    Return
  End If

  FeederTransfer = Feeder.Transfer
  If FeederTransfer = Nil Then
    Finish("The feeder offers no WIA 2.0 transfer: " + WIAConstants.ErrorText(Feeder.Lasterror))
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

// ---- Window1: the Pressed event of CancelButton ----
Sub Pressed()
  // Runs between sheets: the loop stops before the next Download. (A transfer can also be stopped with
  // FeederTransfer.Cancel from inside either event of the callback.)
  If Callback <> Nil Then Callback.CancelRequested = True
  Status.Text = "Cancelling..."
End Sub
