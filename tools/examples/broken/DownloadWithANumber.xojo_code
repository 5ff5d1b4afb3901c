// A number where Download takes a WIATransferCallbackZVK.
// ---- Window1: its controls ----
GoButton As DesktopButton

// ---- Window1: the Pressed event of GoButton ----
Sub Pressed()
  Var transfer As WIATransferZVK
  transfer.Download(42) // broken: no form takes an Integer
End Sub
