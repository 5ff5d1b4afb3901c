// Transfers as a script runs them. WIA 2.0: one file per image from every device, progress as sent, what stops a
// download, a callback object that serves several transfers and outlives nothing, and file streams through every method
// with a device writing and reading them. WIA 1.0: banded into a script event, into files, and past the callback's end.
#include <objbase.h>

#include <tuple>

#include "tests/host/Sweep.h"
#include "tests/host/PluginTest.h"
#include "tests/host/SimFolderItems.h"
#include "tests/host/SimMemoryBlocks.h"
#include "tests/host/SimScript.h"
#include "tests/host/SimStreamScript.h"
#include "tests/platform/SimPlatform.h"
#include "tests/platform/SimTransfer.h"

namespace simhost {
namespace {

// clang-format off
const sweep::Registration kMakers[] = {
    {"WIATransferCallbackZVK", [](SimHost& host) { return NewStreamCallback(host); }},
    {"WIAStreamZVK", [](SimHost& host) { return OpenStream(host, Script().folder + "\\sweep.bin", kModeCreateReadWrite); }},
    {"WIADataCallbackZVK", [](SimHost& host) { return NewCollectingCallback(host); }},
    {"WIADataTransferInfoZVK", [](SimHost& host) { return host.New("WIADataTransferInfoZVK"); }},
    {"WIADataTransferZVK", [](SimHost& host) { return OpenDataTransfer(host, simwia::kScannerFlatbed); }},
    {"WIAExtendedTransferInfoZVK", [](SimHost& host) { return Then(host, OpenDataTransfer(host, simwia::kScannerFlatbed), {"GetExtendedTransferInfo"}); }},
};
// clang-format on
constexpr const char* kPath = "GetDataPath(DataCallback as WIADataCallbackZVK) as string";

class TransferTest : public PluginTest {};

TEST_F(TransferTest, EveryDeviceDownloadsOneFilePerImageWithProgressAsSent) {
    const std::pair<const wchar_t*, std::vector<const wchar_t*>> rows[] = {
        {simwia::kScannerFlatbed, {simwia::kScannerFlatbed}},
        {simwia::kScannerFeeder, {simwia::kScannerFeeder, simwia::kScannerFeeder, simwia::kScannerFeeder}},
        {simwia::kCameraRoot, {simwia::kCameraPicture1, simwia::kCameraPicture2}}};  // feeder pages count up
    simwia::SetReportedBytesBase((uint64_t{1} << 32) + 5);                           // byte counts above 2^32
    for (const auto& [item, images] : rows) {
        ResetScript();
        EXPECT_EQ(DownloadFrom(host(), item), 0);
        ASSERT_EQ(Script().files.size(), images.size());
        for (size_t i = 0; i < images.size(); ++i) {
            EXPECT_EQ(Script().fullNames[i], std::string(images[i], images[i] + wcslen(images[i])));
            EXPECT_EQ(ReadFileBytes(Script().files[i]), simwia::FileData(images[i], item == simwia::kScannerFeeder ? int(i) : 0));
        }
        EXPECT_TRUE(Script().seen == SentProgress()) << Script().seen.size() << " events";
    }
}

// The progress event that answers 1 or a failure code, or calls "Cancel", is the last one. Then the requests that
// get no stream: no handler, a nil answer, a stream object whose file did not open.
TEST_F(TransferTest, AnswersCancelAndMissingStreamsStopTheDownload) {
    const std::tuple<size_t, int64_t, bool, int64_t> rows[] = {
        {0, 1, false, 1}, {2, int64_t(0xFFFFFFFF80004004), false, E_ABORT}, {3, 0, true, 1}};
    for (const auto& [stopAt, answer, cancel, lasterror] : rows) {
        ResetScript();
        std::tie(Script().stopAt, Script().stopAnswer) = std::make_tuple(stopAt, answer);
        EXPECT_EQ(DownloadFrom(host(), simwia::kScannerFeeder, true, cancel), lasterror);
        EXPECT_EQ(simwia::LastTransfer2().progress.size(), stopAt + 1);
    }
    const std::pair<bool, StreamAnswer> streams[] = {
        {false, StreamAnswer::File}, {true, StreamAnswer::Nil}, {true, StreamAnswer::FailedOpen}};
    for (const auto& [withStreams, answer] : streams) {
        ResetScript();
        Script().answer = answer;
        EXPECT_EQ(DownloadFrom(host(), simwia::kScannerFlatbed, withStreams), 1);
        const simwia::Transfer2Record sent = simwia::LastTransfer2();
        EXPECT_TRUE(sent.requests.size() == 1 && !sent.requests[0].stream && sent.progress.empty() && Script().files.empty());
    }
}

// Two downloads through one callback object, then the platform's late
// calls after the object is gone: its destructor gives up one reference and the calls answer their defaults.
TEST_F(TransferTest, OneCallbackServesEveryTransferAndLateCallsAreSafe) {
    simwia::KeepTransferCallback(true);
    REALobject callback = NewStreamCallback(host());
    ObjectRef transfer(host(), OpenTransfer(host(), simwia::kCameraPicture1));
    for (int i = 0; i < 2; ++i) host().Call<void>(transfer, kDownload, callback);
    EXPECT_TRUE(host().GetInt(transfer, "Lasterror") == 0 && Script().files.size() == 2u);
    EnableLogging();
    host().Unlock(callback);
    EXPECT_EQ(simwia::CallKeptTransferCallback(false), S_OK);
    EXPECT_EQ(simwia::CallKeptTransferCallback(true), S_FALSE);
    EXPECT_EQ(simwia::ReleaseKeptTransferCallback(), 0u) << "the platform held the callback object's last reference";
    EXPECT_EQ(log().Lines(),
              (std::vector<std::string>{"ZVK Debug: WIATransferCallbackDestructor", "ZVK Debug: CTransferCallback::Release",
                                        "ZVK Debug: CTransferCallback::TransferCallback", "ZVK Debug: hr 0",
                                        "ZVK Debug: CTransferCallback::GetNextStream", "ZVK Debug: hr 1",
                                        "ZVK Debug: CTransferCallback::Release"}));
}

// Wine's file streams neither clone nor revert; the code is all the script gets.
TEST_F(TransferTest, FileStreamsThroughEveryMethod) {
    ObjectRef stream(host(), OpenStream(host(), Script().folder + "\\page.bmp", kModeCreateReadWrite));
    ObjectRef copy(host(), OpenStream(host(), Script().folder + "\\copy.bin", kModeCreateReadWrite));
    std::tie(Script().answer, Script().given) = std::make_tuple(StreamAnswer::Given, stream.get());
    ObjectRef transfer(host(), OpenTransfer(host(), simwia::kScannerFlatbed)), callback(host(), NewStreamCallback(host()));
    const std::vector<BYTE> image = simwia::FileData(simwia::kScannerFlatbed, 0);  // at the resolution the script set
    host().Call<void>(transfer, kDownload, callback.get());
    EXPECT_EQ(host().Call<uint64_t>(stream, kSeek, 0, 2), image.size());
    host().Call<uint64_t>(stream, kSeek, 0, 0);
    host().Call<void>(transfer, kUpload, stream, callback.get());
    EXPECT_EQ(simwia::LastTransfer2().uploaded, image) << "the device reads back what it wrote";
    host().Call<void>(stream, "SetSize", uint64_t{100});
    EXPECT_EQ(host().Call<uint64_t>(stream, kSeek, int64_t{-10}, 2), 90u);
    EXPECT_EQ(host().Call<uint64_t>(stream, kSeek, int64_t{-1}, 0), 0u) << "a failed seek answers 0";
    EXPECT_LT(host().GetInt(stream, "Lasterror"), 0) << "and the position stays at 90";
    host().Call<uint64_t>(stream, kSeek, (int64_t{5} << 32) + 90, 0);  // the system's stream drops the top bits: 90
    EXPECT_EQ(simwia::LastCall("IStream::Seek").position, (int64_t{5} << 32) + 90) << "a 64-bit move arrives whole";
    uint64_t read = 7, written = 7;
    simwia::SetStreamWriteLimit(4);  // the copy takes 4 of the 10 bytes read: the counters cross
    host().Call<void>(stream, kCopyCounted, copy, uint64_t{1000}, &read, &written);
    simwia::SetStreamWriteLimit(ULONG_MAX);
    host().Call<void>(copy, "Commit", 0);
    EXPECT_TRUE(read == 4 && written == 10 && host().GetInt(stream, "Lasterror") == 0 && host().GetInt(copy, "Lasterror") == 0)
        << read << " " << written;
    EXPECT_TRUE(host().Call<REALobject>(stream, "Clone") == nullptr && host().GetInt(stream, "Lasterror") == E_NOTIMPL);
    host().Call<void>(stream, "Revert");
    EXPECT_EQ(host().GetInt(stream, "Lasterror"), E_NOTIMPL);
    EXPECT_EQ(ReadFileBytes(Script().folder + "\\copy.bin"), std::vector<uint8_t>(image.begin() + 90, image.begin() + 94));
    // A stream that clones gives a new object owning the clone; a file that does not open; a copy that never starts.
    IStream* memory = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &memory), S_OK);
    ObjectRef held(host(), host().New("WIAStreamZVK"));
    host().SetInt(held, "Handle", static_cast<int64_t>(reinterpret_cast<uintptr_t>(memory)));  // the object's now
    ObjectRef clone(host(), host().Call<REALobject>(held, "Clone"));
    ASSERT_TRUE(clone.get() != nullptr && host().GetInt(clone, "Handle") != 0 && host().GetInt(clone, "Lasterror") == 0 &&
                host().GetInt(held, "Lasterror") == 0);
    ObjectRef missing(host(), OpenStream(host(), Script().folder + "\\none.bmp", 0));
    EXPECT_TRUE(host().GetInt(missing, "Handle") == 0 && host().GetInt(missing, "Lasterror") < 0);
    for (int i = 0; i < 2; ++i) host().Call<void>(missing, kStreamOnPath, 0x1000 | 2 | 0x20, Script().folder + "\\again.bin");
    EXPECT_EQ(host().GetInt(missing, "Lasterror"), 0) << "opened again, deny-write: the stream held before is let go first";
    read = written = 7;
    host().Call<void>(clone, kCopyCounted, REALobject(), uint64_t{10}, &read, &written);
    EXPECT_TRUE(read == 0 && written == 0 && host().GetInt(clone, "Lasterror") == -1);
}

