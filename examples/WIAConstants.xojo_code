#tag Module
Protected Module WIAConstants
	#tag Method, Flags = &h1
		Protected Function ErrorText(code As Integer) As String
		  // One line for a Lasterror value: its 8 hex digits, the platform's name for it, what it means and what to do.
		  // Codes it does not list: look them up with the Windows command "certutil -error <code>".
		  Var meaning As String
		  Select Case code
		  Case kNoCall
		    meaning = "no system call was made: the object wraps nothing (Handle 0) or an argument it needs was nil."
		  Case kSuccess
		    meaning = "S_OK: success."
		  Case kFalse
		    meaning = "S_FALSE: the system's ""false"" success: the end of a list, a dialog the user cancelled, or a transfer stopped because a callback answered 1 or GetNextStream gave no stream."
		  Case kEndOfMedia
		    meaning = "WIA_STATUS_END_OF_MEDIA: success: the feeder ran out of paper at the end of the transfer; everything before it arrived."
		  Case kErrorGeneral
		    meaning = "WIA_ERROR_GENERAL_ERROR: the device reported an unknown error. Switch it off and on, check its cable and try again."
		  Case kErrorPaperJam
		    meaning = "WIA_ERROR_PAPER_JAM: paper is jammed in the document feeder. Clear the jam, reload the sheets not yet scanned and scan again."
		  Case kErrorPaperEmpty
		    meaning = "WIA_ERROR_PAPER_EMPTY: the document feeder is empty. Load paper and scan again; after a feeder batch it is the normal end."
		  Case kErrorPaperProblem
		    meaning = "WIA_ERROR_PAPER_PROBLEM: the feeder has a problem with the paper (misfeed, size). Check and reload the paper."
		  Case kErrorOffline
		    meaning = "WIA_ERROR_OFFLINE: the device is offline. Switch it on, connect it and try again."
		  Case kErrorBusy
		    meaning = "WIA_ERROR_BUSY: the device is busy. Close other programs that use it or wait until it is done, then try again."
		  Case kErrorWarmingUp
		    meaning = "WIA_ERROR_WARMING_UP: the device is warming up. Wait a moment and try again."
		  Case kErrorUserIntervention
		    meaning = "WIA_ERROR_USER_INTERVENTION: the device needs the user's attention (see its panel or display). Attend to it and try again."
		  Case kErrorItemDeleted
		    meaning = "WIA_ERROR_ITEM_DELETED: the item or device is gone (deleted or disconnected). List the devices and open it again."
		  Case kErrorDeviceCommunication
		    meaning = "WIA_ERROR_DEVICE_COMMUNICATION: the computer could not talk to the device. Check that it is on and connected; reconnect it and try again."
		  Case kErrorInvalidCommand
		    meaning = "WIA_ERROR_INVALID_COMMAND: the device does not support this command."
		  Case kErrorIncorrectHardwareSetting
		    meaning = "WIA_ERROR_INCORRECT_HARDWARE_SETTING: a setting on the device itself is wrong (a switch or mode). Check the device."
		  Case kErrorDeviceLocked
		    meaning = "WIA_ERROR_DEVICE_LOCKED: the device is locked (the scan head's transport lock, or another program holds it). Unlock it or close the other program, then try again."
		  Case kErrorExceptionInDriver
		    meaning = "WIA_ERROR_EXCEPTION_IN_DRIVER: the device's driver failed. Update or reinstall the driver; send the trace with a problem report."
		  Case kErrorInvalidDriverResponse
		    meaning = "WIA_ERROR_INVALID_DRIVER_RESPONSE: the driver gave an invalid answer. Update or reinstall the driver."
		  Case kErrorCoverOpen
		    meaning = "WIA_ERROR_COVER_OPEN: a cover of the device is open. Close it and try again."
		  Case kErrorLampOff
		    meaning = "WIA_ERROR_LAMP_OFF: the scanner's lamp is off. Switch it on or wait for it, then try again."
		  Case kErrorDestination
		    meaning = "WIA_ERROR_DESTINATION: the device's scan destination is not ready. Check the device's destination setting or storage."
		  Case kErrorNetworkReservationFailed
		    meaning = "WIA_ERROR_NETWORK_RESERVATION_FAILED: the network scanner could not be reserved for this computer (another one may be using it). Try again later."
		  Case kErrorMultiFeed
		    meaning = "WIA_ERROR_MULTI_FEED: the feeder pulled in more than one sheet at once. Reload the sheets and scan again."
		  Case kNoDeviceAvailable
		    meaning = "WIA_S_NO_DEVICE_AVAILABLE: no WIA device of the kind asked for is installed or connected. Connect the device and install its driver. (During a scan with an imprinter or endorser the same code is WIA_ERROR_MAXIMUM_PRINTER_ENDORSER_COUNTER: its counter reached the maximum.)"
		  Case kAborted
		    meaning = "E_ABORT: the operation was aborted: a callback answered a failure code, or the transfer was cancelled."
		  Case kAccessDenied
		    meaning = "E_ACCESSDENIED: access was denied: the file is protected or the device is held by another program. Check the folder's permissions and close other scanning programs."
		  Case kInvalidArgument
		    meaning = "E_INVALIDARG: an argument or a property value is not valid for this device (outside its valid values). Read the property's valid values; write the intent before the resolution."
		  Case kOutOfMemory
		    meaning = "E_OUTOFMEMORY: not enough memory. Scan at a lower resolution or with smaller bands."
		  Case kNotImplemented
		    meaning = "E_NOTIMPL: the device, driver or stream does not implement this (file streams do not Clone or Revert, for example)."
		  Case kInvalidPointer
		    meaning = "E_POINTER: something the call needs was missing (nil). Pass the object the method needs."
		  Case kFailed
		    meaning = "E_FAIL: an unspecified failure. Turn on the trace (WIADeviceManager2ZVK.Debugging = True) to see the step that failed."
		  Case kNoInterface
		    meaning = "E_NOINTERFACE: the object does not offer what was asked: an item without a transfer of this generation (Transfer is WIA 2.0, DataTransfer WIA 1.0)."
		  Case kClassNotRegistered
		    meaning = "REGDB_E_CLASSNOTREG: this Windows does not have the system object: WIA video (WIAVideoZVK) on Windows Vista and later, or WIA itself where the Windows Image Acquisition (WIA) service is not installed."
		  Case kValueOverflow
		    meaning = "DISP_E_OVERFLOW: the number does not fit the property's type, so nothing was written. Write a value within the property's range."
		  Case kFileNotFound
		    meaning = "ERROR_FILE_NOT_FOUND: the file does not exist. Check the name, or open the stream with kModeCreate."
		  Case kPathNotFound
		    meaning = "ERROR_PATH_NOT_FOUND: the folder does not exist. Create it first (FolderItem.CreateFolder)."
		  Case kFileExists
		    meaning = "ERROR_FILE_EXISTS: the file exists and the stream was opened without kModeCreate. Add kModeCreate to replace it, or pick another name."
		  Else
		    If code >= 0 Then
		      meaning = "a success code."
		    Else
		      meaning = "a failure this module does not list: look it up with ""certutil -error " + HexCode(code) + """."
		    End If
		  End Select
		  If code = kNoCall Then Return "-1: " + meaning
		  Return HexCode(code) + " " + meaning
		End Function
	#tag EndMethod

	#tag Method, Flags = &h1
		Protected Function HexCode(code As Integer) As String
		  // Lasterror holds the platform's 32-bit code widened with its sign: these are the 8 hex digits Windows documents.
		  Var digits As String = "00000000" + Hex(code)
		  Return "&h" + digits.Right(8)
		End Function
	#tag EndMethod

	#tag Note, Name = About
		Constants for the values a script meets with the WIAZVK plug-in, and ErrorText for Lasterror.
		
		Result codes are given as Lasterror holds them: the platform's 32-bit code widened with its sign, so
		WIA_ERROR_PAPER_EMPTY, &h80210003, is -2145320957. Compare Lasterror with them directly:
		  If transfer.Lasterror = WIAConstants.kErrorPaperEmpty Then ...
		The WIA codes come from the Windows SDK (wiadef.h, wia_lh.h); the others from winerror.h.
		WIA_S_NO_DEVICE_AVAILABLE and WIA_ERROR_MAXIMUM_PRINTER_ENDORSER_COUNTER share one value, kNoDeviceAvailable.
		
		Property values: kData... for kItemPropertyDatatype, kIntent... for kScannerItemPropertyCurIntent,
		kHandling... for kScannerDevicePropertyDocumentHandlingSelect (on the WIA 2.0 feeder item: kHandlingFrontOnly
		or kHandlingDuplex; kHandlingFeeder and kHandlingFlatbed only on a WIA 1.0 root item), kFeedReady... for
		kScannerDevicePropertyDocumentHandlingStatus, kAllPages for kScannerDevicePropertyPages, kTymed... for
		kItemPropertyTymed. Write them as they are: the plug-in converts a number to the property's own type.
	#tag EndNote


	#tag Constant, Name = kAborted, Type = Double, Dynamic = False, Default = \"-2147467260", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kAccessDenied, Type = Double, Dynamic = False, Default = \"-2147024891", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kAllPages, Type = Double, Dynamic = False, Default = \"0", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kClassNotRegistered, Type = Double, Dynamic = False, Default = \"-2147221164", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kDataColor, Type = Double, Dynamic = False, Default = \"3", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kDataColorDither, Type = Double, Dynamic = False, Default = \"5", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kDataColorThreshold, Type = Double, Dynamic = False, Default = \"4", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kDataDither, Type = Double, Dynamic = False, Default = \"1", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kDataGrayscale, Type = Double, Dynamic = False, Default = \"2", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kDataThreshold, Type = Double, Dynamic = False, Default = \"0", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kDuplexReady, Type = Double, Dynamic = False, Default = \"4", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kEndOfMedia, Type = Double, Dynamic = False, Default = \"2162689", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorBusy, Type = Double, Dynamic = False, Default = \"-2145320954", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorCoverOpen, Type = Double, Dynamic = False, Default = \"-2145320944", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorDestination, Type = Double, Dynamic = False, Default = \"-2145320942", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorDeviceCommunication, Type = Double, Dynamic = False, Default = \"-2145320950", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorDeviceLocked, Type = Double, Dynamic = False, Default = \"-2145320947", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorExceptionInDriver, Type = Double, Dynamic = False, Default = \"-2145320946", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorGeneral, Type = Double, Dynamic = False, Default = \"-2145320959", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorIncorrectHardwareSetting, Type = Double, Dynamic = False, Default = \"-2145320948", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorInvalidCommand, Type = Double, Dynamic = False, Default = \"-2145320949", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorInvalidDriverResponse, Type = Double, Dynamic = False, Default = \"-2145320945", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorItemDeleted, Type = Double, Dynamic = False, Default = \"-2145320951", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorLampOff, Type = Double, Dynamic = False, Default = \"-2145320943", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorMultiFeed, Type = Double, Dynamic = False, Default = \"-2145320940", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorNetworkReservationFailed, Type = Double, Dynamic = False, Default = \"-2145320941", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorOffline, Type = Double, Dynamic = False, Default = \"-2145320955", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorPaperEmpty, Type = Double, Dynamic = False, Default = \"-2145320957", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorPaperJam, Type = Double, Dynamic = False, Default = \"-2145320958", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorPaperProblem, Type = Double, Dynamic = False, Default = \"-2145320956", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorUserIntervention, Type = Double, Dynamic = False, Default = \"-2145320952", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kErrorWarmingUp, Type = Double, Dynamic = False, Default = \"-2145320953", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kFailed, Type = Double, Dynamic = False, Default = \"-2147467259", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kFalse, Type = Double, Dynamic = False, Default = \"1", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kFeedReady, Type = Double, Dynamic = False, Default = \"1", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kFileExists, Type = Double, Dynamic = False, Default = \"-2147024816", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kFileNotFound, Type = Double, Dynamic = False, Default = \"-2147024894", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kFlatCoverUp, Type = Double, Dynamic = False, Default = \"8", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kFlatReady, Type = Double, Dynamic = False, Default = \"2", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kHandlingAutoAdvance, Type = Double, Dynamic = False, Default = \"512", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kHandlingBackFirst, Type = Double, Dynamic = False, Default = \"16", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kHandlingBackOnly, Type = Double, Dynamic = False, Default = \"64", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kHandlingDuplex, Type = Double, Dynamic = False, Default = \"4", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kHandlingFeeder, Type = Double, Dynamic = False, Default = \"1", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kHandlingFlatbed, Type = Double, Dynamic = False, Default = \"2", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kHandlingFrontFirst, Type = Double, Dynamic = False, Default = \"8", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kHandlingFrontOnly, Type = Double, Dynamic = False, Default = \"32", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kHandlingNextPage, Type = Double, Dynamic = False, Default = \"128", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kHandlingPrefeed, Type = Double, Dynamic = False, Default = \"256", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kIntentBestPreview, Type = Double, Dynamic = False, Default = \"262144", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kIntentColor, Type = Double, Dynamic = False, Default = \"1", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kIntentGrayscale, Type = Double, Dynamic = False, Default = \"2", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kIntentMaximizeQuality, Type = Double, Dynamic = False, Default = \"131072", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kIntentMinimizeSize, Type = Double, Dynamic = False, Default = \"65536", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kIntentNone, Type = Double, Dynamic = False, Default = \"0", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kIntentText, Type = Double, Dynamic = False, Default = \"4", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kInvalidArgument, Type = Double, Dynamic = False, Default = \"-2147024809", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kInvalidPointer, Type = Double, Dynamic = False, Default = \"-2147467261", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kNoCall, Type = Double, Dynamic = False, Default = \"-1", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kNoDeviceAvailable, Type = Double, Dynamic = False, Default = \"-2145320939", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kNoInterface, Type = Double, Dynamic = False, Default = \"-2147467262", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kNotImplemented, Type = Double, Dynamic = False, Default = \"-2147467263", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kOutOfMemory, Type = Double, Dynamic = False, Default = \"-2147024882", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kPaperJam, Type = Double, Dynamic = False, Default = \"32", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kPathCoverUp, Type = Double, Dynamic = False, Default = \"16", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kPathNotFound, Type = Double, Dynamic = False, Default = \"-2147024893", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kSuccess, Type = Double, Dynamic = False, Default = \"0", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kTymedCallback, Type = Double, Dynamic = False, Default = \"128", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kTymedFile, Type = Double, Dynamic = False, Default = \"2", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kTymedMultiPageCallback, Type = Double, Dynamic = False, Default = \"512", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kTymedMultiPageFile, Type = Double, Dynamic = False, Default = \"256", Scope = Protected
	#tag EndConstant

	#tag Constant, Name = kValueOverflow, Type = Double, Dynamic = False, Default = \"-2147352566", Scope = Protected
	#tag EndConstant


	#tag ViewBehavior
		#tag ViewProperty
			Name="Name"
			Visible=true
			Group="ID"
			InitialValue=""
			Type="String"
			EditorType=""
		#tag EndViewProperty
		#tag ViewProperty
			Name="Index"
			Visible=true
			Group="ID"
			InitialValue="-2147483648"
			Type="Integer"
			EditorType=""
		#tag EndViewProperty
		#tag ViewProperty
			Name="Super"
			Visible=true
			Group="ID"
			InitialValue=""
			Type="String"
			EditorType=""
		#tag EndViewProperty
		#tag ViewProperty
			Name="Left"
			Visible=true
			Group="Position"
			InitialValue="0"
			Type="Integer"
			EditorType=""
		#tag EndViewProperty
		#tag ViewProperty
			Name="Top"
			Visible=true
			Group="Position"
			InitialValue="0"
			Type="Integer"
			EditorType=""
		#tag EndViewProperty
	#tag EndViewBehavior
End Module
#tag EndModule
