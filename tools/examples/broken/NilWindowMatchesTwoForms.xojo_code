// Nil fits both the window and the DesktopWindow form of CreateVideoByDevNum.
// ---- Window1: its controls ----
GoButton As DesktopButton

// ---- Window1: the Pressed event of GoButton ----
Sub Pressed()
  Var v As New WIAVideoZVK
  v.CreateVideoByDevNum(0, Nil, True, True) // broken: Xojo cannot tell the forms apart
End Sub
