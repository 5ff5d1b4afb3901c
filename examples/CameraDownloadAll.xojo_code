// CameraDownloadAll: downloads every picture of a digital camera with WIA 2.0 into Documents/Camera, walking the
// camera's folders and giving each picture its own file named after the item.
// How to use it: in the release folder, open projects/CameraDownloadAll/CameraDownloadAll.xojo_project (made from this
// file). Or add WIAConstants.xojo_code (next to this file) to a desktop project and put each part below where its
// "// ---- <where> ----" line says: a class with its Super, properties and event handlers (Insert > Event Handler),
// controls in the Layout Editor (name, type, then their properties after "//"), the window's methods and event
// handlers.

// ---- Class PictureCallback (Super WIATransferCallbackZVK): its properties and event handlers ----
Folder As FolderItem
Extension As String
Saved As Integer

Function GetNextStream(ItemName As String, FullItemName As String) As WIAStreamZVK
  // Asked once per picture, with the item's name ("IMG_0042"). The file is yours to keep.
  Var target As FolderItem = Folder.Child(ItemName + "." + Extension)
  Var copyNumber As Integer = 1
  While target.Exists
    copyNumber = copyNumber + 1
    target = Folder.Child(ItemName + " " + copyNumber.ToString + "." + Extension)
  Wend
  Var stream As New WIAStreamZVK(WIAStreamZVK.kModeCreate Or WIAStreamZVK.kModeWrite, target)
  If stream.Handle = 0 Then Return Nil // the file did not open: the device skips this picture
  Saved = Saved + 1
  Return stream
End Function

Function TransferCallback(w As WIATransferParamsZVK) As Integer
  If w.Message = WIATransferParamsZVK.kMessageDeviceStatus And w.ErrorStatus < 0 Then
    System.DebugLog("The camera reports " + WIAConstants.ErrorText(w.ErrorStatus))
  End If
  Return WIAConstants.kSuccess
End Function

// ---- Window1: its controls ----
DownloadButton As DesktopButton // Caption "Download pictures"

// ---- Window1: method DownloadFolder(parent As WIAItemZVK, callback As PictureCallback) ----
Sub DownloadFolder(parent As WIAItemZVK, callback As PictureCallback)
  // Every picture below parent, folder by folder (it calls itself for sub-folders).
  Var children As WIAItemEnumeratorZVK = parent.EnumerateChildItems
  If children = Nil Then Return
  Var child As WIAItemZVK = children.NextItem
  While child <> Nil
    Var kind As Integer = child.ItemType
    If (kind And WIAItemZVK.kTypeFolder) <> 0 Then
      DownloadFolder(child, callback)
    ElseIf (kind And WIAItemZVK.kTypeFile) <> 0 And (kind And WIAItemZVK.kTypeTransfer) <> 0 Then
      // The file name extension the camera uses for this item (JPG, MOV ...), if it says.
      Var extension As Variant = child.PropertyStorage.Read(WIAPropertyStorageZVK.kItemPropertyFilenameExtension)
      callback.Extension = "jpg"
      If Not extension.IsNull Then callback.Extension = extension.StringValue
      Var pictureTransfer As WIATransferZVK = child.Transfer
      If pictureTransfer = Nil Then
        System.DebugLog("No transfer for an item: " + WIAConstants.ErrorText(child.Lasterror))
      Else
        pictureTransfer.Download(callback)
        If pictureTransfer.Lasterror < 0 Then
          System.DebugLog("Download failed: " + WIAConstants.ErrorText(pictureTransfer.Lasterror))
        End If
      End If
    End If
    child = children.NextItem
  Wend
End Sub

// ---- Window1: the Pressed event of DownloadButton ----
Sub Pressed()
  Var manager As New WIADeviceManager2ZVK
  Var camera As WIAItemZVK = manager.SelectDeviceDialog(Self, WIADeviceManager2ZVK.kDeviceTypeDigitalCamera, 0)
  If camera = Nil Then
    MessageBox("No camera chosen: " + WIAConstants.ErrorText(manager.Lasterror))
    Return
  End If
  Var taken As Variant = camera.PropertyStorage.Read(WIAPropertyStorageZVK.kCameraDevicePropertyPicturesTaken)
  If Not taken.IsNull Then System.DebugLog("The camera holds " + taken.StringValue + " pictures")

  Var callback As New PictureCallback
  callback.Folder = SpecialFolder.Documents.Child("Camera")
  If Not callback.Folder.Exists Then callback.Folder.CreateFolder
  DownloadFolder(camera, callback)
  MessageBox(callback.Saved.ToString + " pictures saved in " + callback.Folder.NativePath)
End Sub
