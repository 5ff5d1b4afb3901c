// WIAVideoZVK: wraps the WIA video object, IWiaVideo, which plays a streaming-video device inside a window of
// the script and saves still pictures into its images folder. "Constructor" makes the object in-process; a
// create method binds it to one device (by DirectShow number, friendly name or WIA device id) and one parent
// window. The plug-in keeps no state beyond Handle and Lasterror: every state comes from the platform.
// Failed calls only set Lasterror; only a nil or empty images folder raises.
#include <objbase.h>

#include <optional>

#include "support/Errors.h"
#include "support/FolderItem.h"
#include "support/Holders.h"
#include "support/HostString.h"
#include "support/Text.h"
#include "wia/Classes.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

InterfaceData* Begin(REALobject self, const char* label) {
    return BeginMethod<InterfaceData>(gVideoClass, self, label);
}

IWiaVideo* VideoOf(const InterfaceData* data) {
    return data == nullptr ? nullptr : InterfaceOf<IWiaVideo>(data->Handle);
}

// A host Boolean as the platform's BOOL: the byte widened with its sign.
BOOL ToBOOL(int8_t value) {
    return static_cast<BOOL>(value);
}

// Begins a method and, when there is a video object, makes the call that `call` makes on it and stores its
// code in Lasterror. The code, or nothing when no call was made.
template <typename Call>
std::optional<HRESULT> Run(REALobject self, const char* label, const char* callLabel, Call call) {
    InterfaceData* data = Begin(self, label);
    IWiaVideo* video = VideoOf(data);
    if (video == nullptr) return std::nullopt;
    HRESULT hr = call(video);
    StoreResultWithMessage(data->Lasterror, hr, callLabel);
    return hr;
}

bool Succeeded(std::optional<HRESULT> code) {
    return code.has_value() && SUCCEEDED(*code);
}

// "Constructor": the video object, made in-process. A second call replaces (and releases) the first object.
void Constructor(REALobject self) {
    InterfaceData* data = Begin(self, "rbConstructor");
    if (data == nullptr) return;
    com_ptr<IWiaVideo> previous(VideoOf(data));
    data->Handle = 0;
    IWiaVideo* video = nullptr;
    HRESULT hr =
        CoCreateInstance(kCLSID_WiaVideo, nullptr, CLSCTX_INPROC_SERVER, kIID_IWiaVideo, reinterpret_cast<void**>(&video));
    data->Handle = static_cast<int64_t>(reinterpret_cast<uintptr_t>(video));
    StoreResult(data->Lasterror, hr, "CoCreateInstance with CLSID_WiaVideo");
    if (DebugLoggingEnabled) DebugLogPointer("video", video);
}

// The parent window of a create call: an integer handle, or a window object whose "Handle" is read only once
// the call is going to be made (nil gives 0).
struct Parent {
    REALobject window;
    int64_t handle;
    HWND Get() const { return window != nullptr ? WindowHandleOf(window) : WindowFromInteger(handle); }
};

// The parent window of a create call, read and logged with the two flags once the call is going to be made.
HWND ParentWindow(const Parent& parent, int8_t stretch, int8_t autoPlay) {
    HWND window = parent.Get();
    if (DebugLoggingEnabled) {
        DebugLogPointer("window", window);
        DebugLogInt("StretchToFitParent", stretch);
        DebugLogInt("AutoBeginPlayback", autoPlay);
    }
    return window;
}

void ByDevNum(REALobject self, int64_t deviceNumber, Parent parent, int8_t stretch, int8_t autoPlay) {
    Run(self, "rbCreateVideoByDevNum", "CreateVideoByDevNum", [&](IWiaVideo* video) {
        const UINT number = static_cast<UINT>(static_cast<uint64_t>(deviceNumber));
        if (DebugLoggingEnabled) DebugLogUInt("DeviceNumber", number);
        HWND window = ParentWindow(parent, stretch, autoPlay);
        return video->CreateVideoByDevNum(number, window, ToBOOL(stretch), ToBOOL(autoPlay));
    });
}

