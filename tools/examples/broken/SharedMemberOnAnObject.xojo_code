// A shared member used on an object.
// ---- Window1: its controls ----
GoButton As DesktopButton

// ---- Window1: the Pressed event of GoButton ----
Sub Pressed()
  Var manager As New WIADeviceManager2ZVK
  manager.Debugging = True // broken: Debugging is shared: WIADeviceManager2ZVK.Debugging
End Sub
