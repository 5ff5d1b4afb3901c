// TakePicture inside an expression: nothing picks its String or its FolderItem form.
// ---- Window1: its controls ----
GoButton As DesktopButton

// ---- Window1: the Pressed event of GoButton ----
Sub Pressed()
  Var v As New WIAVideoZVK
  MessageBox("Saved " + v.TakePicture) // broken: the forms differ only in their result
End Sub