// Pages reassembled byte for byte from blocks over the device's own buffers, the record's copy rules at their edges,
// and every feeder sheet in one transfer, apart at new-page events, ending on the end-of-media status.
TEST_F(TransferTest, BandedPagesArriveUncopied) {
    const std::tuple<const wchar_t*, ULONG, int64_t, size_t> rows[] = {
        {simwia::kScannerFlatbed, 1000, 0, 1}, {simwia::kScannerFeeder, 0, 0x00210001, simwia::kFeederSheets}};
    for (const auto& [item, band, lasterror, pages] : rows) {
        ObjectRef transfer(host(), OpenDataTransfer(host(), item));
        EXPECT_EQ(ScanBanded(host(), transfer, band, true, true, (int64_t{1} << 32) + 28), lasterror);
        const simwia::TransferRecord sent = simwia::LastTransfer();
        EXPECT_TRUE(sent.info.size == 28 && sent.info.section == 5 && sent.info.bufferSize == band &&
                    sent.info.doubleBuffer == 1);
        ASSERT_EQ(Collected().pages.size(), pages);
        for (size_t p = 0; p < pages; ++p) EXPECT_EQ(Collected().pages[p], simwia::PageData(item, int(p)));
        ASSERT_EQ(Collected().events.size(), sent.bands.size());
        for (size_t i = 0; i < sent.bands.size(); ++i) {
            const BandEvent& e = Collected().events[i];
            const simwia::Band& b = sent.bands[i];
            EXPECT_EQ(std::tie(e.message, e.status, e.percent, e.offset, e.length, e.buffer),
                      std::tie(b.message, b.status, b.percent, b.offset, b.length, b.buffer));
        }
    }
    EXPECT_EQ(MemoryBlocksMade(), 11 + 4) << "headers and bands only: the other events carry nil";
}

