// VideoPreview: shows the live picture of a WIA streaming-video device (a video camera with a WIA video driver) in a
// second window, with a button that saves a still picture and shows it, a Pause/Play button and a check box that hides
// the preview.
// Where it runs: Microsoft documents that WIA does not support video devices on Windows Server 2003, Windows Vista and
// later, so on every Windows that runs a 64-bit Xojo application the platform's video object is missing. The class
// stays usable, but its Constructor leaves Handle 0 and Lasterror REGDB_E_CLASSNOTREG (&h80040154,
// WIAConstants.kClassNotRegistered), and every other method then makes no call and leaves Lasterror -1. This example
// checks that first and says so in the window; for webcams on those systems use DirectShow or Media Foundation.
// How to use it: in the release folder, open projects/VideoPreview/VideoPreview.xojo_project (made from this file). Or
// add WIAConstants.xojo_code (next to this file) to a desktop project and put each part below where its
// "// ---- <where> ----" line says: controls in the Layout Editor (name, type, then their properties after "//"), the
// window's property and event handlers, and a second DesktopWindow named PreviewWindow without controls.

// ---- Window1: its controls ----
Status As DesktopLabel // Text "Looking for a WIA video device..."
SnapshotButton As DesktopButton // Caption "Snapshot", Enabled False
PauseButton As DesktopButton // Caption "Pause", Enabled False
ShowPreview As DesktopCheckBox // Caption "Show preview", Value True, Enabled False
ImageViewer1 As DesktopImageViewer

// ---- Window1: its property ----
Video As WIAVideoZVK

// ---- Window1: the Opening event ----
Sub Opening()
  // The platform's video object first: it is missing on Windows Vista and later.
  Video = New WIAVideoZVK
  If Video.Handle = 0 Then
    If Video.Lasterror = WIAConstants.kClassNotRegistered Then
      Status.Text = "This Windows has no WIA video (Windows Vista and later): WIAVideoZVK cannot show a preview here."
    Else
      Status.Text = "The WIA video object is not available: " + WIAConstants.ErrorText(Video.Lasterror)
    End If
    Video = Nil
    Return
  End If

  // The first streaming-video device. Its type is in the high 16 bits of the device-type property
  // (GET_STIDEVICE_TYPE); the low 16 bits are the subtype.
  Var manager As New WIADeviceManager1ZVK
  Var devices As WIADeviceInfoEnumeratorZVK = manager.EnumDeviceInfo
  Var deviceID As String
  Var info As WIAPropertyStorageZVK
  If devices <> Nil Then info = devices.NextItem
  While info <> Nil And deviceID = ""
    Var deviceType As Integer = info.Read(WIAPropertyStorageZVK.kDevicePropertyDevType)
    If deviceType \ 65536 = WIADeviceManager1ZVK.kDeviceTypeStreamingVideo Then
      deviceID = info.Read(WIAPropertyStorageZVK.kDevicePropertyDevId)
    End If
    info = devices.NextItem
  Wend
  If deviceID = "" Then
    Status.Text = "No WIA streaming-video device is installed."
    Video = Nil
    Return
  End If

  // The video plays inside a window of ours and saves snapshots into its images folder.
  Var snapshots As FolderItem = SpecialFolder.Pictures.Child("WIA snapshots")
  If Not snapshots.Exists Then snapshots.CreateFolder
  Video.ImagesFolder = snapshots
  PreviewWindow.Show
  Video.CreateVideoByWiaDevID(deviceID, PreviewWindow, True, True) // stretch to the window, start playing
  If Video.Lasterror <> 0 Then
    Status.Text = "The preview did not start: " + WIAConstants.ErrorText(Video.Lasterror)
    Return
  End If
  Status.Text = "Playing."
  SnapshotButton.Enabled = True
  PauseButton.Enabled = True
  ShowPreview.Enabled = True
End Sub

// ---- Window1: the Pressed event of SnapshotButton ----
Sub Pressed()
  If Video = Nil Then Return
  // TakePicture has two forms that differ only in their result, String (the path) and FolderItem. Xojo tells
  // overloads apart by their parameters, and these have none: give the call a variable of the type you want, as
  // here, and never use it inside an expression (MessageBox(Video.TakePicture) names neither form).
  // The video object names and writes the file in its images folder; the file is yours.
  Var shot As FolderItem = Video.TakePicture
  If shot = Nil Then
    Status.Text = "No picture: " + WIAConstants.ErrorText(Video.Lasterror)
    Return
  End If
  ImageViewer1.Image = Picture.Open(shot)
End Sub

// ---- Window1: the Pressed event of PauseButton ----
Sub Pressed()
  If Video = Nil Then Return
  If Video.CurrentState = WIAVideoZVK.kStateVideoPlaying Then
    Video.Pause
    Me.Caption = "Play"
  ElseIf Video.CurrentState = WIAVideoZVK.kStateVideoPaused Then
    Video.Play
    Me.Caption = "Pause"
  End If
End Sub

// ---- Window1: the ValueChanged event of ShowPreview ----
Sub ValueChanged()
  If Video = Nil Then Return
  Video.PreviewVisible = Me.Value // hides or shows the preview; the video goes on
End Sub

// ---- Window1: the Closing event ----
Sub Closing()
  If Video <> Nil Then Video.DestroyVideo
  Video = Nil
  PreviewWindow.Close
End Sub

// ---- PreviewWindow: the Resized event ----
Sub Resized()
  Var preview As WIAVideoZVK = Window1.Video
  If preview <> Nil Then preview.ResizeVideo(True)
End Sub
