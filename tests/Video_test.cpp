// The video preview as a script drives it in a real parent window, and the argument values with a meaning of their own.
#include <functional>

#include "tests/host/Sweep.h"
#include "tests/host/ImportHook.h"
#include "tests/host/PluginTest.h"
#include "tests/host/SimFolderItems.h"
#include "tests/host/SimScript.h"
#include "tests/host/SimStreamScript.h"
#include "tests/platform/SimVideo.h"

namespace simhost {
namespace {

const char* const kMethods[] = {"IWiaVideo::CreateVideoByDevNum", "IWiaVideo::CreateVideoByName",
                                "IWiaVideo::CreateVideoByWiaDevID"};
constexpr int8_t kNo = 0, kYes = 1;
constexpr const char* kByIdOnDesktop =
    "CreateVideoByWiaDevID(WiaDeviceID as string, win as DesktopWindow, "
    "StretchToFitParent as boolean, AutoBeginPlayback as boolean)";

int64_t Parent() {  // a real window (message-only: Wine has no display here), made once for the whole program
    static HWND window = CreateWindowExW(0, L"STATIC", L"preview", 0, 0, 0, 320, 240, HWND_MESSAGE, nullptr, nullptr, nullptr);
    return reinterpret_cast<int64_t>(window);
}

REALobject MakeVideo(SimHost& host) {
    REALobject video = NewConstructed(host, "WIAVideoZVK");
    host.Call<void>(video, "CreateVideoByDevNum", 1, Parent(), kYes, kYes);
    host.CallSetter(video, "ImagesDirectory", Script().folder + "\\");
    return video;
}
const sweep::Registration kVideo("WIAVideoZVK", MakeVideo);

using Video = PluginTest;

// The paths the platform hands out are freed: the fixture's leak check sees each one.
TEST_F(Video, ScriptPreviewsInAWindowSavesPicturesAndFreesThePathsItIsHanded) {
    ObjectRef video(host(), MakeVideo(host())), window(host(), NewWindow(host(), Parent())),
        desktop(host(), NewWindow(host(), Parent(), "DesktopWindow"));
    auto state = [&] { return host().Call<int64_t>(video, "CurrentState"); };
    const std::function<void()> binds[] = {
        [&] { host().Call<void>(video, "CreateVideoByDevNum", 1, Parent(), kYes, kNo); },
        [&] { host().Call<void>(video, "CreateVideoByName", "Sim WebCam HD", window, kYes, kYes); },
        [&] { host().Call<void>(video, kByIdOnDesktop, "{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}\\0002", desktop, kYes, kNo); }};
    for (int selector = 0; selector < 3; ++selector) {  // auto-begin on the second: playing at once
        host().Call<void>(video, "DestroyVideo");
        EXPECT_EQ(state(), 1);
        binds[selector]();
        EXPECT_EQ(state(), selector == 1 ? 4 : 3) << kMethods[selector];
        EXPECT_EQ(simwia::LastVideoCall(kMethods[selector]).window, reinterpret_cast<HWND>(Parent()));
    }
    for (auto [method, expected] : {std::pair<const char*, int>{"Play", 4}, {"Pause", 5}, {"Play", 4}}) {
        host().Call<void>(video, method);
        EXPECT_EQ(state(), expected) << method;
    }
    host().Call<void>(video, "ResizeVideo", int8_t{-1});
    host().CallSetter(video, "PreviewVisible", kNo);
    EXPECT_EQ(simwia::LastVideoCall("IWiaVideo::ResizeVideo").flag, -1) << "a true byte FF widened with its sign";
    EXPECT_FALSE(host().Call<int8_t>(video, "PreviewVisible"));

    // The maker set the images folder as a path; the second picture goes where a folder item then points.
    const std::string folder = Script().folder;
    EXPECT_EQ(host().Bytes(StringRef(host(), host().Call<REALstring>(video, "ImagesDirectory"))), folder + "\\");
    StringRef first(host(), host().Call<REALstring>(video, "TakePicture"));
    host().CallSetter(video, "ImagesFolder", ObjectRef(host(), NewFolderItemAt(host(), folder)));
    ObjectRef second(host(), host().Call<REALobject>(video, "TakePicture"));
    EXPECT_EQ(host().Bytes(first) + "|" + OriginOf(host(), second).path,
              folder + "\\Picture 1.bmp|" + folder + "\\Picture 2.bmp");
    for (const std::string& path : {host().Bytes(first), OriginOf(host(), second).path})
        EXPECT_EQ(ReadFileBytes(path), simwia::SampleImage()) << path;
    EXPECT_EQ(simwia::CallCount("IWiaVideo::get_ImagesDirectory"), 1) << "the directory read once";
}

TEST_F(Video, ArgumentsWithAMeaningOfTheirOwn) {
    ObjectRef made(host(), MakeVideo(host()));
    simwia::ResetCounts();
    {  // a folder whose path finds no memory for its system string is not sent (nil and empty ones raise: the sweep)
        ImportHook noMemory(host().Module(), "oleaut32.dll", "SysAllocString",
                            reinterpret_cast<void*>(+[](const OLECHAR*) -> BSTR { return nullptr; }));
        host().CallSetter(made, "ImagesFolder", ObjectRef(host(), NewFolderItemAt(host(), TempFolder())));
    }
    EXPECT_EQ(host().GetInt(made, "Lasterror"), E_OUTOFMEMORY);
    EXPECT_EQ(simwia::CallCount("IWiaVideo::put_ImagesDirectory"), 0);
    host().Call<void>(made, "DestroyVideo");
    host().Call<void>(made, "CreateVideoByDevNum", 1, REALobject{}, kNo, kNo);
    EXPECT_EQ(simwia::LastVideoCall(kMethods[0]).window, nullptr) << "a nil window is 0";
    host().Call<void>(made, "CreateVideoByDevNum", 0x100000001, Parent(), kNo, kNo);
    EXPECT_EQ(simwia::LastVideoCall(kMethods[0]).deviceNumber, 1u) << "2^32 + 1 asks for device 1";
    host().Call<void>(made, "CreateVideoByName", "", Parent(), kNo, kNo);
    EXPECT_FALSE(simwia::LastVideoCall(kMethods[1]).text.has_value()) << "an empty name is null";
}

}  // namespace
}  // namespace simhost
