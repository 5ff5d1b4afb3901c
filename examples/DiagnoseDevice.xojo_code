// DiagnoseDevice: turns on the plug-in's trace and walks one device the way a scan would (open it, read its identity,
// list its items and the formats each one transfers), logging every result code. Send the captured output with a
// device problem report.
// How to capture: the trace goes to the Windows debugger output. Build the app, start a debug-output viewer such as
// Sysinternals DebugView (Capture > Capture Win32), run the app and press the button. The plug-in's lines start with
// "ZVK Debug: "; the lines this example writes with System.DebugLog start with "Diagnose:".
// How to use it: in the release folder, open projects/DiagnoseDevice/DiagnoseDevice.xojo_project (made from this file).
// Or add WIAConstants.xojo_code (next to this file) to a desktop project and put each part below where its
// "// ---- <where> ----" line says: controls in the Layout Editor, the window's methods and event handlers.

// ---- Window1: its controls ----
DiagnoseButton As DesktopButton // Caption "Diagnose"

// ---- Window1: method Log(what As String, code As Integer) ----
Sub Log(what As String, code As Integer)
  System.DebugLog("Diagnose: " + what + " -> " + WIAConstants.ErrorText(code))
End Sub

// ---- Window1: the Pressed event of DiagnoseButton ----
Sub Pressed()
  // The switch is shared by every class of the plug-in; it writes "ZVK debug logging enabled." at once.
  WIADeviceManager2ZVK.Debugging = True

  Var manager As New WIADeviceManager2ZVK
  Log("WIA 2.0 device manager", manager.Lasterror)
  Var device As WIAItemZVK = manager.SelectDeviceDialog(Self, WIADeviceManager2ZVK.kDeviceTypeDefault, 0)
  Log("SelectDeviceDialog", manager.Lasterror)
  If device <> Nil Then
    Var identity As WIAPropertyStorageZVK = device.PropertyStorage
    System.DebugLog("Diagnose: device " + identity.Read(WIAPropertyStorageZVK.kDevicePropertyDevName).StringValue)
    System.DebugLog("Diagnose: vendor " + identity.Read(WIAPropertyStorageZVK.kDevicePropertyVendDesc).StringValue)
    System.DebugLog("Diagnose: driver " + identity.Read(WIAPropertyStorageZVK.kDevicePropertyDriverVersion).StringValue)
    System.DebugLog("Diagnose: WIA version " + identity.Read(WIAPropertyStorageZVK.kDevicePropertyWiaVersion).StringValue)
    Log("reading the device's properties", identity.Lasterror)

    Var items As WIAItemEnumeratorZVK = device.EnumerateChildItems
    Log("EnumerateChildItems", device.Lasterror)
    If items <> Nil Then
      Var item As WIAItemZVK = items.NextItem
      While item <> Nil
        Var itemName As String = item.PropertyStorage.Read(WIAPropertyStorageZVK.kItemPropertyFullItemName).StringValue
        System.DebugLog("Diagnose: item " + itemName + ", type &h" + Hex(item.ItemType))
        Var category As WIAGUIDZVK = item.ItemCategory
        Log("ItemCategory", item.Lasterror)
        If category <> Nil Then System.DebugLog("Diagnose:   category " + category.DisplayString)
        Var transfer As WIATransferZVK = item.Transfer
        Log("Transfer", item.Lasterror)
        If transfer <> Nil Then
          Var formats As WIAFormatInfoEnumeratorZVK = transfer.EnumerateFormatInfo
          Log("EnumerateFormatInfo", transfer.Lasterror)
          If formats <> Nil Then
            Var format As WIAFormatInfoZVK = formats.NextItem
            While format <> Nil
              System.DebugLog("Diagnose:   format " + format.FormatID.DisplayString + ", medium " + format.Tymed.ToString)
              format = formats.NextItem
            Wend
          End If
        End If
        item = items.NextItem
      Wend
      Log("end of the item list (S_FALSE is the normal end)", items.Lasterror)
    End If
  End If

  WIADeviceManager2ZVK.Debugging = False
  MessageBox("Done: the trace is in the debug-output viewer.")
End Sub
