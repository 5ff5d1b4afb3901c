// ScanFlatbedToFile: scans one page from a scanner's flatbed with WIA 2.0 into a BMP file in Documents.
// The device writes the page into a WIAStreamZVK that your GetNextStream handler opens on the file.
// Where each part goes:
//   Part 1: add a class named FlatbedCallback with Super WIATransferCallbackZVK; give it the property and
//           paste the two event handlers into it (Insert > Event Handler).
//   Part 2: a method ResultText on Window1.
//   Part 3: the Pressed event of a DesktopButton on Window1 (caption "Scan").
// Every plug-in object keeps the result code of its last system call in Lasterror: -1 no call was made,
// 0 success, 1 the system's "false" success, negative a failure (print it in hex to look it up).

// ---- Class FlatbedCallback (Super WIATransferCallbackZVK): its property and event handlers ----
Destination As FolderItem

Function GetNextStream(ItemName As String, FullItemName As String) As WIAStreamZVK
  // The device asks for a stream for the page it is about to send. The stream goes to the device with a
  // reference of its own: nothing here needs to keep it, and the file is closed when the device is done.
  Var stream As New WIAStreamZVK(WIAStreamZVK.kModeCreate Or WIAStreamZVK.kModeWrite, Destination)
  If stream.Handle = 0 Then
    // The file did not open: answering Nil gives the device no stream, which ends the download.
    System.DebugLog("Cannot create " + Destination.NativePath + ": " + Hex(stream.Lasterror))
    Return Nil
  End If
  Return stream
End Function

Function TransferCallback(w As WIATransferParamsZVK) As Integer
  Select Case w.Message
  Case WIATransferParamsZVK.kMessageStatus
    System.DebugLog("Scanning " + w.PercentComplete.ToString + "% (" + w.TransferredBytes.ToString + " bytes)")
  Case WIATransferParamsZVK.kMessageDeviceStatus
    If w.ErrorStatus < 0 Then System.DebugLog("The device reports " + Hex(w.ErrorStatus))
  End Select
  Return 0 // 0 goes on; 1 (S_FALSE) cancels the scan
End Function

// ---- Window1: method ResultText(code As Integer) As String ----
Function ResultText(code As Integer) As String
  // Lasterror holds the system's 32-bit result code widened with its sign: show the 8 hex digits that
  // Windows documents (&h80210003 is WIA_ERROR_PAPER_EMPTY, &h80070057 E_INVALIDARG ...).
  If code = -1 Then Return "no call was made"
  Var digits As String = Hex(code)
  If digits.Length > 8 Then digits = digits.Right(8)
  Return "&h" + digits
End Function

// ---- Window1: the Pressed event of a DesktopButton (caption "Scan") ----
Sub Pressed()
  // 1. A WIA 2.0 device manager, and the scanner the user picks in the system's dialog.
  Var manager As New WIADeviceManager2ZVK
  If manager.Lasterror <> 0 Then
    MessageBox("WIA 2.0 is not available: " + ResultText(manager.Lasterror))
    Return
  End If
  Var scanner As WIAItemZVK = manager.SelectDeviceDialog(Self, WIADeviceManager2ZVK.kDeviceTypeScanner, 0)
  If scanner = Nil Then
    // 1 (S_FALSE): the user cancelled; &h80210015 (WIA_S_NO_DEVICE_AVAILABLE): no scanner installed.
    MessageBox("No scanner chosen: " + ResultText(manager.Lasterror))
    Return
  End If

  // 2. The flatbed is the scanner's child item in the flatbed category.
  Var flatbeds As WIAItemEnumeratorZVK = scanner.EnumerateChildItems(WIAItemZVK.kCategoryFlatbed)
  Var flatbed As WIAItemZVK
  If flatbeds <> Nil Then flatbed = flatbeds.NextItem
  If flatbed = Nil Then
    MessageBox("This scanner has no flatbed.")
    Return
  End If

  // 3. Settings, each checked: a refused one would leave the scan at the driver's defaults. The intent comes first,
  //    because writing it resets the resolution and depth. Plain numbers do: the plug-in writes them in the
  //    property's own type.
  Var settings As WIAPropertyStorageZVK = flatbed.PropertyStorage
  settings.Write(WIAPropertyStorageZVK.kScannerItemPropertyCurIntent, WIAItemZVK.kIntentImageTypeColor)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kScannerItemPropertyXres, 300)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kScannerItemPropertyYres, 300)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kItemPropertyFormat, WIAPropertyStorageZVK.kImageFormatBMP)
  If settings.Lasterror <> 0 Then
    MessageBox("The flatbed refused a setting: " + ResultText(settings.Lasterror))
    Return
  End If

  // 4. Download. The device calls GetNextStream once (one page) and TransferCallback as it goes, all
  //    inside this call. The file is yours: the plug-in never deletes it.
  Var callback As New FlatbedCallback
  callback.Destination = SpecialFolder.Documents.Child("Scan.bmp")
  Var transfer As WIATransferZVK = flatbed.Transfer
  If transfer = Nil Then
    MessageBox("The flatbed offers no WIA 2.0 transfer: " + ResultText(flatbed.Lasterror))
    Return
  End If
  transfer.Download(callback)
  If transfer.Lasterror = 0 Then
    MessageBox("Scanned to " + callback.Destination.NativePath)
  Else
    MessageBox("The scan failed: " + ResultText(transfer.Lasterror))
  End If
End Sub
