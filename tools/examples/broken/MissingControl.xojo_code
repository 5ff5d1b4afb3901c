// An event of a control the window does not have.
// ---- Window1: its controls ----
GoButton As DesktopButton

// ---- Window1: the Pressed event of StopButton ----
Sub Pressed() // broken: Window1 has no StopButton
  Beep
End Sub
