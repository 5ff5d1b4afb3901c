// File streams as a script uses them: every method, with a device writing and reading them.
#include <objbase.h>

#include "tests/Sweep.h"
#include "tests/host/PluginTest.h"
#include "tests/host/SimScript.h"
#include "tests/host/SimStreamScript.h"
#include "tests/platform/SimPlatform.h"
#include "tests/platform/SimTransfer.h"

namespace simhost {
namespace {

const sweep::Registration kStream("WIAStreamZVK", [](SimHost& host) {
    return OpenStream(host, Script().folder + "\\sweep.bin", kModeCreateReadWrite);
});

class StreamTest : public PluginTest {};

// Wine's file streams neither clone nor revert; the code is all the script gets.
TEST_F(StreamTest, FileStreamsThroughEveryMethod) {
    const std::vector<BYTE> image = simwia::FileData(simwia::kScannerFlatbed, 0);
    ObjectRef stream(host(), OpenStream(host(), Script().folder + "\\page.bmp", kModeCreateReadWrite));
    ObjectRef copy(host(), OpenStream(host(), Script().folder + "\\copy.bin", kModeCreateReadWrite));
    std::tie(Script().answer, Script().given) = std::make_tuple(StreamAnswer::Given, stream.get());
    ObjectRef transfer(host(), OpenTransfer(host(), simwia::kScannerFlatbed)), callback(host(), NewStreamCallback(host()));
    host().Call<void>(transfer, kDownload, callback.get());
    EXPECT_EQ(host().Call<uint64_t>(stream, kSeek, 0, 2), image.size());
    host().Call<uint64_t>(stream, kSeek, 0, 0);
    host().Call<void>(transfer, kUpload, stream, callback.get());
    EXPECT_EQ(simwia::LastTransfer2().uploaded, image) << "the device reads back what it wrote";
    host().Call<void>(stream, "SetSize", uint64_t{100});
    EXPECT_EQ(host().Call<uint64_t>(stream, kSeek, int64_t{-10}, 2), 90u);
    EXPECT_EQ(host().Call<uint64_t>(stream, kSeek, int64_t{-1}, 0), 0u) << "a failed seek answers 0";
    EXPECT_LT(host().GetInt(stream, "Lasterror"), 0) << "and the position stays at 90";
    uint64_t read = 7, written = 7;
    host().Call<void>(stream, kCopyCounted, copy, uint64_t{1000}, &read, &written);
    host().Call<void>(copy, "Commit", 0);
    EXPECT_TRUE(read == 10 && written == 10 && host().GetInt(stream, "Lasterror") == 0 && host().GetInt(copy, "Lasterror") == 0);
    EXPECT_TRUE(host().Call<REALobject>(stream, "Clone") == nullptr && host().GetInt(stream, "Lasterror") == E_NOTIMPL);
    host().Call<void>(stream, "Revert");
    EXPECT_EQ(host().GetInt(stream, "Lasterror"), E_NOTIMPL);
    EXPECT_EQ(ReadFileBytes(Script().folder + "\\copy.bin"), std::vector<uint8_t>(image.begin() + 90, image.begin() + 100));
    // A stream that clones gives a new object owning the clone; the constructors' refusals; a copy that never starts.
    IStream* memory = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &memory), S_OK);
    ObjectRef held(host(), host().New("WIAStreamZVK"));
    host().SetInt(held, "Handle", static_cast<int64_t>(reinterpret_cast<uintptr_t>(memory)));  // the object's now
    ObjectRef clone(host(), host().Call<REALobject>(held, "Clone"));
    ASSERT_TRUE(clone.get() != nullptr && host().GetInt(clone, "Handle") != 0 && host().GetInt(clone, "Lasterror") == 0 &&
                host().GetInt(held, "Lasterror") == 0);
    host().Call<void>(held, kStreamOnPath, 0, REALstring());
    host().Call<void>(held, "Constructor", 0, REALobject());
    EXPECT_TRUE(host().raised.size() == 2 && host().raised[0].message == "path is empty" &&
                host().raised[1].message == "file is nil");
    host().raised.clear();
    ObjectRef missing(host(), OpenStream(host(), Script().folder + "\\none.bmp", 0));
    EXPECT_TRUE(host().GetInt(missing, "Handle") == 0 && host().GetInt(missing, "Lasterror") < 0);
    read = written = 7;
    host().Call<void>(clone, kCopyCounted, REALobject(), uint64_t{10}, &read, &written);
    EXPECT_TRUE(read == 0 && written == 0 && host().GetInt(clone, "Lasterror") == -1);
}

}  // namespace
}  // namespace simhost