// A host before 2012 (interface level 9) keeps each event id one record further in.
class OldHostTransferTest : public TransferTest {
    Options HostOptions() override { return {2011.99, true, {}}; }
};

// The handler's integer goes back by its low 32 bits: none runs to the end, 1 cancels, a failure code aborts.
TEST_F(OldHostTransferTest, HandlerAnswersReachTheDevice) {
    const std::tuple<bool, int64_t, int64_t, size_t> rows[] = {
        {false, 7, 0, 8}, {true, 1, 1, 1}, {true, (int64_t{1} << 32) + 1, 1, 1}, {true, int64_t(0xFFFFFFFF80004004), E_ABORT, 1}};
    for (const auto& [handler, answer, lasterror, events] : rows) {
        Collected().answer = answer;
        ObjectRef transfer(host(), OpenDataTransfer(host(), simwia::kScannerFlatbed));
        EXPECT_EQ(ScanBanded(host(), transfer, 4096, false, handler), lasterror) << answer;
        EXPECT_EQ(simwia::LastTransfer().bands.size(), events) << answer;
    }
}

// A transfer's file lives until the next one on the object or the object's end; the callback is optional.
TEST_F(TransferTest, FilesLiveUntilTheNextTransfer) {
    REALobject transfer = OpenDataTransfer(host(), simwia::kScannerFlatbed);
    StringRef first(host(), host().Call<REALstring>(transfer, kPath, REALobject()));
    EXPECT_EQ(ReadFileBytes(host().Bytes(first)), simwia::FileData(simwia::kScannerFlatbed, 0));
    const int64_t handle = host().GetInt(transfer, "Handle");
    host().SetInt(transfer, "Handle", 0);
    EXPECT_EQ(host().Call<REALstring>(transfer, kPath, REALobject()), nullptr);
    host().SetInt(transfer, "Handle", handle);
    EXPECT_TRUE(FileExists(host(), first)) << "Handle 0 leaves the held file alone";
    StringRef second(host(), host().Call<REALstring>(transfer, kPath, ObjectRef(host(), NewCollectingCallback(host())).get()));
    EXPECT_FALSE(FileExists(host(), first));
    EXPECT_EQ(Collected().events.back().message, 4) << "status events, then the termination";
    host().Unlock(transfer);
    EXPECT_FALSE(FileExists(host(), second)) << "the object's end releases the last file";
    ObjectRef camera(host(), OpenDataTransfer(host(), simwia::kCameraPicture1));
    ObjectRef file(host(), host().Call<REALobject>(camera, "GetDataFile", REALobject()));
    EXPECT_EQ(ReadFileBytes(OriginOf(host(), file).path), simwia::FileData(simwia::kCameraPicture1, 0));
}

