#include "tests/host/SimScript.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "tests/host/SimHostVariants.h"
#include "tests/host/SimMemoryBlocks.h"

namespace simhost {
namespace {

CollectedPages gCollected;
std::function<void(const std::string&)> gDuringEvent;

int64_t Collect(REALobject, int64_t message, int64_t status, int64_t percent, int64_t offset, int64_t length, REALobject block) {
    if (gDuringEvent) gDuringEvent(kBandedDataEvent);
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
    gDuringEvent = nullptr;
}

Extension gScript(Install);

}  // namespace

CollectedPages& Collected() {
    return gCollected;
}

std::function<void(const std::string&)>& DuringEvent() {
    return gDuringEvent;
}

REALobject NewConstructed(SimHost& host, const char* className) {
    REALobject object = host.New(className);
    host.Call<void>(object, "Constructor");
    return object;
}

REALobject Then(SimHost& host, REALobject from, std::initializer_list<const char*> steps) {
    for (const char* step : steps) {
        if (from == nullptr) return nullptr;
        const std::string name = step;
        REALobject next = name == "EnumerateDeviceCapabilities" ? host.Call<REALobject>(from, step, 3)
                          : name == "EnumerateChildItems"       ? host.Call<REALobject>(from, step, REALobject{})
                          : name == "EnumDeviceInfo"            ? host.Call<REALobject>(from, step, 16)
                                                                : host.Call<REALobject>(from, step);
        host.Unlock(from);
        from = next;
    }
    return from;
}

REALobject OpenItem(SimHost& host, const char* managerClass, const std::wstring& fullItemName,
                    std::initializer_list<const char*> steps) {
    REALobject manager = NewConstructed(host, managerClass);
    REALobject item = host.Call<REALobject>(manager, "CreateDevice",
                                            "{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}\\" + Narrow(fullItemName.substr(0, 4)));
    host.Unlock(manager);
    if (item != nullptr && fullItemName.size() > 9) {  // below "000n\Root"
        REALobject found = host.Call<REALobject>(item, "FindItemByName", Narrow(fullItemName));
        host.Unlock(item);
        item = found;
    }
    return Then(host, item, steps);
}

REALobject SetUpScan(SimHost& host, REALobject item, const std::wstring& fullItemName) {
    if (item == nullptr || fullItemName.rfind(L"0000\\Root\\", 0) != 0) return item;
    // What a script writes, in the order the platform wants: the intent (color) first, since writing it sets the
    // resolution and depth, then the resolution, each an Integer literal and each checked.
    const std::pair<int64_t, int64_t> settings[] = {{6146, 1}, {6147, 150}, {6148, 150}};
    REALobject storage = host.Call<REALobject>(item, "PropertyStorage");
    bool written = storage != nullptr;
    for (const auto& [id, value] : settings) {
        if (!written) break;
        REALobject variant = NewVariant(host, 3, VariantKind::Integer, value);
        host.Call<void>(storage, "Write", id, variant);
        host.Unlock(variant);
        written = host.GetInt(storage, "Lasterror") == 0;
    }
    host.Unlock(storage);
    if (written) return item;
    host.Unlock(item);
    return nullptr;
}

REALobject OpenDataTransfer(SimHost& host, const std::wstring& fullItemName) {
    return Then(host, SetUpScan(host, OpenItem(host, "WIADeviceManager1ZVK", fullItemName), fullItemName), {"DataTransfer"});
}

REALobject OpenDeviceInformation(SimHost& host) {
    return Then(host, NewConstructed(host, "WIADeviceManager2ZVK"), {"EnumDeviceInfo", "NextItem"});
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
    host.SetInt(info, "Section", (int64_t{3} << 32) + 5);  // goes as 5
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
