#include "support/FolderItem.h"

#include <cstring>

#include "plugin/Globals.h"
#include "plugin/HostApi.h"
#include "support/Errors.h"
#include "support/Log.h"
#include "support/Text.h"

namespace zvk {
namespace {

constexpr const char* kGetTrueFolderItem = "GetTrueFolderItem(path As String, pathMode As Integer) As FolderItem";
constexpr const char* kConstructorWithAlias =
    "Constructor(path As String, pathMode As FolderItem.PathModes, followAlias As Boolean)";
constexpr const char* kConstructor = "Constructor(path As String, pathMode As Integer = 0)";

using GetTrueFolderItemFn = REALobject (*)(REALstring path, int64_t pathMode);
using ConstructorWithAliasFn = void (*)(REALobject self, REALstring path, int64_t pathMode, RBBoolean followAlias);
using ConstructorFn = void (*)(REALobject self, REALstring path, int64_t pathMode);

// The one-time lookup of the global method; its outcome holds for the process.
bool gLookedUp = false;
GetTrueFolderItemFn gGetTrueFolderItem = nullptr;

// Handed through the host's exception handler; result stays nil unless a constructor returns.
struct NewFolderItemBlock {
    REALstring path;
    int64_t pathMode;
    bool followAlias;
    REALobject result;
};

// Runs inside "PluginCallFunctionWithExceptionHandler": a raising constructor either leaves this frame without
// returning (no result) or returns after raising (NewFolderItem then drops the result).
void NewFolderItemFunc(void* argument) {
    auto* block = static_cast<NewFolderItemBlock*>(argument);
    if (DebugLoggingEnabled) DebugLogHostString("NewFolderItemFunc", block->path);
    unique_host_object item(host::NewInstance("FolderItem"));
    if (!item.get()) {
        if (DebugLoggingEnabled) DebugLog("failed to create FolderItem.");
        return;
    }
    if (auto construct = reinterpret_cast<ConstructorWithAliasFn>(host::LoadObjectMethod(item.get(), kConstructorWithAlias))) {
        construct(item.get(), block->path, block->pathMode, block->followAlias ? 1 : 0);
        block->result = item.release();
        return;
    }
    if (!block->followAlias) {
        if (auto construct = reinterpret_cast<ConstructorFn>(host::LoadObjectMethod(item.get(), kConstructor))) {
            construct(item.get(), block->path, block->pathMode);
            block->result = item.release();
            return;
        }
    }
    if (DebugLoggingEnabled) DebugLog("FolderItem constructor not found!?");
}

}  // namespace

FolderItemPath::FolderItemPath(REALobject folderItem) : folderItem_(folderItem) {
    host::LockObject(folderItem_);
}

FolderItemPath::~FolderItemPath() {
    path_.reset();
    host::UnlockObject(folderItem_);
}

const wchar_t* FolderItemPath::UnixFilePathUTF16() {
    if (path_.get() != nullptr) return path_.as<wchar_t>();
    if (DebugLoggingEnabled) DebugLog("UnixFilePathUTF16 file...");
    if (folderItem_ == nullptr) return nullptr;
    unique_host_string path(host::PathFromFolderItem(folderItem_));
    if (!path.get()) return nullptr;
    rbText text(path.get());
    const auto units = static_cast<size_t>(text.UTF16Length());
    unique_hglobal buffer(units * sizeof(wchar_t) + 8);
    if (buffer.get() == nullptr) return nullptr;
    std::memcpy(buffer.get(), text.UTF16(), units * sizeof(wchar_t));
    path_.reset(buffer.release());
    return path_.as<wchar_t>();
}

REALobject rbGetTrueFolderItem(REALstring path, int64_t pathMode) {
    if (DebugLoggingEnabled) DebugLogHostString("rbGetTrueFolderItem", path);
    if (HostVersion < 2013.0 && pathMode == kNativePathMode) pathMode = 0;
    if (DebugLoggingEnabled) DebugLogInt64("pathmode", pathMode);
    if (!gLookedUp) {
        gLookedUp = true;
        gGetTrueFolderItem = reinterpret_cast<GetTrueFolderItemFn>(host::LoadGlobalMethod(kGetTrueFolderItem));
        if (gGetTrueFolderItem == nullptr && DebugLoggingEnabled) DebugLog("GetTrueFolderItem missing");
    }
    if (gGetTrueFolderItem != nullptr) return gGetTrueFolderItem(path, pathMode);
    return NewFolderItem(path, pathMode, false);
}

REALobject NewFolderItem(REALstring path, int64_t pathMode, bool followAlias) {
    if (DebugLoggingEnabled) DebugLogHostString("NewFolderItem", path);
    NewFolderItemBlock block{path, pathMode == 0 ? kNativePathMode : pathMode, followAlias, nullptr};
    const bool clean = CallGuarded(NewFolderItemFunc, &block);
    unique_host_object item(block.result);
    // A constructor that raised through the host and then returned made only half an item: nil.
    return clean ? item.release() : nullptr;
}

void ResetFolderItemLookup() {
    gLookedUp = false;
    gGetTrueFolderItem = nullptr;
}

}  // namespace zvk