// CreateVideoByName and CreateVideoByWiaDevID: the text as a system string (an empty one gives null).
struct TextCreate {
    const char* label;
    const char* callLabel;
    const char* argument;
    HRESULT (STDMETHODCALLTYPE IWiaVideo::*create)(BSTR, HWND, BOOL, BOOL);
};
constexpr TextCreate kByName{"rbCreateVideoByName", "CreateVideoByName", "FriendlyName", &IWiaVideo::CreateVideoByName};
constexpr TextCreate kById{"rbCreateVideoByWiaDevID", "CreateVideoByWiaDevID", "WiaDeviceID", &IWiaVideo::CreateVideoByWiaDevID};

void ByText(REALobject self, const TextCreate& kind, REALstring text, Parent parent, int8_t stretch, int8_t autoPlay) {
    Run(self, kind.label, kind.callLabel, [&](IWiaVideo* video) {
        if (DebugLoggingEnabled) DebugLogHostString(kind.argument, text);
        BSTRHolder name(text);
        HWND window = ParentWindow(parent, stretch, autoPlay);
        return (video->*kind.create)(name.AsBSTR(), window, ToBOOL(stretch), ToBOOL(autoPlay));
    });
}

// CreateVideoByDevNum(DeviceNumber as integer, WindowHandle as integer, StretchToFitParent as boolean,
//                     AutoBeginPlayback as boolean): the low 32 bits of DeviceNumber, unsigned.
void CreateVideoByDevNumHandle(REALobject self, int64_t deviceNumber, int64_t window, int8_t stretch, int8_t autoPlay) {
    ByDevNum(self, deviceNumber, {nullptr, window}, stretch, autoPlay);
}

// CreateVideoByDevNum(DeviceNumber as integer, win as window | DesktopWindow, ...)
void CreateVideoByDevNumWindow(REALobject self, int64_t deviceNumber, REALobject window, int8_t stretch, int8_t autoPlay) {
    ByDevNum(self, deviceNumber, {window, 0}, stretch, autoPlay);
}

// CreateVideoByName(FriendlyName as string, WindowHandle as integer, StretchToFitParent as boolean,
//                   AutoBeginPlayback as boolean)
void CreateVideoByNameHandle(REALobject self, REALstring name, int64_t window, int8_t stretch, int8_t autoPlay) {
    ByText(self, kByName, name, {nullptr, window}, stretch, autoPlay);
}

// CreateVideoByName(FriendlyName as string, win as window | DesktopWindow, ...)
void CreateVideoByNameWindow(REALobject self, REALstring name, REALobject window, int8_t stretch, int8_t autoPlay) {
    ByText(self, kByName, name, {window, 0}, stretch, autoPlay);
}

// CreateVideoByWiaDevID(WiaDeviceID as string, WindowHandle as integer, StretchToFitParent as boolean,
//                       AutoBeginPlayback as boolean)
void CreateVideoByWiaDevIDHandle(REALobject self, REALstring id, int64_t window, int8_t stretch, int8_t autoPlay) {
    ByText(self, kById, id, {nullptr, window}, stretch, autoPlay);
}

// CreateVideoByWiaDevID(WiaDeviceID as string, win as window | DesktopWindow, ...)
void CreateVideoByWiaDevIDWindow(REALobject self, REALstring id, REALobject window, int8_t stretch, int8_t autoPlay) {
    ByText(self, kById, id, {window, 0}, stretch, autoPlay);
}

// CurrentState as integer: one of the kState constants; 0 without a video object or after a failure.
int64_t CurrentState(REALobject self) {
    WIAVIDEO_STATE state = static_cast<WIAVIDEO_STATE>(0);
    auto code = Run(self, "rbCurrentState", "GetCurrentState", [&](IWiaVideo* video) { return video->GetCurrentState(&state); });
    if (DebugLoggingEnabled && code.has_value()) DebugLogInt("state", state);
    return Succeeded(code) ? static_cast<int64_t>(static_cast<int32_t>(state)) : 0;
}

// ResizeVideo(StretchToFitParent as boolean)
void ResizeVideo(REALobject self, int8_t stretch) {
    Run(self, "rbResizeVideo", "ResizeVideo", [&](IWiaVideo* video) {
        if (DebugLoggingEnabled) DebugLogInt("StretchToFitParent", stretch);
        return video->ResizeVideo(ToBOOL(stretch));
    });
}

// Pause
void Pause(REALobject self) {
    Run(self, "rbPause", "Pause", [](IWiaVideo* video) { return video->Pause(); });
}

// Play
void Play(REALobject self) {
    Run(self, "rbPlay", "Play", [](IWiaVideo* video) { return video->Play(); });
}

