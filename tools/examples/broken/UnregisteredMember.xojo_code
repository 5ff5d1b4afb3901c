// A member the plug-in does not register.
// ---- Window1: its controls ----
GoButton As DesktopButton

// ---- Window1: the Pressed event of GoButton ----
Sub Pressed()
  Var item As WIAItemZVK
  item.Scan // broken: WIAItemZVK has no Scan
End Sub
