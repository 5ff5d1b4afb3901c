// Folder items and Windows paths. A FolderItem argument becomes a zero-terminated UTF-16 path through
// FolderItemPath; a path from Windows becomes a new FolderItem through rbGetTrueFolderItem. Host thread only.
#pragma once

#include <cstdint>

#include "plugin/HostTypes.h"
#include "support/Holders.h"

namespace zvk {

// The path mode the library passes for every path it receives from Windows.
constexpr int64_t kNativePathMode = 3;

// A local of one method call: holds one lock on the FolderItem and, once asked, its path as UTF-16 in
// a zero-filled block from the Windows global heap. Ending it frees the path and unlocks the item.
class FolderItemPath {
public:
    explicit FolderItemPath(REALobject folderItem);
    ~FolderItemPath();
    FolderItemPath(const FolderItemPath&) = delete;
    FolderItemPath& operator=(const FolderItemPath&) = delete;

    // The zero-terminated path, valid while the holder lives and made at most once; null when the host
    // gives no path or no memory is left.
    const wchar_t* UnixFilePathUTF16();

private:
    REALobject folderItem_;
    unique_hglobal path_;
};

// A new FolderItem for the path (the caller owns it), or nil. Uses the host's global method
// "GetTrueFolderItem" (looked up once per process) and falls back to NewFolderItem. On hosts before
// 2013.0 the native mode 3 is passed as 0.
REALobject rbGetTrueFolderItem(REALstring path, int64_t pathMode);

// A new FolderItem made by its constructor under the host's exception handler (mode 0 is passed as 3),
// or nil. A host exception raised by the constructor is dropped: the caller sees nil.
REALobject NewFolderItem(REALstring path, int64_t pathMode, bool followAlias);

// Forgets the one-time lookup of "GetTrueFolderItem" (a host loaded anew).
void ResetFolderItemLookup();

}  // namespace zvk