// DestroyVideo
void DestroyVideo(REALobject self) {
    Run(self, "rbDestroyVideo", "DestroyVideo", [](IWiaVideo* video) { return video->DestroyVideo(); });
}

// A call that hands out a path (TakePicture, get_ImagesDirectory): its host string, nil for none or after a
// failure. The path belongs to the caller by COM's rules and is freed here once copied.
using PathCall = HRESULT (STDMETHODCALLTYPE IWiaVideo::*)(BSTR*);

REALstring PathOf(REALobject self, const char* label, const char* callLabel, PathCall get) {
    unique_bstr path;
    auto code = Run(self, label, callLabel, [&](IWiaVideo* video) { return (video->*get)(path.put()); });
    if (DebugLoggingEnabled && path.get() != nullptr) DebugLogWide("path", path.get());
    return Succeeded(code) ? WString2RB(path.get()) : nullptr;
}

// The folder item of a path from the platform (nil for none); the path string is given back.
REALobject FolderItemOf(REALstring path) {
    unique_host_string owned(path);
    return owned.get() == nullptr ? nullptr : rbGetTrueFolderItem(owned.get(), kNativePathMode);
}

// TakePicture as string: the picture file the platform wrote.
REALstring TakePicture(REALobject self) {
    return PathOf(self, "rbTakePicture", "TakePicture", &IWiaVideo::TakePicture);
}

// TakePicture as folderitem
REALobject TakePictureFolderItem(REALobject self) {
    return FolderItemOf(PathOf(self, "rbTakePictureFolderItem", "TakePicture", &IWiaVideo::TakePicture));
}

// PreviewVisible as boolean (read): the low byte of the platform's flag.
int8_t PreviewVisibleGetter(REALobject self) {
    BOOL visible = FALSE;
    auto code = Run(self, "rbGetPreviewVisible", "get_PreviewVisible",
                    [&](IWiaVideo* video) { return video->get_PreviewVisible(&visible); });
    if (DebugLoggingEnabled && code.has_value()) DebugLogInt("visible", visible);
    return Succeeded(code) && (visible & 0xFF) != 0 ? 1 : 0;
}

// PreviewVisible as boolean (assign)
void PreviewVisibleSetter(REALobject self, int8_t visible) {
    Run(self, "rbPutPreviewVisible", "put_PreviewVisible", [&](IWiaVideo* video) {
        if (DebugLoggingEnabled) DebugLogInt("PreviewVisible", visible);
        return video->put_PreviewVisible(ToBOOL(visible));
    });
}

// ImagesDirectory as string (read)
REALstring ImagesDirectoryGetter(REALobject self) {
    return PathOf(self, "rbGetImagesDirectory", "get_ImagesDirectory", &IWiaVideo::get_ImagesDirectory);
}

// ImagesFolder as folderitem (read)
REALobject ImagesFolderGetter(REALobject self) {
    return FolderItemOf(PathOf(self, "rbGetImagesFolder", "get_ImagesDirectory", &IWiaVideo::get_ImagesDirectory));
}

// ImagesDirectory as string (assign): an empty path raises "path is empty".
void ImagesDirectorySetter(REALobject self, REALstring path) {
    InterfaceData* data = Begin(self, "rbPutImagesDirectory");
    if (DebugLoggingEnabled) DebugLogHostString("path", path);
    if (path == nullptr || StringBytes(path).size() <= 0) return RaiseNil("filename", "path is empty");
    IWiaVideo* video = VideoOf(data);
    if (video == nullptr) return;
    BSTRHolder directory(path);
    StoreResultWithMessage(data->Lasterror, video->put_ImagesDirectory(directory.AsBSTR()), "put_ImagesDirectory");
}

