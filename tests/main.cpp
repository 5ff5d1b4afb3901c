// Test entry: the test process plays the host's thread, which has COM initialised apartment-threaded.
#include <objbase.h>

#include <gtest/gtest.h>

#include "tests/host/Sweep.h"

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ::testing::InitGoogleTest(&argc, argv);
    for (void (*add)() : sweep::RunTimeSuites()) add();
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
