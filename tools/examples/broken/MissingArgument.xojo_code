// CreateDevice without its device id.
// ---- Window1: its controls ----
GoButton As DesktopButton

// ---- Window1: the Pressed event of GoButton ----
Sub Pressed()
  Var manager As New WIADeviceManager2ZVK
  Var root As WIAItemZVK = manager.CreateDevice() // broken: CreateDevice takes one argument
  If root = Nil Then Return
End Sub
