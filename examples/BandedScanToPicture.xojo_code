// BandedScanToPicture: scans a page with WIA 1.0 band by band into memory and shows it as a Picture, without a file.
// The device sends a memory bitmap (a BMP file without its 14-byte file header) in bands to the BandedDataCallback
// event; the example copies each band and adds the file header at the end. The size in the data header and the height
// in the bitmap header may be 0 when the device does not know the page length (feeders): the buffer then grows as the
// bands arrive, and the height follows from the bytes received.
// How to use it: in the release folder, open projects/BandedScanToPicture/BandedScanToPicture.xojo_project (made from
// this file). Or add WIAConstants.xojo_code (next to this file) to a desktop project and put each part below where its
// "// ---- <where> ----" line says: a class with its Super, properties and event handler (Insert > Event Handler),
// controls in the Layout Editor (name, type, then their properties after "//"), the window's methods and event
// handlers.

// ---- Class BandCallback (Super WIADataCallbackZVK): its properties and event handler ----
Bitmap As MemoryBlock
Filled As Integer

Function BandedDataCallback(message As Integer, Status As Integer, PercentComplete As Integer, Offset As Integer, _
    Length As Integer, Buffer As MemoryBlock) As Integer
  Select Case message
  Case WIADataCallbackZVK.kMessageDataHeader
    // Buffer holds the platform's WIA_DATA_CALLBACK_HEADER: lSize, guidFormatID, lBufferSize, lPageCount.
    // lBufferSize is 0 when the device does not know the size yet.
    Buffer.LittleEndian = True
    Bitmap = New MemoryBlock(Max(Buffer.Int32Value(20), 0))
    Filled = 0
  Case WIADataCallbackZVK.kMessageData
    // Buffer is a view of the device's own buffer, valid only during this event and without a size of its own:
    // Length says how many bytes are valid. Copy the band out, growing the copy when it is too small.
    If Bitmap = Nil Then Bitmap = New MemoryBlock(0)
    If Bitmap.Size < Offset + Length Then Bitmap.Size = Max(Offset + Length, 2 * Bitmap.Size)
    Bitmap.StringValue(Offset, Length) = Buffer.StringValue(0, Length)
    Filled = Max(Filled, Offset + Length)
  Case WIADataCallbackZVK.kMessageStatus
    // Status messages carry no buffer (Buffer is Nil).
    System.DebugLog("Scanning " + PercentComplete.ToString + "%")
  End Select
  Return WIAConstants.kSuccess // go on; WIAConstants.kFalse (1) cancels the scan, a failure code aborts it
End Function

// ---- Window1: its controls ----
ScanButton As DesktopButton // Caption "Scan"
ImageViewer1 As DesktopImageViewer

// ---- Window1: method BitmapToPicture(dib As MemoryBlock, length As Integer) As Picture ----
Function BitmapToPicture(dib As MemoryBlock, length As Integer) As Picture
  // A memory bitmap starts with a BITMAPINFOHEADER; a BMP file puts 14 bytes in front of it that say where the
  // pixels start (after the header, the colour masks and the palette). Nil when the bytes are not a bitmap.
  Const kHeaderSize = 40 // BITMAPINFOHEADER
  Const kBitFields = 3 // biCompression BI_BITFIELDS: three colour masks follow a 40-byte header
  If dib = Nil Or length < kHeaderSize Then Return Nil
  dib.LittleEndian = True
  Var headerSize As Integer = dib.UInt32Value(0)
  Var width As Integer = dib.Int32Value(4)
  Var bitCount As Integer = dib.UInt16Value(14)
  Var colours As Integer = dib.UInt32Value(32)
  If colours = 0 And bitCount <= 8 Then colours = Bitwise.ShiftLeft(1, bitCount)
  Var masks As Integer = 0
  If dib.UInt32Value(16) = kBitFields And headerSize = kHeaderSize Then masks = 12
  Var pixels As Integer = headerSize + masks + 4 * colours // where the rows start
  If headerSize < kHeaderSize Or width <= 0 Or bitCount = 0 Or length <= pixels Then Return Nil

  // Height 0: the device did not know the page length. The rows that arrived give it; they come from the top of the
  // page, so the height is written negative (a top-down bitmap).
  If dib.Int32Value(8) = 0 Then
    Var stride As Integer = ((width * bitCount + 31) \ 32) * 4 // bytes per row, a multiple of 4
    Var rows As Integer = (length - pixels) \ stride
    If rows = 0 Then Return Nil
    dib.Int32Value(8) = -rows
    dib.UInt32Value(20) = rows * stride // biSizeImage
    length = pixels + rows * stride
  End If

  Var file As New MemoryBlock(14 + length)
  file.LittleEndian = True
  file.StringValue(0, 2) = "BM"
  file.UInt32Value(2) = file.Size
  file.UInt32Value(10) = 14 + pixels
  file.StringValue(14, length) = dib.StringValue(0, length)
  Try
    Return Picture.FromData(file)
  Catch failure As UnsupportedFormatException
    Return Nil // the system could not read it as a picture
  End Try
