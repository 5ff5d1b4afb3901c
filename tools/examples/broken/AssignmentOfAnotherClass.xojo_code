// An object of another class assigned to a variable.
// ---- Window1: its controls ----
GoButton As DesktopButton

// ---- Window1: the Pressed event of GoButton ----
Sub Pressed()
  Var manager As New WIADeviceManager2ZVK
  Var settings As WIAPropertyStorageZVK
  settings = manager // broken: a WIADeviceManager2ZVK is not a WIAPropertyStorageZVK
End Sub
