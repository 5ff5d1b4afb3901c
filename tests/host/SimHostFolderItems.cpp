// Folder items and windows of the simulated host.
#include <map>

#include "tests/host/SimFolderItems.h"

namespace simhost {
namespace {

constexpr const char* kOriginProperty = "Origin";
constexpr const char* kPathProperty = "NativePath";

// Per host; cleared when a host starts.
std::map<std::string, RaiseStyle> gRaising;

SimHost& H() {
    return SimHost::Current();
}

void Describe(REALobject item, const std::string& madeBy, REALstring path, int64_t pathMode) {
    SimHost& host = H();
    REALstring origin = host.Str(madeBy);
    host.SetDynamic(item, kOriginProperty, origin);
    host.UnlockString(origin);
    host.SetDynamic(item, kPathProperty, path);
    host.SetDynamic(item, "PathMode", pathMode);
}

void Construct(const char* declaration, REALobject self, REALstring path, int64_t pathMode) {
    auto raising = gRaising.find(declaration);
    if (raising == gRaising.end()) {
        Describe(self, declaration, path, pathMode);
        return;
    }
    REALobject exception = H().NewBuiltin("IOException");
    if (raising->second == RaiseStyle::Unwind) throw HostRaise{exception};
    // The way the host's own code raises: through its raise entry, which keeps no reference, then return.
    reinterpret_cast<void (*)(REALobject)>(H().entries.at("RuntimeRaiseException"))(exception);
    H().Unlock(exception);
}

void ConstructWithAlias(REALobject self, REALstring path, int64_t pathMode, int8_t /*followAlias*/) {
    Construct(kFolderItemConstructor, self, path, pathMode);
}

void ConstructShort(REALobject self, REALstring path, int64_t pathMode) {
    Construct(kFolderItemShortConstructor, self, path, pathMode);
}

REALobject GetTrueFolderItem(REALstring path, int64_t pathMode) {
    REALobject item = H().NewBuiltin("FolderItem");
    if (item != nullptr) Describe(item, "GetTrueFolderItem", path, pathMode);
    return item;
}

REALstring PathFromFolderItem(REALobject item) {
    if (item == nullptr) return nullptr;
    REALstring path = H().GetDynamicString(item, kPathProperty);
    if (path != nullptr) H().LockString(path);
    return path;
}

template <typename F>
void* Address(F* function) {
    return reinterpret_cast<void*>(function);
}

void Install(SimHost& host) {
    gRaising.clear();
    BuiltinClass folderItem;
    folderItem.methods[kFolderItemConstructor] = [](REALobject) { return Address(ConstructWithAlias); };
    folderItem.methods[kFolderItemShortConstructor] = [](REALobject) { return Address(ConstructShort); };
    host.DefineBuiltin("FolderItem", folderItem);
    host.DefineBuiltin("IOException");
    host.DefineBuiltin("Window");
    host.DefineBuiltin("DesktopWindow");
    host.globalMethods[kGetTrueFolderItem] = Address(GetTrueFolderItem);
    host.entries["REALpathFromFolderItem"] = Address(PathFromFolderItem);
}

Extension gFolderItems(Install);

}  // namespace

FolderItemOrigin OriginOf(SimHost& host, REALobject folderItem) {
    FolderItemOrigin origin{"script", {}, 0};
    if (REALstring madeBy = host.GetDynamicString(folderItem, kOriginProperty)) origin.madeBy = host.Bytes(madeBy);
    if (REALstring path = host.GetDynamicString(folderItem, kPathProperty)) origin.path = host.Bytes(path);
    int64_t value = 0;
    if (host.GetDynamicInt(folderItem, "PathMode", &value)) origin.pathMode = value;
    return origin;
}

REALobject NewFolderItemAt(SimHost& host, const std::string& path, uint32_t encoding) {
    REALobject item = host.NewBuiltin("FolderItem");
    REALstring text = host.Str(path, encoding);
    host.SetDynamic(item, kPathProperty, text);
    host.UnlockString(text);
    return item;
}

void RaiseInFolderItemConstructor(const std::string& declaration, RaiseStyle style) {
    gRaising[declaration] = style;
}

REALobject NewWindow(SimHost& host, int64_t handle, const std::string& className) {
    REALobject window = host.NewBuiltin(className);
    host.SetDynamic(window, "Handle", handle);
    return window;
}

}  // namespace simhost
