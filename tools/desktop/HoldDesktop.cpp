// Holds Wine's desktop open while the tests run. The first Wine process that makes a window starts the desktop
// process (explorer.exe /desktop), which inherits that process's standard handles and outlives it by some seconds;
// a test that starts it keeps CTest waiting on its pipes. Started once, detached, before CTest, this program makes
// the desktop start here instead and keeps it alive until it is killed (or for an hour at most).
#include <windows.h>

int main() {
    HWND window = CreateWindowExW(0, L"STATIC", L"desktop holder", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (window == nullptr) return 1;
    Sleep(60 * 60 * 1000);
    DestroyWindow(window);
    return 0;
}
