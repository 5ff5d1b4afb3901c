// ScanFlatbedToFile: scans one page from a scanner's flatbed with WIA 2.0 into a BMP file in Documents.
// The device writes the page into a WIAStreamZVK that your GetNextStream handler opens on the file.
// How to use it: in the release folder, open projects/ScanFlatbedToFile/ScanFlatbedToFile.xojo_project (made from this
// file). Or add WIAConstants.xojo_code (next to this file) to a desktop project and put each part below where its
// "// ---- <where> ----" line says: a class with its Super, properties and event handlers (Insert > Event Handler),
// controls in the Layout Editor (name, type, then their properties after "//"), the window's event handlers.
// Every plug-in object keeps the result code of its last system call in Lasterror: -1 no call was made, 0 success,
// 1 the system's "false" success, negative a failure; WIAConstants.ErrorText says what a code means and what to do.

// ---- Class FlatbedCallback (Super WIATransferCallbackZVK): its property and event handlers ----
Destination As FolderItem

Function GetNextStream(ItemName As String, FullItemName As String) As WIAStreamZVK
  // The device asks for a stream for the page it is about to send. The stream goes to the device with a reference
  // of its own: nothing here needs to keep it, and the file is closed when the device is done.
  Var stream As New WIAStreamZVK(WIAStreamZVK.kModeCreate Or WIAStreamZVK.kModeWrite, Destination)
  If stream.Handle = 0 Then
    // The file did not open: answering Nil gives the device no stream, which ends the download.
    System.DebugLog("Cannot create " + Destination.NativePath + ": " + WIAConstants.ErrorText(stream.Lasterror))
    Return Nil
  End If
  Return stream
End Function

Function TransferCallback(w As WIATransferParamsZVK) As Integer
  Select Case w.Message
  Case WIATransferParamsZVK.kMessageStatus
    System.DebugLog("Scanning " + w.PercentComplete.ToString + "% (" + w.TransferredBytes.ToString + " bytes)")
  Case WIATransferParamsZVK.kMessageDeviceStatus
    If w.ErrorStatus < 0 Then System.DebugLog("The device reports " + WIAConstants.ErrorText(w.ErrorStatus))
  End Select
  Return WIAConstants.kSuccess // go on; WIAConstants.kFalse (1) cancels the scan
End Function

// ---- Window1: its controls ----
ScanButton As DesktopButton // Caption "Scan"

// ---- Window1: the Pressed event of ScanButton ----
Sub Pressed()
  // 1. A WIA 2.0 device manager, and the scanner the user picks in the system's dialog.
  Var manager As New WIADeviceManager2ZVK
  If manager.Handle = 0 Then
    MessageBox("WIA 2.0 is not available: " + WIAConstants.ErrorText(manager.Lasterror))
    Return
  End If
  Var scanner As WIAItemZVK = manager.SelectDeviceDialog(Self, WIADeviceManager2ZVK.kDeviceTypeScanner, 0)
  If scanner = Nil Then
    // WIAConstants.kFalse: the user cancelled; kNoDeviceAvailable: no scanner is installed.
    MessageBox("No scanner chosen: " + WIAConstants.ErrorText(manager.Lasterror))
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

  // 3. Settings on the flatbed item, each checked: a refused one would leave the scan at the driver's defaults. The
  //    intent comes first, because writing it resets the resolution and depth. Plain numbers do: the plug-in writes
  //    them in the property's own type.
  Var settings As WIAPropertyStorageZVK = flatbed.PropertyStorage
  settings.Write(WIAPropertyStorageZVK.kScannerItemPropertyCurIntent, WIAConstants.kIntentColor)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kScannerItemPropertyXres, 300)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kScannerItemPropertyYres, 300)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kItemPropertyFormat, WIAPropertyStorageZVK.kImageFormatBMP)
  If settings.Lasterror <> 0 Then
    MessageBox("The flatbed refused a setting: " + WIAConstants.ErrorText(settings.Lasterror))
    Return
  End If

  // 4. Download. The device calls GetNextStream once (one page) and TransferCallback as it goes, all inside this
  //    call. The file is yours: the plug-in never deletes it.
  Var callback As New FlatbedCallback
  callback.Destination = SpecialFolder.Documents.Child("Scan.bmp")
  Var transfer As WIATransferZVK = flatbed.Transfer
  If transfer = Nil Then
    MessageBox("The flatbed offers no WIA 2.0 transfer: " + WIAConstants.ErrorText(flatbed.Lasterror))
    Return
  End If
  transfer.Download(callback)
  Var code As Integer = transfer.Lasterror
  If code = WIAConstants.kFalse Then
    MessageBox("The scan was cancelled, or the file did not open: nothing was scanned to the end.")
  ElseIf code >= 0 Then
    MessageBox("Scanned to " + callback.Destination.NativePath) // 0, or another success code
  Else
    MessageBox("The scan failed: " + WIAConstants.ErrorText(code))
  End If
End Sub
