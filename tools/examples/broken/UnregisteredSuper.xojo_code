// A subclass of a class the plug-in does not register.
// ---- Class Progress (Super WIACallbackZVK): its event handler ---- // broken: the callback classes are WIADataCallbackZVK and WIATransferCallbackZVK
Function TransferCallback(w As WIATransferParamsZVK) As Integer
  Return 0
End Function
