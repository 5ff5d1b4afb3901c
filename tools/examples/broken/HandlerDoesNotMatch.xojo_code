// A handler whose parameter is not the event's.
// ---- Class Progress (Super WIATransferCallbackZVK): its event handler ----
Function TransferCallback(w As Integer) As Integer // broken: the event passes a WIATransferParamsZVK
  Return 0
End Function
