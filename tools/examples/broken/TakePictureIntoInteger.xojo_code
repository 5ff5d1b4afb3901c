// The result of TakePicture (String or FolderItem) into an Integer.
// ---- Window1: its controls ----
GoButton As DesktopButton

// ---- Window1: the Pressed event of GoButton ----
Sub Pressed()
  Var v As New WIAVideoZVK
  Var s As Integer = v.TakePicture // broken: neither form gives an Integer
  If s = 0 Then Return
End Sub
