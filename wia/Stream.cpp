// WIAStreamZVK: wraps one IStream on a file, made by SHCreateStreamOnFileW. A script opens a file with one of the two
// constructors, hands the stream to "Upload" or answers it from GetNextStream (the platform then holds a reference of
// its own), and can seek, resize, copy, commit, revert and clone it. Failed calls only set Lasterror; only a nil or
// empty path and a nil folder item raise.
#include <shlwapi.h>

#include "support/Errors.h"
#include "support/FolderItem.h"
#include "support/Holders.h"
#include "support/Text.h"
#include "wia/Classes.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

InterfaceData* Begin(REALobject self, const char* label) {
    return BeginMethod<InterfaceData>(gStreamClass, self, label);
}

IStream* StreamOf(const InterfaceData* data) {
    return data == nullptr ? nullptr : InterfaceOf<IStream>(data->Handle);
}

// Opens the file as the object's stream. A stream the object held before (a constructor called again) is released
// first, so that it cannot stand in the way of the new one on the same file.
void Open(InterfaceData* data, int64_t mode, const wchar_t* path) {
    if (data == nullptr) return;
    if (DebugLoggingEnabled) {
        DebugLogULong("mode", static_cast<uint32_t>(mode));
        if (path != nullptr) DebugLogWide("path", path);
    }
    if (IStream* previous = StreamOf(data)) previous->Release();
    data->Handle = 0;
    IStream* stream = nullptr;
    HRESULT hr = SHCreateStreamOnFileW(path, static_cast<DWORD>(mode), &stream);
    data->Handle = static_cast<int64_t>(reinterpret_cast<uintptr_t>(stream));
    StoreResultWithMessage(data->Lasterror, hr, "SHCreateStreamOnFileW");
}

// Constructor(mode as integer, path as string)
void ConstructorPath(REALobject self, int64_t mode, REALstring path) {
    InterfaceData* data = Begin(self, "rbStreamConstructor");
    if (path == nullptr || StringBytes(path).size() <= 0) return RaiseNil("file", "path is empty");
    rbText text(path);
    Open(data, mode, text.UTF16());
}

// Constructor(mode as integer, file as folderitem): the folder item's native path.
void ConstructorFile(REALobject self, int64_t mode, REALobject file) {
    InterfaceData* data = Begin(self, "rbStreamConstructor");
    if (file == nullptr) return RaiseNil("file", "file is nil");
    FolderItemPath path(file);
    Open(data, mode, path.UnixFilePathUTF16());
}

// SetSize(size as UInt64)
void SetSize(REALobject self, uint64_t size) {
    InterfaceData* data = Begin(self, "rbSetSize");
    IStream* stream = StreamOf(data);
    if (stream == nullptr) return;
    if (DebugLoggingEnabled) DebugLogUInt64("size", size);
    ULARGE_INTEGER value;
    value.QuadPart = size;
    StoreResultWithMessage(data->Lasterror, stream->SetSize(value), "SetSize");
}

// Clone as WIAStreamZVK: a new object owning the clone (its Lasterror 0), nil when the platform or the host makes none.
REALobject Clone(REALobject self) {
    InterfaceData* data = Begin(self, "rbClone");
    IStream* stream = StreamOf(data);
    if (stream == nullptr) return nullptr;
    com_ptr<IStream> clone;
    HRESULT hr = stream->Clone(clone.put());
    StoreResultWithMessage(data->Lasterror, hr, "Clone");
    if (DebugLoggingEnabled) DebugLogPointer("clone", clone.get());
    return hr == S_OK ? NewStreamObject(clone.release()) : nullptr;
}

// Revert
void Revert(REALobject self) {
    InterfaceData* data = Begin(self, "rbRevert");
    if (IStream* stream = StreamOf(data)) StoreResultWithMessage(data->Lasterror, stream->Revert(), "Revert");
}

// Commit(flags as integer): the low 32 bits, one of the kCommit constants.
void Commit(REALobject self, int64_t flags) {
    InterfaceData* data = Begin(self, "rbCommit");
    IStream* stream = StreamOf(data);
    if (stream == nullptr) return;
    if (DebugLoggingEnabled) DebugLogULong("flags", static_cast<uint32_t>(flags));
    StoreResultWithMessage(data->Lasterror, stream->Commit(static_cast<DWORD>(flags)), "Commit");
}

