// A name nothing declares (a mistyped control).
// ---- Window1: its controls ----
Status As DesktopLabel

// ---- Window1: the Opening event ----
Sub Opening()
  Statu.Text = "Ready" // broken: the label is Status
End Sub