// The platform keeps the callback past the transfer and calls it after the script dropped its object; the format
// query hands the platform a zero-filled record.
TEST_F(TransferTest, LateCallbackAnswersZeroAndTheFormatQueryIsZeroFilled) {
    ObjectRef transfer(host(), OpenDataTransfer(host(), simwia::kScannerFlatbed));
    EXPECT_EQ(host().Call<REALobject>(transfer, "QueryGetData"), nullptr);
    const simwia::Call query = simwia::LastCall("IWiaDataTransfer::idtQueryGetData");
    EXPECT_TRUE(query.guid == GUID_NULL && query.flags == 0 && host().GetInt(transfer, "Lasterror") == 1);
    simwia::KeepCallbackAfterTransfer(true);
    EXPECT_EQ(ScanBanded(host(), transfer, 0), 0);
    EnableLogging();
    EXPECT_EQ(simwia::CallKeptCallback(), S_OK) << "no owner: no event, no handler";
    simwia::ReleaseKeptCallback();
    EXPECT_EQ(log().Lines(), (std::vector<std::string>{"ZVK Debug: CDataCallback::BandedDataCallback", "ZVK Debug: hr 0",
                                                       "ZVK Debug: CDataCallback::Release", "ZVK Debug: CDataCallback freed"}));
}

}  // namespace
}  // namespace simhost
