// The video preview as a script drives it in a real parent window, and the argument values with a meaning of their own.
#include <algorithm>
#include <functional>

#include "tests/Sweep.h"
#include "tests/host/ImportHook.h"
#include "tests/host/PluginTest.h"
#include "tests/host/SimFolderItems.h"
#include "tests/host/SimScript.h"
#include "tests/platform/SimVideo.h"

namespace simhost {
namespace {

constexpr const char* kFolder = "ImagesFolder as folderitem";
const char* const kMethods[] = {"IWiaVideo::CreateVideoByDevNum", "IWiaVideo::CreateVideoByName",
                                "IWiaVideo::CreateVideoByWiaDevID"};

std::string Create(int selector, int form) {
    const char* selectors[] = {"DevNum(DeviceNumber as integer", "Name(FriendlyName as string", "WiaDevID(WiaDeviceID as string"};
    const char* windows[] = {"WindowHandle as integer", "win as window", "win as DesktopWindow"};
    return std::string("CreateVideoBy") + selectors[selector] + ", " + windows[form] +
           ", StretchToFitParent as boolean, AutoBeginPlayback as boolean)";
}
int64_t Parent() {  // a real window (message-only: Wine has no display here), made once for the whole program
    static HWND window = CreateWindowExW(0, L"STATIC", L"preview", 0, 0, 0, 320, 240, HWND_MESSAGE, nullptr, nullptr, nullptr);
    return reinterpret_cast<int64_t>(window);
}
std::string Temp() {
    char folder[MAX_PATH];
    return std::string(folder, GetTempPathA(MAX_PATH, folder));
}

REALobject MakeVideo(SimHost& host) {
    REALobject video = host.New("WIAVideoZVK");
    host.Call<void>(video, "Constructor");
    host.Call<void>(video, Create(0, 0), 1, Parent(), int8_t{1}, int8_t{1});
    host.CallSetter(video, "ImagesDirectory as string", Temp());
    return video;
}
const sweep::Registration kVideo("WIAVideoZVK", MakeVideo);

void* gFree = nullptr;
std::vector<BSTR> gFreed;

using Video = PluginTest;

TEST_F(Video, ScriptPreviewsInAWindowSavesPicturesAndFreesThePathsItIsHanded) {
    ImportHook hook(host().Module(), "oleaut32.dll", "SysFreeString", reinterpret_cast<void*>(+[](BSTR text) {
                        gFreed.push_back(text);
                        reinterpret_cast<decltype(&SysFreeString)>(gFree)(text);
                    }));
    gFree = hook.original();
    ObjectRef video(host(), MakeVideo(host())), window(host(), NewWindow(host(), Parent())),
        desktop(host(), NewWindow(host(), Parent(), "DesktopWindow"));
    StringRef name(host(), host().Str("Sim WebCam HD")), id(host(), host().Str("{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}\\0002"));
    auto state = [&] { return host().Call<int64_t>(video, "CurrentState"); };
    const std::function<void()> binds[] = {
        [&] { host().Call<void>(video, Create(0, 0), 1, Parent(), int8_t{1}, int8_t{0}); },
        [&] { host().Call<void>(video, Create(1, 1), name, window.get(), int8_t{1}, int8_t{1}); },
        [&] { host().Call<void>(video, Create(2, 2), id.get(), desktop.get(), int8_t{1}, int8_t{0}); }};
    for (int selector = 0; selector < 3; ++selector) {  // auto-begin on the second: playing at once
        host().Call<void>(video, "DestroyVideo");
        EXPECT_EQ(state(), 1);
        binds[selector]();
        EXPECT_EQ(host().GetInt(video, "Lasterror"), 0) << kMethods[selector];
        EXPECT_EQ(state(), selector == 1 ? 4 : 3) << kMethods[selector];
        EXPECT_EQ(simwia::LastVideoCall(kMethods[selector]).window, reinterpret_cast<HWND>(Parent()));
    }
    for (auto [method, expected] : {std::pair<const char*, int>{"Play", 4}, {"Pause", 5}, {"Play", 4}}) {
        host().Call<void>(video, method);
        EXPECT_EQ(state(), expected) << method;
    }
    host().Call<void>(video, "ResizeVideo", int8_t{1});
    host().CallSetter(video, "PreviewVisible as boolean", int8_t{0});
    EXPECT_EQ(simwia::LastVideoCall("IWiaVideo::ResizeVideo").flag, 1);
    EXPECT_FALSE(host().Call<int8_t>(video, "PreviewVisible"));

    // The maker set the images folder as a path; it is read back as a folder item, then set as one and read back.
    const std::string folder = Temp().substr(0, Temp().size() - 1);
    EXPECT_EQ(host().Bytes(StringRef(host(), host().Call<REALstring>(video, "ImagesDirectory"))), Temp());
    StringRef first(host(), host().Call<REALstring>(video, "TakePicture"));
    host().CallSetter(video, kFolder, ObjectRef(host(), NewFolderItemAt(host(), folder)).get());
    EXPECT_EQ(OriginOf(host(), ObjectRef(host(), host().Call<REALobject>(video, kFolder))).path, folder);
    ObjectRef second(host(), host().Call<REALobject>(video, "TakePicture"));
    EXPECT_EQ(host().Bytes(first) + "|" + OriginOf(host(), second).path, Temp() + "Picture 1.bmp|" + folder + "\\Picture 2.bmp");
    for (const std::string& path : {host().Bytes(first), OriginOf(host(), second).path})
        EXPECT_EQ(ReadFileBytes(path), simwia::SampleImage()) << path;
    const std::vector<const wchar_t*> handed = simwia::VideoStringsHandedOut();  // addresses may come back from the cache
    EXPECT_EQ(handed.size(), 4u);
    for (const wchar_t* text : handed)
        EXPECT_GE(std::count(gFreed.begin(), gFreed.end(), text), std::count(handed.begin(), handed.end(), text));
}

TEST_F(Video, ArgumentsWithAMeaningOfTheirOwn) {
    ObjectRef made(host(), MakeVideo(host()));
    simwia::ResetCounts();
    {  // a folder whose path finds no memory for its system string is not sent (nil and empty ones raise: the sweep)
        ImportHook noMemory(host().Module(), "oleaut32.dll", "SysAllocString",
                            reinterpret_cast<void*>(+[](const OLECHAR*) -> BSTR { return nullptr; }));
        host().CallSetter(made, kFolder, ObjectRef(host(), NewFolderItemAt(host(), Temp())).get());
    }
    EXPECT_EQ(host().GetInt(made, "Lasterror"), E_OUTOFMEMORY);
    EXPECT_EQ(simwia::CallCount("IWiaVideo::put_ImagesDirectory"), 0);

    host().Call<void>(made, "DestroyVideo");
    host().Call<void>(made, Create(0, 1), 1, static_cast<REALobject>(nullptr), int8_t{0}, int8_t{0});
    EXPECT_EQ(simwia::LastVideoCall(kMethods[0]).window, nullptr) << "a nil window is 0";
    host().Call<void>(made, Create(0, 0), 0x100000001, Parent(), int8_t{0}, int8_t{0});
    EXPECT_EQ(simwia::LastVideoCall(kMethods[0]).deviceNumber, 1u) << "2^32 + 1 asks for device 1";
    EXPECT_EQ(host().GetInt(made, "Lasterror"), 0);
    host().Call<void>(made, Create(1, 0), "", Parent(), int8_t{0}, int8_t{0});
    EXPECT_FALSE(simwia::LastVideoCall(kMethods[1]).text.has_value()) << "an empty name is null";
}

}  // namespace
}  // namespace simhost