// Seek(value as Int64, Origin as integer) as UInt64: the new position, 0 after a failure.
uint64_t Seek(REALobject self, int64_t value, int64_t origin) {
    InterfaceData* data = Begin(self, "rbSeek");
    IStream* stream = StreamOf(data);
    if (stream == nullptr) return 0;
    if (DebugLoggingEnabled) {
        DebugLogInt64("value", value);
        DebugLogULong("Origin", static_cast<uint32_t>(origin));
    }
    LARGE_INTEGER move;
    move.QuadPart = value;
    ULARGE_INTEGER position;
    position.QuadPart = 0;
    HRESULT hr = stream->Seek(move, static_cast<DWORD>(origin), &position);
    StoreResultWithMessage(data->Lasterror, hr, "Seek");
    if (DebugLoggingEnabled) DebugLogUInt64("position", position.QuadPart);
    return hr == S_OK ? position.QuadPart : 0;
}

// Copies length bytes into other's stream; no call when either object has no stream. The counters, when asked for,
// receive the platform's read and written counts.
void Copy(REALobject self, REALobject other, uint64_t length, ULARGE_INTEGER* read, ULARGE_INTEGER* written) {
    InterfaceData* data = Begin(self, "rbCopyTo");
    IStream* stream = StreamOf(data);
    IStream* destination = StreamHandleOf(other);
    if (stream == nullptr || destination == nullptr) return;
    if (DebugLoggingEnabled) {
        DebugLogPointer("other", destination);
        DebugLogUInt64("length", length);
    }
    ULARGE_INTEGER count;
    count.QuadPart = length;
    StoreResultWithMessage(data->Lasterror, stream->CopyTo(destination, count, read, written), "CopyTo");
    if (DebugLoggingEnabled && read != nullptr) {
        DebugLogUInt64("read", read->QuadPart);
        DebugLogUInt64("written", written->QuadPart);
    }
}

// CopyTo(other as WIAStreamZVK, length as UInt64)
void CopyTo(REALobject self, REALobject other, uint64_t length) {
    Copy(self, other, length, nullptr, nullptr);
}

// CopyTo(other as WIAStreamZVK, length as UInt64, byref ReadSize as UInt64, byref WriteSize as UInt64): both counters
// are 0 before anything else; afterwards WriteSize holds the bytes read and ReadSize the bytes written.
void CopyToCounted(REALobject self, REALobject other, uint64_t length, uint64_t* readSize, uint64_t* writeSize) {
    if (readSize != nullptr) *readSize = 0;
    if (writeSize != nullptr) *writeSize = 0;
    ULARGE_INTEGER read, written;
    read.QuadPart = written.QuadPart = 0;
    Copy(self, other, length, &read, &written);
    if (writeSize != nullptr) *writeSize = read.QuadPart;
    if (readSize != nullptr) *readSize = written.QuadPart;
}

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer",    0),
    BoundProperty("Lasterror", "Integer",    1),
};
// clang-format on

// clang-format off
ConstantDefinition kConstants[] = {
    Constant("kSeekSet = 0"),
    Constant("kSeekCur = 1"),
    Constant("kSeekEnd = 2"),
    Constant("kCommitDefault = 0"),
    Constant("kCommitOverwrite = 1"),
    Constant("kCommitOnlyIfCurrent = 2"),
    Constant("kCommitDangerouslyCommitMerelyToDiskCache = 4"),
    Constant("kCommitConsolidate = 8"),
    Constant("kModeRead = 0"),
    Constant("kModeWrite = 1"),
    Constant("kModeReadWrite = 2"),
    Constant("kModeShareDenyNone = &h40"),
    Constant("kModeShareDenyRead = &h30"),
    Constant("kModeShareDenyWrite = &h20"),
    Constant("kModeShareDenyExclusive = &h10"),
    Constant("kModeCreate = &h1000"),
    Constant("kModeConvert = &h20000"),
    Constant("kModeFailIfThere = 0"),
    Constant("kModeDeleteOnRelease = &h4000000"),
};
// clang-format on

// clang-format off
MethodDefinition kMethods[] = {
    Method(ConstructorPath, "Constructor(mode as integer, path as string)"),
    Method(ConstructorFile, "Constructor(mode as integer, file as folderitem)"),
    Method(SetSize,         "SetSize(size as UInt64)"),
    Method(Clone,           "Clone as WIAStreamZVK"),
    Method(Revert,          "Revert"),
    Method(Commit,          "Commit(flags as integer)"),
    Method(Seek,            "Seek(value as Int64, Origin as integer) as UInt64"),
    Method(CopyTo,          "CopyTo(other as WIAStreamZVK, length as UInt64)"),
    Method(CopyToCounted,   "CopyTo(other as WIAStreamZVK, length as UInt64, byref ReadSize as UInt64, byref WriteSize as UInt64)"),
};
// clang-format on

}  // namespace

ClassDefinition gStreamClass = ClassBuilder("WIAStreamZVK", sizeof(InterfaceData))
                                   .Destructor(StreamDestructor)
                                   .Properties(kProperties)
                                   .Methods(kMethods)
                                   .Constants(kConstants);

}  // namespace zvk
