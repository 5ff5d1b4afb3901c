// An instance member used on the class.
// ---- Window1: its controls ----
GoButton As DesktopButton

// ---- Window1: the Pressed event of GoButton ----
Sub Pressed()
  Var root As WIAItemZVK = WIAItemZVK.RootItem // broken: RootItem needs an item
  If root = Nil Then Return
End Sub
