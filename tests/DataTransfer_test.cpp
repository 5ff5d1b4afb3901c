// WIA 1.0 transfers as a script runs them: banded into a script event, into files, and past the callback's end.
#include <tuple>

#include "tests/Sweep.h"
#include "tests/host/PluginTest.h"
#include "tests/host/SimFolderItems.h"
#include "tests/host/SimMemoryBlocks.h"
#include "tests/host/SimScript.h"
#include "tests/platform/SimPlatform.h"
#include "tests/platform/SimTransfer.h"

namespace simhost {
namespace {

constexpr const char* kPath = "GetDataPath(DataCallback as WIADataCallbackZVK) as string";

const sweep::Registration kCallback("WIADataCallbackZVK", [](SimHost& host) { return NewCollectingCallback(host); });
const sweep::Registration kInfo("WIADataTransferInfoZVK", [](SimHost& host) { return host.New("WIADataTransferInfoZVK"); });
const sweep::Registration kTransfer("WIADataTransferZVK",
                                    [](SimHost& host) { return OpenDataTransfer(host, simwia::kScannerFlatbed); });
class DataTransferTest : public PluginTest {};

// Pages reassembled byte for byte from blocks over the device's own buffers, the record's copy rules at their edges,
// and every feeder sheet in one transfer, apart at new-page events, ending on the end-of-media status.
TEST_F(DataTransferTest, BandedPagesArriveUncopied) {
    const std::tuple<const wchar_t*, ULONG, int64_t, size_t> rows[] = {
        {simwia::kScannerFlatbed, 1000, 0, 1}, {simwia::kScannerFeeder, 0, 0x00210001, simwia::kFeederSheets}};
    for (const auto& [item, band, lasterror, pages] : rows) {
        ObjectRef transfer(host(), OpenDataTransfer(host(), item));
        EXPECT_EQ(ScanBanded(host(), transfer, band, true, true, (int64_t{1} << 32) + 28), lasterror);
        const simwia::TransferRecord sent = simwia::LastTransfer();
        EXPECT_TRUE(sent.info.size == 28 && sent.info.bufferSize == band && sent.info.doubleBuffer == 1);
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

// The handler's integer goes back by its low 32 bits: none runs to the end, 1 cancels, a failure code aborts.
TEST_F(DataTransferTest, HandlerAnswersReachTheDevice) {
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
TEST_F(DataTransferTest, FilesLiveUntilTheNextTransfer) {
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
TEST_F(DataTransferTest, LateCallbackAnswersZeroAndTheFormatQueryIsZeroFilled) {
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
