// An event the control's type does not have.
// ---- Window1: its controls ----
ShowPreview As DesktopCheckBox

// ---- Window1: the Pressed event of ShowPreview ----
Sub Pressed() // broken: a DesktopCheckBox has ValueChanged, not Pressed
  Beep
End Sub
