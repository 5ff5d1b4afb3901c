// VideoPreview: shows the live picture of a WIA streaming-video device (a video camera with a WIA video
// driver) in a second window, with a button that saves a still picture and shows it, a Pause/Play button
// and a check box that hides the preview.
// Where each part goes:
//   Part 1: a property of Window1.
//   Part 2: a method ResultText on Window1.
//   Part 3: the Opening event of Window1.
//   Part 4: the Pressed event of a DesktopButton on Window1 (caption "Snapshot"), next to a
//           DesktopImageViewer named ImageViewer1.
//   Part 5: the Pressed event of a DesktopButton on Window1 (caption "Pause").
//   Part 6: the ValueChanged event of a DesktopCheckBox on Window1 (caption "Show preview", checked).
//   Part 7: the Closing event of Window1.
//   Part 8: the Resized event of PreviewWindow, a second DesktopWindow without controls.

// ---- Window1: its property ----
Video As WIAVideoZVK

// ---- Window1: method ResultText(code As Integer) As String ----
Function ResultText(code As Integer) As String
  // Lasterror holds the system's 32-bit result code widened with its sign: show its 8 hex digits.
  If code = -1 Then Return "no call was made"
  Var digits As String = Hex(code)
  If digits.Length > 8 Then digits = digits.Right(8)
  Return "&h" + digits
End Function

// ---- Window1: the Opening event ----
Sub Opening()
  // Find the first streaming-video device. Its type is in the high 16 bits of the device-type property
  // (GET_STIDEVICE_TYPE); the low 16 bits are the subtype.
  Var manager As New WIADeviceManager1ZVK
  Var devices As WIADeviceInfoEnumeratorZVK = manager.EnumDeviceInfo
  If devices = Nil Then Return
  Var deviceID As String
  Var info As WIAPropertyStorageZVK = devices.NextItem
  While info <> Nil And deviceID = ""
    Var deviceType As Integer = info.Read(WIAPropertyStorageZVK.kDevicePropertyDevType)
    If deviceType \ 65536 = WIADeviceManager1ZVK.kDeviceTypeStreamingVideo Then
      deviceID = info.Read(WIAPropertyStorageZVK.kDevicePropertyDevId)
    End If
    info = devices.NextItem
  Wend
  If deviceID = "" Then
    MessageBox("No WIA streaming-video device is installed.")
    Return
  End If

  // The video object plays inside a window of ours and saves snapshots into its images folder.
  Video = New WIAVideoZVK
  If Video.Lasterror <> 0 Then
    MessageBox("The WIA video object is not available: " + ResultText(Video.Lasterror))
    Video = Nil
    Return
  End If
  Var snapshots As FolderItem = SpecialFolder.Pictures.Child("WIA snapshots")
  If Not snapshots.Exists Then snapshots.CreateFolder
  Video.ImagesFolder = snapshots
  PreviewWindow.Show
  Video.CreateVideoByWiaDevID(deviceID, PreviewWindow, True, True) // stretch to the window, start playing
  If Video.Lasterror <> 0 Then MessageBox("The preview did not start: " + ResultText(Video.Lasterror))
End Sub

// ---- Window1: the Pressed event of the DesktopButton "Snapshot" ----
Sub Pressed()
  If Video = Nil Then Return
  // The video object names and writes the file in its images folder; the file is yours.
  Var shot As FolderItem = Video.TakePicture
  If shot = Nil Then
    MessageBox("No picture: " + ResultText(Video.Lasterror))
    Return
  End If
  ImageViewer1.Image = Picture.Open(shot)
End Sub

// ---- Window1: the Pressed event of the DesktopButton "Pause" ----
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

// ---- Window1: the ValueChanged event of the DesktopCheckBox "Show preview" ----
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
