// A Boolean where the flags go.
// ---- Window1: its controls ----
GoButton As DesktopButton

// ---- Window1: the Pressed event of GoButton ----
Sub Pressed()
  Var item As WIAItemZVK
  Var commands As WIADeviceCapabilitiesEnumeratorZVK = item.EnumerateDeviceCapabilities(True) // broken: Flags is an Integer
  If commands = Nil Then Return
End Sub
