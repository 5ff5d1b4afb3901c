#include "tests/host/SimStreamScript.h"

#include <fstream>

#include "tests/host/SimScript.h"
#include "tests/platform/SimPlatform.h"
#include "tests/platform/SimTransfer.h"

namespace simhost {
namespace {

StreamScript gScript;

int64_t OnProgress(REALobject, REALobject w) {
    if (DuringEvent()) DuringEvent()(kTransferEvent);
    SimHost& host = SimHost::Current();
    if (w != nullptr)
        gScript.seen.push_back({host.GetInt(w, "Message"), host.GetInt(w, "PercentComplete"),
                                host.GetUInt64(w, "TransferredBytes"), host.GetInt(w, "ErrorStatus")});
    if (gScript.seen.size() != gScript.stopAt + 1) return 0;
    if (gScript.cancel != nullptr) host.Call<void>(gScript.cancel, "Cancel");
    return gScript.stopAnswer;
}

REALobject OnNextStream(REALobject, REALstring itemName, REALstring fullItemName) {
    if (DuringEvent()) DuringEvent()(kNextStreamEvent);
    SimHost& host = SimHost::Current();
    gScript.fullNames.push_back(host.Bytes(fullItemName));
    switch (gScript.answer) {
        case StreamAnswer::Nil:
            return nullptr;
        case StreamAnswer::Given:
            host.Lock(gScript.given);
            return gScript.given;
        case StreamAnswer::FailedOpen:
            return OpenStream(host, gScript.folder + "\\missing\\x.bmp", kModeCreateWrite);
        default:
            gScript.files.push_back(gScript.folder + "\\" + host.Bytes(itemName) + "-" +
                                    std::to_string(gScript.files.size() + 1) + ".bmp");
            return OpenStream(host, gScript.files.back(), kModeCreateWrite);
    }
}

// Empties and removes the script folder, when there is one.
void RemoveFolder() {
    if (gScript.folder.empty()) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((gScript.folder + "\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        DeleteFileA((gScript.folder + "\\" + found.cFileName).c_str());
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    RemoveDirectoryA(gScript.folder.c_str());
}

// The folder of the host before goes (its files have been read by then), and a new one is made; the last one goes
// when the program ends.
struct LastFolder {
    ~LastFolder() { RemoveFolder(); }
} gLastFolder;

void Install(SimHost&) {
    static int sequence = 0;
    RemoveFolder();
    gScript = StreamScript{};
    gScript.folder = TempFolder() + "\\zvk-streams-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++sequence);
    CreateDirectoryA(gScript.folder.c_str(), nullptr);
}

Extension gExtension(Install);

}  // namespace

StreamScript& Script() {
    return gScript;
}

void ResetScript() {
    std::string folder = gScript.folder;
    gScript = StreamScript{};
    gScript.folder = folder;
}

REALobject OpenTransfer(SimHost& host, const std::wstring& fullItemName) {
    return Then(host, SetUpScan(host, OpenItem(host, "WIADeviceManager2ZVK", fullItemName), fullItemName), {"Transfer"});
}

const std::vector<Journey>& Journeys() {
    static const std::vector<Journey> journeys = {
        {"WIADataCallbackZVK",
         {"WIADataTransferZVK", "WIADataCallbackZVK", "WIADataTransferInfoZVK"},
         [](SimHost& h) {
             return std::vector<REALobject>{OpenDataTransfer(h, simwia::kScannerFlatbed), NewCollectingCallback(h),
                                            h.New("WIADataTransferInfoZVK")};
         },
         [](SimHost& h, const std::vector<REALobject>& o) { h.Call<void>(o[0], "GetBandedData", o[2], o[1]); }},
        {"WIADataCallbackZVK",
         {"WIADataTransferZVK", "WIADataCallbackZVK"},
         [](SimHost& h) {
             return std::vector<REALobject>{OpenDataTransfer(h, simwia::kScannerFlatbed), NewCollectingCallback(h)};
         },
         [](SimHost& h, const std::vector<REALobject>& o) { h.UnlockString(h.Call<REALstring>(o[0], "GetDataPath", o[1])); }},
        {"WIATransferCallbackZVK",
         {"WIATransferZVK", "WIATransferCallbackZVK", "WIAStreamZVK"},
         [](SimHost& h) {
             Script().answer = StreamAnswer::Given;
             Script().given = OpenStream(h, Script().folder + "\\given.bmp", kModeCreateReadWrite);
             return std::vector<REALobject>{OpenTransfer(h, simwia::kScannerFlatbed), NewStreamCallback(h), Script().given};
         },
         [](SimHost& h, const std::vector<REALobject>& o) { h.Call<void>(o[0], kDownload, o[1]); }},
        {"WIATransferCallbackZVK",
         {"WIATransferZVK", "WIATransferCallbackZVK", "WIAStreamZVK"},
         [](SimHost& h) {
             std::ofstream(Script().folder + "\\source.bin", std::ios::binary) << std::string(3 * simwia::kStreamChunk, 'u');
             return std::vector<REALobject>{OpenTransfer(h, simwia::kScannerFlatbed), NewStreamCallback(h),
                                            OpenStream(h, Script().folder + "\\source.bin", 0)};  // kModeRead
         },
         [](SimHost& h, const std::vector<REALobject>& o) { h.Call<void>(o[0], kUpload, o[2], o[1]); }},
    };
    return journeys;
}

REALobject OpenStream(SimHost& host, const std::string& path, int64_t mode) {
    REALobject stream = host.New("WIAStreamZVK");
    REALstring text = host.Str(path);
    host.Call<void>(stream, kStreamOnPath, mode, text);
    host.UnlockString(text);
    return stream;
}

REALobject NewStreamCallback(SimHost& host, bool withStreams) {
    REALobject callback = host.New("WIATransferCallbackZVK");
    host.SetEventHandler(callback, kTransferEvent, reinterpret_cast<const void*>(OnProgress));
    if (withStreams) host.SetEventHandler(callback, kNextStreamEvent, reinterpret_cast<const void*>(OnNextStream));
    return callback;
}

}  // namespace simhost

namespace simhost {

std::vector<SeenProgress> SentProgress() {
    std::vector<SeenProgress> sent;
    for (const simwia::Progress& p : simwia::LastTransfer2().progress) sent.push_back({p.message, p.percent, p.bytes, p.status});
    return sent;
}

int64_t DownloadFrom(SimHost& host, const std::wstring& fullItemName, bool withStreams, bool cancel) {
    REALobject transfer = OpenTransfer(host, fullItemName);
    REALobject callback = NewStreamCallback(host, withStreams);
    gScript.cancel = cancel ? transfer : nullptr;
    host.Call<void>(transfer, kDownload, callback);
    gScript.cancel = nullptr;
    const int64_t lasterror = host.GetInt(transfer, "Lasterror");
    host.Unlock(callback);
    host.Unlock(transfer);
    return lasterror;
}

}  // namespace simhost
