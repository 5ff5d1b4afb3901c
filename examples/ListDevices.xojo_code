// ListDevices: lists every WIA device on this computer with all of its properties, then opens each one and lists the
// commands its driver offers and the items at the top of its tree (flatbed, feeder, folders).
// How to use it: in the release folder, open projects/ListDevices/ListDevices.xojo_project (made from this file). Or
// add WIAConstants.xojo_code (next to this file) to a desktop project and put each part below where its
// "// ---- <where> ----" line says: controls in the Layout Editor (name, type, then their properties after "//"),
// methods and event handlers in the code editor.
// Every plug-in object keeps the result code of its last system call in Lasterror: -1 no call was made, 0 success,
// 1 the system's "false" success (at the end of a list), negative a failure; WIAConstants.ErrorText explains it.

// ---- Window1: its controls ----
ListButton As DesktopButton // Caption "List devices"
Output As DesktopTextArea // Multiline True, ReadOnly True

// ---- Window1: method ValueText(value As Variant) As String ----
Function ValueText(value As Variant) As String
  // Property values arrive as variants: numbers, text, or a WIAGUIDZVK for formats and categories.
  If value.IsNull Then Return "(none)"
  If value.Type = Variant.TypeObject Then
    If value.ObjectValue IsA WIAGUIDZVK Then Return WIAGUIDZVK(value.ObjectValue).DisplayString
    Return "(object)"
  End If
  Return value.StringValue
End Function

// ---- Window1: the Pressed event of ListButton ----
Sub Pressed()
  Output.Text = ""
  Var manager As New WIADeviceManager2ZVK // WIA 2.0: Windows Vista and later
  If manager.Handle = 0 Then
    Output.AddText("No WIA 2.0 device manager: " + WIAConstants.ErrorText(manager.Lasterror) + EndOfLine)
    Return
  End If
  Var devices As WIADeviceInfoEnumeratorZVK = manager.EnumDeviceInfo(WIADeviceManager2ZVK.kEnumLocal)
  If devices = Nil Then
    Output.AddText("EnumDeviceInfo failed: " + WIAConstants.ErrorText(manager.Lasterror) + EndOfLine)
    Return
  End If
  Output.AddText(devices.Count.ToString + " devices" + EndOfLine)

  // Each element is the device's information storage: read by id, or walk every property it has.
  Var info As WIAPropertyStorageZVK = devices.NextItem
  While info <> Nil
    Var deviceID As String = info.Read(WIAPropertyStorageZVK.kDevicePropertyDevId)
    Output.AddText(EndOfLine + ValueText(info.Read(WIAPropertyStorageZVK.kDevicePropertyDevName)) + EndOfLine)
    Var properties As WIAPropertyEnumeratorZVK = info.Enumerate
    If properties <> Nil Then
      Var p As WIAPropertyZVK = properties.NextItem
      While p <> Nil
        Output.AddText("  " + p.Name + " (" + p.ID.ToString + "): " + ValueText(info.Read(p)) + EndOfLine)
        p = properties.NextItem
      Wend
    End If

    // Open the device: its root item, the commands its driver runs, and its top-level items.
    Var root As WIAItemZVK = manager.CreateDevice(deviceID)
    If root = Nil Then
      Output.AddText("  cannot open it: " + WIAConstants.ErrorText(manager.Lasterror) + EndOfLine)
    Else
      Var commands As WIADeviceCapabilitiesEnumeratorZVK = root.EnumerateDeviceCapabilities(WIAItemZVK.kDeviceCommands)
      If commands <> Nil Then
        Var command As WIADeviceCapabilitiesZVK = commands.NextItem
        While command <> Nil
          Output.AddText("  command " + command.Name + ": " + command.Description + EndOfLine)
          command = commands.NextItem
        Wend
      End If
      Var children As WIAItemEnumeratorZVK = root.EnumerateChildItems
      If children <> Nil Then
        Var child As WIAItemZVK = children.NextItem
        While child <> Nil
          Var childName As Variant = child.PropertyStorage.Read(WIAPropertyStorageZVK.kItemPropertyItemName)
          Var category As WIAGUIDZVK = child.ItemCategory
          Var categoryText As String = "(no category)"
          If category <> Nil Then categoryText = category.DisplayString
          If category <> Nil And category.Equal(WIAItemZVK.kCategoryFlatbed) Then categoryText = "flatbed"
          If category <> Nil And category.Equal(WIAItemZVK.kCategoryFeeder) Then categoryText = "feeder"
          Output.AddText("  item " + ValueText(childName) + ", " + categoryText + ", type &h" + Hex(child.ItemType) + EndOfLine)
          child = children.NextItem
        Wend
      End If
    End If
    info = devices.NextItem
  Wend
  // After the last device NextItem returns Nil with Lasterror 1 (S_FALSE); a negative code is a failure.
  If devices.Lasterror <> WIAConstants.kFalse Then
    Output.AddText("Listing stopped: " + WIAConstants.ErrorText(devices.Lasterror) + EndOfLine)
  End If
End Sub