End Function

// ---- Window1: the Pressed event of ScanButton ----
Sub Pressed()
  Var manager As New WIADeviceManager1ZVK // WIA 1.0
  Var scanner As WIAItemZVK = manager.SelectDeviceDialog(Self, WIADeviceManager1ZVK.kDeviceTypeScanner, 0)
  If scanner = Nil Then
    MessageBox("No scanner chosen: " + WIAConstants.ErrorText(manager.Lasterror))
    Return
  End If
  // A WIA 1.0 scanner has one child item that scans; the root item's Document Handling Select property decides
  // whether it scans the flatbed (kHandlingFlatbed) or the feeder (kHandlingFeeder).
  Var children As WIAItemEnumeratorZVK = scanner.EnumerateChildItems
  Var scanItem As WIAItemZVK
  If children <> Nil Then scanItem = children.NextItem
  If scanItem = Nil Then
    MessageBox("The scanner has no item to scan: " + WIAConstants.ErrorText(scanner.Lasterror))
    Return
  End If

  // Colour at 150 dpi, as a memory bitmap through the callback; each setting checked. The intent comes first,
  // because writing it resets the resolution and depth; the format's valid values follow the medium, so the medium
  // comes before the format. Plain numbers do: the plug-in writes them in the property's own type.
  Var settings As WIAPropertyStorageZVK = scanItem.PropertyStorage
  settings.Write(WIAPropertyStorageZVK.kScannerItemPropertyCurIntent, WIAConstants.kIntentColor)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kScannerItemPropertyXres, 150)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kScannerItemPropertyYres, 150)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kItemPropertyTymed, WIAConstants.kTymedCallback)
  If settings.Lasterror = 0 Then settings.Write(WIAPropertyStorageZVK.kItemPropertyFormat, WIAPropertyStorageZVK.kImageFormatMemoryBMP)
  If settings.Lasterror <> 0 Then
    MessageBox("The scanner refused a setting: " + WIAConstants.ErrorText(settings.Lasterror))
    Return
  End If

  Var transfer As WIADataTransferZVK = scanItem.DataTransfer
  If transfer = Nil Then
    MessageBox("The item offers no WIA 1.0 transfer: " + WIAConstants.ErrorText(scanItem.Lasterror))
    Return
  End If
  // Band size: the device's own recommendation when it gives one. Size is the platform record's size in bytes.
  Var info As New WIADataTransferInfoZVK
  info.Size = 28
  info.BufferSize = 65536
  info.DoubleBuffer = False
  Var buffers As WIAExtendedTransferInfoZVK = transfer.GetExtendedTransferInfo
  If buffers <> Nil And buffers.OptimalBufferSize > 0 Then info.BufferSize = buffers.OptimalBufferSize

  // The event runs inside this call. 0 is success, and so is WIA_STATUS_END_OF_MEDIA after a feeder's last sheet;
  // 1 (S_FALSE) means the event cancelled; negative codes are failures.
  Var callback As New BandCallback
  transfer.GetBandedData(info, callback)
  If transfer.Lasterror < 0 Then
    MessageBox("The scan failed: " + WIAConstants.ErrorText(transfer.Lasterror))
    Return
  End If
  If transfer.Lasterror = WIAConstants.kFalse Then
    MessageBox("The scan was cancelled.")
    Return
  End If
  Var scanned As Picture = BitmapToPicture(callback.Bitmap, callback.Filled)
  If scanned = Nil Then
    MessageBox("The scanner sent " + callback.Filled.ToString + " bytes that are not a bitmap.")
    Return
  End If
  ImageViewer1.Image = scanned
End Sub
