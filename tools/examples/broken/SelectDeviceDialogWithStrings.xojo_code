// Strings where SelectDeviceDialog takes a window and a device type.
// ---- Window1: its controls ----
GoButton As DesktopButton

// ---- Window1: the Pressed event of GoButton ----
Sub Pressed()
  Var manager As New WIADeviceManager2ZVK
  Var scanner As WIAItemZVK = manager.SelectDeviceDialog("x", "y", 0) // broken: no form takes (String, String, Integer)
  If scanner = Nil Then Return
End Sub
