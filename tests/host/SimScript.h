// What scripts write, shared by the suites, the demo and the benchmarks: reaching an item's WIA 1.0 data transfer
// through a device manager, and a BandedDataCallback handler that reassembles the pages it is handed.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/host/SimHost.h"

namespace simhost {

constexpr const char* kBandedDataEvent =
    "BandedDataCallback(message as integer, Status as integer, PercentComplete as integer, Offset as integer, "
    "Length as integer, Buffer as memoryblock) as integer";

// A new object of that class, constructed (one reference).
REALobject NewConstructed(SimHost& host, const char* className);
// Each step called on what the one before gave (the first on `from`, whose reference it takes), giving back the last
// step's object (one reference; nil when a step gives nil). The steps that take an argument get what a script
// passes: commands and events (3), every child (nil), every device (&h10).
REALobject Then(SimHost& host, REALobject from, std::initializer_list<const char*> steps);
// The item with that full name ("0000\..." the scanner, "0001\..." the camera), opened through a new device manager
// of that class on the item's device, then the steps as above (one reference); nil when a step fails.
REALobject OpenItem(SimHost& host, const char* managerClass, const std::wstring& fullItemName,
                    std::initializer_list<const char*> steps = {});
// A scanner item (its reference taken) with the settings a script writes before a scan: the intent, then the resolution,
// each an Integer variant through its property storage. Nil when a write fails; other items pass unchanged.
REALobject SetUpScan(SimHost& host, REALobject item, const std::wstring& fullItemName);
// The WIADataTransferZVK of the item with that full name, opened through a WIADeviceManager1ZVK (scanner items set up).
REALobject OpenDataTransfer(SimHost& host, const std::wstring& fullItemName);
// The information storage of the first installed device (the scanner's), through a new WIADeviceManager2ZVK's
// device enumerator (one reference); nil when a step fails.
REALobject OpenDeviceInformation(SimHost& host);

// One event as the collecting handler saw it; buffer is the memoryblock's address (null for nil).
struct BandEvent {
    int64_t message, status, percent, offset, length;
    const uint8_t* buffer;
};
// Everything the collecting handler saw since the host started: a page begins at each data-header and new-page
// event, and each data event's bytes land at their offset. Every event answers `answer`.
struct CollectedPages {
    std::vector<std::vector<uint8_t>> pages;
    std::vector<BandEvent> events;
    int64_t answer = 0;
};
CollectedPages& Collected();
// Called first in every event the scripts' handlers here and in SimStreamScript.h serve, with the event's declaration
// (a test calls members from inside events through it); none when a host starts.
std::function<void(const std::string& event)>& DuringEvent();

// A new WIADataCallbackZVK (one reference) whose BandedDataCallback event the collecting handler serves, or
// `handler` when given; none at all when withHandler is false.
REALobject NewCollectingCallback(SimHost& host, bool withHandler = true, const void* handler = nullptr);

// A banded transfer on a WIADataTransferZVK as a script runs it: a new WIADataTransferInfoZVK with these
// Size, BufferSize and DoubleBuffer, and Section 3 * 2^32 + 5, and a new collecting callback (withHandler as above) whose pages
// and events start empty. Returns Lasterror.
int64_t ScanBanded(SimHost& host, REALobject transfer, int64_t bufferSize, bool doubleBuffer = false, bool withHandler = true,
                   int64_t size = 28);

// The bytes of a file (empty when it cannot be read), and whether a file of that path (a host string) exists.
std::vector<uint8_t> ReadFileBytes(const std::string& path);
bool FileExists(SimHost& host, REALstring path);

}  // namespace simhost
