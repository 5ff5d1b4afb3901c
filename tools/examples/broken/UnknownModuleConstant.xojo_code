// A constant the WIAConstants module does not have.
// ---- Window1: its controls ----
GoButton As DesktopButton

// ---- Window1: the Pressed event of GoButton ----
Sub Pressed()
  Var transfer As WIATransferZVK
  If transfer.Lasterror = WIAConstants.kPaperEmpty Then Beep // broken: the constant is kErrorPaperEmpty
End Sub
