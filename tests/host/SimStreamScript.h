// What scripts write for WIA 2.0 transfers, shared by the suites, the demo and the benchmark: reaching an item's
// WIATransferZVK through a WIADeviceManager2ZVK, opening file streams, and a WIATransferCallbackZVK whose handlers
// open one file per image in a folder, record every progress message and answer or cancel where told.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/host/SimHost.h"

namespace simhost {

constexpr const char* kTransferEvent = "TransferCallback(w as WIATransferParamsZVK) as integer";
constexpr const char* kNextStreamEvent = "GetNextStream(ItemName as string, FullItemName as string) as WIAStreamZVK";
constexpr const char* kDownload = "Download(TransferCallback as WIATransferCallbackZVK)";
constexpr const char* kUpload = "Upload(Source as WIAStreamZVK, TransferCallback as WIATransferCallbackZVK)";
constexpr const char* kStreamOnPath = "Constructor(mode as integer, path as string)";
constexpr const char* kSeek = "Seek(value as Int64, Origin as integer) as UInt64";
constexpr const char* kCopyCounted =
    "CopyTo(other as WIAStreamZVK, length as UInt64, byref ReadSize as UInt64, byref WriteSize as UInt64)";
constexpr int64_t kModeCreateWrite = 0x1000 | 1;             // kModeCreate Or kModeWrite
constexpr int64_t kModeCreateReadWrite = 0x1000 | 2 | 0x40;  // kModeCreate Or kModeReadWrite Or kModeShareDenyNone

// The WIATransferZVK of the item with that full name, opened through a WIADeviceManager2ZVK (scanner items set up).
REALobject OpenTransfer(SimHost& host, const std::wstring& fullItemName);
// A new WIAStreamZVK made by its path constructor (one reference), whatever the constructor answered.
REALobject OpenStream(SimHost& host, const std::string& path, int64_t mode);

// One TransferCallback event as the handler read it from its WIATransferParamsZVK.
struct SeenProgress {
    int64_t message, percent;
    uint64_t bytes;
    int64_t status;
    bool operator==(const SeenProgress& other) const {
        return message == other.message && percent == other.percent && bytes == other.bytes && status == other.status;
    }
};
// The progress messages the simulated device sent in its last WIA 2.0 transfer, as a handler should have seen them.
std::vector<SeenProgress> SentProgress();
// How the stream handler answers: a new file "<folder>\<ItemName>-<n>.bmp" per request, nil, or a stream object
// whose constructor failed (Handle 0); or always the given object.
enum class StreamAnswer { File, Nil, FailedOpen, Given };
struct StreamScript {
    std::string folder;
    StreamAnswer answer = StreamAnswer::File;
    REALobject given = nullptr;          // StreamAnswer::Given; the handler hands out a new reference each time
    std::vector<std::string> files;      // paths opened, in order
    std::vector<std::string> fullNames;  // FullItemName of each request
    std::vector<SeenProgress> seen;
    size_t stopAt = SIZE_MAX;  // the progress event (0 first) that answers `stopAnswer`, or calls "Cancel" on `cancel`
    int64_t stopAnswer = 0;
    REALobject cancel = nullptr;  // borrowed
};
// A transfer as a script runs it, with the objects in play: the transfer object and the callback first, then what the
// transfer is given (a record, a stream), each of the class named in `roles`.
struct Journey {
    const char* callbackClass;
    std::vector<const char*> roles;
    std::function<std::vector<REALobject>(SimHost&)> make;
    std::function<void(SimHost&, const std::vector<REALobject>&)> run;
};
// The journeys of both transfer generations: banded and into a file (WIA 1.0), a download into a stream the script
// holds and an upload from one (WIA 2.0), each from the flatbed.
const std::vector<Journey>& Journeys();

// The handlers' script, fresh when a host starts, with a new empty folder under the temp folder (the folder of the
// host before is emptied and removed then, and the last one when the program ends).
StreamScript& Script();
// Forgets what the handlers saw and the answers they were told to give; the folder stays.
void ResetScript();

// A new WIATransferCallbackZVK (one reference) with the progress handler and, when withStreams, the stream handler.
REALobject NewStreamCallback(SimHost& host, bool withStreams = true);
// A download as a script runs it: the item's WIATransferZVK, "Download" with a new callback as above (whose progress
// handler calls "Cancel" on that transfer when cancel is set and the stop event comes). Returns Lasterror.
int64_t DownloadFrom(SimHost& host, const std::wstring& fullItemName, bool withStreams = true, bool cancel = false);

}  // namespace simhost
