// A class the plug-in does not register.
// ---- Window1: its controls ----
GoButton As DesktopButton

// ---- Window1: the Pressed event of GoButton ----
Sub Pressed()
  Var manager As New WIAScannerZVK // broken: no such class
End Sub
