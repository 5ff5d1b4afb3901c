// BandedScanToPicture: scans a page with WIA 1.0 band by band into memory and shows it as a Picture,
// without a file. The device sends a memory bitmap (a BMP file without its 14-byte file header) in
// bands to the BandedDataCallback event; the example copies each band and adds the header at the end.
// Where each part goes:
//   Part 1: add a class named BandCallback with Super WIADataCallbackZVK; give it the properties and paste
//           the event handler into it.
//   Part 2: a method ResultText on Window1.
//   Part 3: a method BitmapToPicture on Window1.
//   Part 4: the Pressed event of a DesktopButton on Window1 (caption "Scan"), next to a DesktopImageViewer
//           named ImageViewer1.

// ---- Class BandCallback (Super WIADataCallbackZVK): its properties and event handler ----
Bitmap As MemoryBlock
Received As Integer

Function BandedDataCallback(message As Integer, Status As Integer, PercentComplete As Integer, Offset As Integer, _
    Length As Integer, Buffer As MemoryBlock) As Integer
  Select Case message
  Case WIADataCallbackZVK.kMessageDataHeader
    // Buffer holds the platform's WIA_DATA_CALLBACK_HEADER: lSize, guidFormatID, lBufferSize, lPageCount.
    Bitmap = New MemoryBlock(Buffer.Int32Value(20)) // 0 when the device does not know yet: it grows below
  Case WIADataCallbackZVK.kMessageData
    // Buffer is a view of the device's own buffer, valid only during this event and without a size of
    // its own: Length says how many bytes are valid. Copy the band out.
    If Bitmap = Nil Then Bitmap = New MemoryBlock(0)
    If Bitmap.Size < Offset + Length Then Bitmap.Size = Offset + Length
    Bitmap.StringValue(Offset, Length) = Buffer.StringValue(0, Length)
    Received = Received + Length
  Case WIADataCallbackZVK.kMessageStatus
    // Status messages carry no buffer (Buffer is Nil).
    System.DebugLog("Scanning " + PercentComplete.ToString + "%")
  End Select
  Return 0 // 0 goes on; 1 (S_FALSE) cancels the scan, a failure code aborts it
End Function

// ---- Window1: method ResultText(code As Integer) As String ----
Function ResultText(code As Integer) As String
  // Lasterror holds the system's 32-bit result code widened with its sign: show its 8 hex digits.
  If code = -1 Then Return "no call was made"
  Var digits As String = Hex(code)
  If digits.Length > 8 Then digits = digits.Right(8)
  Return "&h" + digits
End Function

// ---- Window1: method BitmapToPicture(dib As MemoryBlock) As Picture ----
Function BitmapToPicture(dib As MemoryBlock) As Picture
  // A memory bitmap starts with a BITMAPINFOHEADER; a BMP file puts 14 bytes in front of it that say where
  // the pixels start (after the header, the colour masks and the palette).
  If dib = Nil Or dib.Size < 40 Then Return Nil
  dib.LittleEndian = True
  Var headerSize As Integer = dib.UInt32Value(0)
  Var bitCount As Integer = dib.UInt16Value(14)
  Var colours As Integer = dib.UInt32Value(32)
  If colours = 0 And bitCount <= 8 Then colours = Bitwise.ShiftLeft(1, bitCount)
  Var masks As Integer = 0
  If dib.UInt32Value(16) = 3 And headerSize = 40 Then masks = 12 // BI_BITFIELDS: three colour masks follow
  Var file As New MemoryBlock(14 + dib.Size)
  file.LittleEndian = True
  file.StringValue(0, 2) = "BM"
  file.UInt32Value(2) = file.Size
  file.UInt32Value(10) = 14 + headerSize + masks + 4 * colours
  file.StringValue(14, dib.Size) = dib.StringValue(0, dib.Size)
  Return Picture.FromData(file)
End Function

// ---- Window1: the Pressed event of a DesktopButton (caption "Scan") ----
Sub Pressed()
  Var manager As New WIADeviceManager1ZVK // WIA 1.0
  Var scanner As WIAItemZVK = manager.SelectDeviceDialog(Self, WIADeviceManager1ZVK.kDeviceTypeScanner, 0)
  If scanner = Nil Then
    MessageBox("No scanner chosen: " + ResultText(manager.Lasterror))
    Return
  End If
  // A WIA 1.0 scanner has one child item that scans; the device's Document Handling Select property
  // decides whether it scans the flatbed or the feeder.
  Var children As WIAItemEnumeratorZVK = scanner.EnumerateChildItems
  Var scanItem As WIAItemZVK
  If children <> Nil Then scanItem = children.NextItem
  If scanItem = Nil Then
    MessageBox("The scanner has no item to scan: " + ResultText(scanner.Lasterror))
    Return
  End If

  // Colour at 150 dpi, as a memory bitmap through the callback; each setting checked. The intent comes first,
  // because writing it resets the resolution and depth; the format's valid values follow the medium, so the medium
  // comes before the format. Plain numbers do: the plug-in writes them in the property's own type.
  Var settings As WIAPropertyStorageZVK = scanItem.PropertyStorage
  settings.Write(WIAPropertyStorageZVK.kScannerItemPropertyCurIntent, WIAItemZVK.kIntentImageTypeColor)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kScannerItemPropertyXres, 150)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kScannerItemPropertyYres, 150)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kItemPropertyTymed, WIAPropertyStorageZVK.kTymedCallback)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kItemPropertyFormat, WIAPropertyStorageZVK.kImageFormatMemoryBMP)
  If settings.Lasterror <> 0 Then
    MessageBox("The scanner refused a setting: " + ResultText(settings.Lasterror))
    Return
  End If

  Var transfer As WIADataTransferZVK = scanItem.DataTransfer
  If transfer = Nil Then
    MessageBox("The item offers no WIA 1.0 transfer: " + ResultText(scanItem.Lasterror))
    Return
  End If
  // Band size: the device's own recommendation when it gives one. Size is the platform record's size.
  Var info As New WIADataTransferInfoZVK
  info.Size = 28
  info.BufferSize = 65536
  info.DoubleBuffer = False
  Var buffers As WIAExtendedTransferInfoZVK = transfer.GetExtendedTransferInfo
  If buffers <> Nil And buffers.OptimalBufferSize > 0 Then info.BufferSize = buffers.OptimalBufferSize

  // The events run inside this call. 0 is success, and so is &h210001 (WIA_STATUS_END_OF_MEDIA) after a
  // feeder's last sheet; negative codes are failures.
  Var callback As New BandCallback
  transfer.GetBandedData(info, callback)
  If transfer.Lasterror < 0 Then
    MessageBox("The scan failed: " + ResultText(transfer.Lasterror))
    Return
  End If
  Var scanned As Picture = BitmapToPicture(callback.Bitmap)
  If scanned = Nil Then
    MessageBox("The scanner sent " + callback.Received.ToString + " bytes that are not a bitmap.")
    Return
  End If
  ImageViewer1.Image = scanned
End Sub
