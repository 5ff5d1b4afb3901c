// The class definition records, one per host class, each defined in the class's own file.
#pragma once

#include "plugin/ClassRecords.h"

namespace zvk {

extern ClassDefinition gDataCallbackClass;
extern ClassDefinition gDataTransferClass;
extern ClassDefinition gDataTransferInfoClass;
extern ClassDefinition gDeviceCapabilitiesClass;
extern ClassDefinition gDeviceCapabilitiesEnumeratorClass;
extern ClassDefinition gDeviceInfoEnumeratorClass;
extern ClassDefinition gDeviceManager1Class;
extern ClassDefinition gDeviceManager2Class;
extern ClassDefinition gExtendedTransferInfoClass;
extern ClassDefinition gFormatInfoClass;
extern ClassDefinition gFormatInfoEnumeratorClass;
extern ClassDefinition gGUIDClass;
extern ClassDefinition gItemClass;
extern ClassDefinition gItemEnumeratorClass;
extern ClassDefinition gPropertyClass;
extern ClassDefinition gPropertyEnumeratorClass;
extern ClassDefinition gPropertyStorageClass;
extern ClassDefinition gStreamClass;
extern ClassDefinition gTransferClass;
extern ClassDefinition gTransferCallbackClass;
extern ClassDefinition gTransferParamsClass;
extern ClassDefinition gVideoClass;

}  // namespace zvk
