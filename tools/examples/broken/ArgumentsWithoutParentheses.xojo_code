// A plug-in method's argument without parentheses.
// ---- Class Pages (Super WIATransferCallbackZVK): its event handler ----
Function TransferCallback(w As WIATransferParamsZVK) As Integer
  Return 0
End Function

// ---- Window1: its controls ----
GoButton As DesktopButton

// ---- Window1: the Pressed event of GoButton ----
Sub Pressed()
  Var transfer As WIATransferZVK
  Var callback As New Pages
  transfer.Download callback // broken: Download(callback)
End Sub
