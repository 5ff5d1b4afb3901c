#include "tests/host/SimScript.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "tests/host/SimMemoryBlocks.h"

namespace simhost {
namespace {

CollectedPages gCollected;

int64_t Collect(REALobject, int64_t message, int64_t status, int64_t percent, int64_t offset, int64_t length, REALobject block) {
    const uint8_t* bytes = MemoryBlockAddress(SimHost::Current(), block);
    if (message == 1 || message == 5) gCollected.pages.emplace_back();
    if (message == 2 && !gCollected.pages.empty() && bytes != nullptr && offset >= 0 && length >= 0) {
        std::vector<uint8_t>& page = gCollected.pages.back();
        page.resize(std::max(page.size(), static_cast<size_t>(offset + length)));
        std::memcpy(page.data() + offset, bytes, static_cast<size_t>(length));
    }
    gCollected.events.push_back({message, status, percent, offset, length, bytes});
    return gCollected.answer;
}

void Install(SimHost&) {
    gCollected = CollectedPages{};
}

Extension gScript(Install);

}  // namespace

CollectedPages& Collected() {
    return gCollected;
}

REALobject OpenDataTransfer(SimHost& host, const std::wstring& fullItemName) {
    REALobject manager = host.New("WIADeviceManager1ZVK");
    host.Call<void>(manager, "Constructor");
    REALobject root = host.Call<REALobject>(manager, "CreateDevice",
                                            "{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}\\" + Narrow(fullItemName.substr(0, 4)));
    REALobject item = root == nullptr ? nullptr : host.Call<REALobject>(root, "FindItemByName", Narrow(fullItemName));
    REALobject transfer = item == nullptr ? nullptr : host.Call<REALobject>(item, "DataTransfer");
    for (REALobject object : {item, root, manager}) host.Unlock(object);
    return transfer;
}

REALobject OpenDeviceInformation(SimHost& host) {
    REALobject manager = host.New("WIADeviceManager2ZVK");
    host.Call<void>(manager, "Constructor");
    REALobject devices = host.Call<REALobject>(manager, "EnumDeviceInfo", 16);
    REALobject storage = devices == nullptr ? nullptr : host.Call<REALobject>(devices, "NextItem");
    for (REALobject object : {devices, manager}) host.Unlock(object);
    return storage;
}

REALobject NewCollectingCallback(SimHost& host, bool withHandler, const void* handler) {
    REALobject callback = host.New("WIADataCallbackZVK");
    if (withHandler)
        host.SetEventHandler(callback, kBandedDataEvent, handler != nullptr ? handler : reinterpret_cast<const void*>(Collect));
    return callback;
}

int64_t ScanBanded(SimHost& host, REALobject transfer, int64_t bufferSize, bool doubleBuffer, bool withHandler, int64_t size) {
    gCollected.pages.clear();
    gCollected.events.clear();
    REALobject info = host.New("WIADataTransferInfoZVK");
    REALobject callback = NewCollectingCallback(host, withHandler);
    host.SetInt(info, "Size", size);
    host.SetInt(info, "BufferSize", bufferSize);
    host.SetBool(info, "DoubleBuffer", doubleBuffer);
    host.Call<void>(transfer, "GetBandedData(DataTransInfo as WIADataTransferInfoZVK, DataCallback as WIADataCallbackZVK)", info,
                    callback);
    host.Unlock(callback);
    host.Unlock(info);
    return host.GetInt(transfer, "Lasterror");
}

bool FileExists(SimHost& host, REALstring path) {
    return GetFileAttributesA(host.Bytes(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace simhost
