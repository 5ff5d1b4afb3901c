// SimVideo.cpp - the simulated WIA video object (see SimVideo.h). Slots are written from Microsoft's documentation
// of IWiaVideo, independently of the library's declaration.
#include "tests/platform/SimVideo.h"

#include <map>
#include <string>
#include <vector>

#include "tests/platform/SimModel.h"

namespace simwia {
namespace {

constexpr IID kSimIID_IWiaVideo = {0xd52920aa, 0xdb88, 0x41f0, {0x94, 0x6c, 0xe0, 0x0d, 0xc0, 0xa1, 0x9c, 0xfa}};

// WIAVIDEO_STATE
enum State : LONG { kNoVideo = 1, kCreated = 3, kPlaying = 4, kPaused = 5 };

struct Records {
    std::map<std::string, VideoCall> calls;
    std::vector<std::wstring> pictures;
    unsigned taken = 0;
};

Records& Shared() {
    static Records* records = new Records;  // never destroyed: objects released at exit may still look here
    return *records;
}

class VideoObject : public SimObject {
public:
    VideoObject();
    State state = kNoVideo;
    BOOL visible = TRUE;
    std::wstring directory;

private:
    Interface face_{};
};

VideoObject& Of(Interface* self) {
    return *static_cast<VideoObject*>(self->owner);
}

VideoCall& Record(Interface* self, const char* method) {
    VideoCall& call = Shared().calls[MethodName(self, method)];
    call = VideoCall{};
    return call;
}

// A path the video object answers is a BSTR the caller frees ("Memory Management Rules").
BSTR HandOutText(Interface* self, const char* method, const std::wstring& text) {
    return HandOutBstr(SysAllocString(text.c_str()), MethodName(self, method));
}

HRESULT STDMETHODCALLTYPE GetPreviewVisible(Interface* self, BOOL* pbPreviewVisible) {
    HRESULT hr;
    if (Intercept(self, "get_PreviewVisible", &hr)) return hr;
    if (pbPreviewVisible == nullptr) return E_POINTER;
    *pbPreviewVisible = Of(self).visible;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PutPreviewVisible(Interface* self, BOOL bPreviewVisible) {
    Record(self, "put_PreviewVisible").flag = bPreviewVisible;
    HRESULT hr;
    if (Intercept(self, "put_PreviewVisible", &hr)) return hr;
    Of(self).visible = bPreviewVisible;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GetImagesDirectory(Interface* self, BSTR* pbstrImageDirectory) {
    HRESULT hr;
    if (Intercept(self, "get_ImagesDirectory", &hr)) return hr;
    if (pbstrImageDirectory == nullptr) return E_POINTER;
    *pbstrImageDirectory = Of(self).directory.empty() ? nullptr : HandOutText(self, "get_ImagesDirectory", Of(self).directory);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PutImagesDirectory(Interface* self, BSTR bstrImageDirectory) {
    Record(self, "put_ImagesDirectory").text = TextOf(bstrImageDirectory);
    HRESULT hr;
    if (Intercept(self, "put_ImagesDirectory", &hr)) return hr;
    if (bstrImageDirectory == nullptr) return E_INVALIDARG;
    Of(self).directory = bstrImageDirectory;
    return S_OK;
}

// The checks every create call shares, after its own device test (`known`).
HRESULT Create(Interface* self, bool named, bool known, HWND hwndParent, BOOL bAutoBeginPlayback) {
    VideoObject& video = Of(self);
    if (!named) return E_INVALIDARG;
    if (!IsWindow(hwndParent)) return E_HANDLE;
    if (!known || FindInstalled(kVideoId) == nullptr) return WIA_S_NO_DEVICE_AVAILABLE;
    if (video.state != kNoVideo) return E_UNEXPECTED;
    video.state = bAutoBeginPlayback ? kPlaying : kCreated;
    return S_OK;
}

VideoCall& RecordCreate(Interface* self, const char* method, BSTR text, HWND hwndParent, BOOL bStretchToFitParent) {
    VideoCall& call = Record(self, method);
    call.text = TextOf(text);
    call.window = hwndParent;
    call.flag = bStretchToFitParent;
    return call;
}

HRESULT STDMETHODCALLTYPE CreateVideoByWiaDevID(Interface* self, BSTR bstrWiaDeviceID, HWND hwndParent, BOOL bStretchToFitParent,
                                                BOOL bAutoBeginPlayback) {
    RecordCreate(self, "CreateVideoByWiaDevID", bstrWiaDeviceID, hwndParent, bStretchToFitParent);
    HRESULT hr;
    if (Intercept(self, "CreateVideoByWiaDevID", &hr)) return hr;
    const bool named = bstrWiaDeviceID != nullptr;
    return Create(self, named, named && std::wstring(bstrWiaDeviceID) == kVideoId, hwndParent, bAutoBeginPlayback);
}

HRESULT STDMETHODCALLTYPE CreateVideoByDevNum(Interface* self, UINT uiDeviceNumber, HWND hwndParent, BOOL bStretchToFitParent,
                                              BOOL bAutoBeginPlayback) {
    RecordCreate(self, "CreateVideoByDevNum", nullptr, hwndParent, bStretchToFitParent).deviceNumber = uiDeviceNumber;
    HRESULT hr;
    if (Intercept(self, "CreateVideoByDevNum", &hr)) return hr;
    return Create(self, true, uiDeviceNumber == kVideoDeviceNumber, hwndParent, bAutoBeginPlayback);
}

HRESULT STDMETHODCALLTYPE CreateVideoByName(Interface* self, BSTR bstrFriendlyName, HWND hwndParent, BOOL bStretchToFitParent,
                                            BOOL bAutoBeginPlayback) {
    RecordCreate(self, "CreateVideoByName", bstrFriendlyName, hwndParent, bStretchToFitParent);
    HRESULT hr;
    if (Intercept(self, "CreateVideoByName", &hr)) return hr;
    const bool named = bstrFriendlyName != nullptr;
    return Create(self, named, named && std::wstring(bstrFriendlyName) == kVideoFriendlyName, hwndParent, bAutoBeginPlayback);
}

// Moves the state to `to` when it is one of `from`.
HRESULT Move(Interface* self, const char* method, std::initializer_list<State> from, State to) {
    HRESULT hr;
    if (Intercept(self, method, &hr)) return hr;
    VideoObject& video = Of(self);
    for (State state : from) {
        if (video.state == state) {
            video.state = to;
            return S_OK;
        }
    }
    return E_UNEXPECTED;
}

HRESULT STDMETHODCALLTYPE DestroyVideo(Interface* self) {
    return Move(self, "DestroyVideo", {kCreated, kPlaying, kPaused}, kNoVideo);
}

HRESULT STDMETHODCALLTYPE Play(Interface* self) {
    return Move(self, "Play", {kCreated, kPlaying, kPaused}, kPlaying);
}

HRESULT STDMETHODCALLTYPE Pause(Interface* self) {
    return Move(self, "Pause", {kPlaying, kPaused}, kPaused);
}

HRESULT STDMETHODCALLTYPE TakePicture(Interface* self, BSTR* pbstrNewImageFilename) {
    HRESULT hr;
    if (Intercept(self, "TakePicture", &hr)) return hr;
    if (pbstrNewImageFilename == nullptr) return E_POINTER;
    *pbstrNewImageFilename = nullptr;
    VideoObject& video = Of(self);
    if (video.state == kNoVideo) return E_UNEXPECTED;
    if (video.directory.empty()) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    wchar_t name[32];
    swprintf(name, 32, L"Picture %u.bmp", ++Shared().taken);
    std::wstring path = video.directory;
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    path += name;
    hr = WriteSampleImage(path);
    if (FAILED(hr)) return hr;
    Shared().pictures.push_back(path);
    *pbstrNewImageFilename = HandOutText(self, "TakePicture", path);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ResizeVideo(Interface* self, BOOL bStretchToFitParent) {
    Record(self, "ResizeVideo").flag = bStretchToFitParent;
    HRESULT hr;
    if (Intercept(self, "ResizeVideo", &hr)) return hr;
    return Of(self).state == kNoVideo ? E_UNEXPECTED : S_OK;
}

HRESULT STDMETHODCALLTYPE GetCurrentState(Interface* self, LONG* pState) {
    HRESULT hr;
    if (Intercept(self, "GetCurrentState", &hr)) return hr;
    if (pState == nullptr) return E_POINTER;
    *pState = Of(self).state;
    return S_OK;
}

// clang-format off
const Slot* VideoVtable() {
    static const Slot* const vtbl = MakeVtable("IWiaVideo", 16, {
        {3, ToSlot(&GetPreviewVisible)},
        {4, ToSlot(&PutPreviewVisible)},
        {5, ToSlot(&GetImagesDirectory)},
        {6, ToSlot(&PutImagesDirectory)},
        {7, ToSlot(&CreateVideoByWiaDevID)},
        {8, ToSlot(&CreateVideoByDevNum)},
        {9, ToSlot(&CreateVideoByName)},
        {10, ToSlot(&DestroyVideo)},
        {11, ToSlot(&Play)},
        {12, ToSlot(&Pause)},
        {13, ToSlot(&TakePicture)},
        {14, ToSlot(&ResizeVideo)},
        {15, ToSlot(&GetCurrentState)},
    });
    return vtbl;
}
// clang-format on

VideoObject::VideoObject() {
    AddInterface(&face_, "IWiaVideo", kSimIID_IWiaVideo, VideoVtable());
}

}  // namespace

SimObject* NewVideoObject() {
    return new VideoObject;
}

VideoCall LastVideoCall(const char* method) {
    auto found = Shared().calls.find(method);
    return found == Shared().calls.end() ? VideoCall{} : found->second;
}

void ResetVideo() {
    Records& records = Shared();
    for (const std::wstring& picture : records.pictures) DeleteFileW(picture.c_str());
    records = Records{};
}

}  // namespace simwia