// ImagesFolder as folderitem (assign): a nil folder raises "folderitem is nil". When the folder's path cannot
// be copied into a system string, Lasterror says E_OUTOFMEMORY and the platform is not called.
void ImagesFolderSetter(REALobject self, REALobject folder) {
    InterfaceData* data = Begin(self, "rbPutImagesFolder");
    if (DebugLoggingEnabled) DebugLogPointer("folderitem", folder);
    if (folder == nullptr) return RaiseNil("filename", "folderitem is nil");
    IWiaVideo* video = VideoOf(data);
    if (video == nullptr) return;
    FolderItemPath path(folder);
    const wchar_t* text = path.UnixFilePathUTF16();
    if (DebugLoggingEnabled && text != nullptr) DebugLogWide("path", text);
    unique_bstr directory(text != nullptr ? SysAllocString(text) : nullptr);
    if (text != nullptr && directory.get() == nullptr) {
        StoreResult(data->Lasterror, E_OUTOFMEMORY, "SysAllocString");
        return;
    }
    StoreResultWithMessage(data->Lasterror, video->put_ImagesDirectory(directory.get()), "put_ImagesDirectory");
}

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer",    0),
    BoundProperty("Lasterror", "Integer",    1),
};
// clang-format on

// clang-format off
ConstantDefinition kConstants[] = {
    Constant("kStateNoVideo = 1"),
    Constant("kStateCreatingVideo = 2"),
    Constant("kStateVideoCreated = 3"),
    Constant("kStateVideoPlaying = 4"),
    Constant("kStateVideoPaused = 5"),
    Constant("kStateDestroyingVideo = 6"),
};
// clang-format on

// The DesktopWindow overloads stay last: hosts before 2021.03 never see them.
// clang-format off
MethodDefinition kMethods[] = {
    Method(Constructor, "Constructor"),
    Method(CreateVideoByDevNumHandle, "CreateVideoByDevNum(DeviceNumber as integer, WindowHandle as integer, StretchToFitParent as boolean, AutoBeginPlayback as boolean)"),
    Method(CreateVideoByDevNumWindow, "CreateVideoByDevNum(DeviceNumber as integer, win as window, StretchToFitParent as boolean, AutoBeginPlayback as boolean)", kWindowMethodFlags),
    Method(CreateVideoByNameHandle, "CreateVideoByName(FriendlyName as string, WindowHandle as integer, StretchToFitParent as boolean, AutoBeginPlayback as boolean)"),
    Method(CreateVideoByNameWindow, "CreateVideoByName(FriendlyName as string, win as window, StretchToFitParent as boolean, AutoBeginPlayback as boolean)", kWindowMethodFlags),
    Method(CreateVideoByWiaDevIDHandle, "CreateVideoByWiaDevID(WiaDeviceID as string, WindowHandle as integer, StretchToFitParent as boolean, AutoBeginPlayback as boolean)"),
    Method(CreateVideoByWiaDevIDWindow, "CreateVideoByWiaDevID(WiaDeviceID as string, win as window, StretchToFitParent as boolean, AutoBeginPlayback as boolean)", kWindowMethodFlags),
    Method(CurrentState, "CurrentState as integer"),
    Method(ResizeVideo, "ResizeVideo(StretchToFitParent as boolean)"),
    Method(TakePicture, "TakePicture as string"),
    Method(TakePictureFolderItem, "TakePicture as folderitem"),
    Method(Pause, "Pause"),
    Method(Play, "Play"),
    Method(DestroyVideo, "DestroyVideo"),
    MethodWithSetter(PreviewVisibleGetter, PreviewVisibleSetter, "PreviewVisible as boolean"),
    MethodWithSetter(ImagesDirectoryGetter, ImagesDirectorySetter, "ImagesDirectory as string"),
    MethodWithSetter(ImagesFolderGetter, ImagesFolderSetter, "ImagesFolder as folderitem"),
    Method(CreateVideoByDevNumWindow, "CreateVideoByDevNum(DeviceNumber as integer, win as DesktopWindow, StretchToFitParent as boolean, AutoBeginPlayback as boolean)", kWindowMethodFlags),
    Method(CreateVideoByNameWindow, "CreateVideoByName(FriendlyName as string, win as DesktopWindow, StretchToFitParent as boolean, AutoBeginPlayback as boolean)", kWindowMethodFlags),
    Method(CreateVideoByWiaDevIDWindow, "CreateVideoByWiaDevID(WiaDeviceID as string, win as DesktopWindow, StretchToFitParent as boolean, AutoBeginPlayback as boolean)", kWindowMethodFlags),
};
// clang-format on

}  // namespace

ClassDefinition gVideoClass = ClassBuilder("WIAVideoZVK", sizeof(InterfaceData))
                                  .Destructor(VideoDestructor)
                                  .Properties(kProperties)
                                  .Methods(kMethods)
                                  .Constants(kConstants);

}  // namespace zvk
