// An assignment to a member without a setter.
// ---- Window1: its controls ----
GoButton As DesktopButton

// ---- Window1: the Pressed event of GoButton ----
Sub Pressed()
  Var item As WIAItemZVK
  item.ItemType = 2 // broken: ItemType cannot be assigned
End Sub
