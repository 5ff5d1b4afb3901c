// An event called like a method.
// ---- Class Progress (Super WIATransferCallbackZVK): its event handler ----
Function TransferCallback(w As WIATransferParamsZVK) As Integer
  Return 0
End Function

// ---- Window1: its controls ----
GoButton As DesktopButton

// ---- Window1: the Pressed event of GoButton ----
Sub Pressed()
  Var callback As New Progress
  Var answer As Integer = callback.TransferCallback(Nil) // broken: an event is handled, not called
End Sub
