// Text and a number added without ToString.
// ---- Window1: its controls ----
GoButton As DesktopButton

// ---- Window1: the Pressed event of GoButton ----
Sub Pressed()
  Var manager As New WIADeviceManager2ZVK
  MessageBox("Code " + manager.Lasterror) // broken: Lasterror is an Integer
End Sub
