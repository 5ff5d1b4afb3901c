// SimVideo.h - the simulated WIA video object (CLSID_WiaVideo, registered in-process by Install()), as tests see it.
//
// It knows one device, the installed streaming-video device kVideoId, by DirectShow device number kVideoDeviceNumber,
// friendly name kVideoFriendlyName and WIA device id, and keeps the platform's states: no video (1), then after a
// create call video created (3) or, with auto-begin, playing (4); Play gives playing, Pause paused (5), DestroyVideo
// no video again. A create call refuses a null name or id (E_INVALIDARG), a parent that is not a real window
// (E_HANDLE), any other device (WIA_S_NO_DEVICE_AVAILABLE) and an object that is already bound (E_UNEXPECTED).
// Play and Pause refuse the states they do not leave from, and ResizeVideo, TakePicture and DestroyVideo an object
// without video, with E_UNEXPECTED. The images directory starts empty (get_ImagesDirectory: S_OK and null);
// put_ImagesDirectory takes any non-null text (null: E_INVALIDARG). TakePicture writes SampleImage() into the images
// directory as "Picture <n>.bmp" (n counts from 1 since ResetAll) and hands out its full path; no directory, or one
// that does not exist, is the Win32 error as an HRESULT. PreviewVisible starts TRUE and keeps whatever BOOL was put. A null
// out-pointer is E_POINTER. Every method honours FailNext ("IWiaVideo::TakePicture") before it touches an argument.
#pragma once

#include "tests/platform/SimPlatform.h"

namespace simwia {

inline constexpr UINT kVideoDeviceNumber = 1;
inline constexpr wchar_t kVideoFriendlyName[] = L"Sim WebCam HD";

// The arguments of the last call of an IWiaVideo method ("IWiaVideo::CreateVideoByName"), recorded before any
// planned failure; a default record when it was not called since ResetAll().
struct VideoCall {
    Text text;              // bstrWiaDeviceID, bstrFriendlyName or bstrImageDirectory as received
    UINT deviceNumber = 0;  // uiDeviceNumber
    HWND window = nullptr;  // hwndParent
    BOOL flag = FALSE;      // bStretchToFitParent (create calls, ResizeVideo) or bPreviewVisible
};
VideoCall LastVideoCall(const char* method);

// Forgets the records above and deletes the pictures written since the last reset (ResetAll calls it).
void ResetVideo();

}  // namespace simwia
