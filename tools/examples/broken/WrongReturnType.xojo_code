// A number returned where GetNextStream answers a stream.
// ---- Class Pages (Super WIATransferCallbackZVK): its event handler ----
Function GetNextStream(ItemName As String, FullItemName As String) As WIAStreamZVK
  Return 42 // broken: the handler answers a WIAStreamZVK
End Function
