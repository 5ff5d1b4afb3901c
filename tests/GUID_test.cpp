// WIAGUIDZVK as scripts use it: building, parsing, comparing, printing and taking apart GUIDs.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/host/PluginTest.h"

namespace simhost {
namespace {

constexpr const char* kBMPText = "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}";
const std::string kBMPBytes("\xAB\x3C\x6B\xB9\x28\x07\xD3\x11\x9D\x7B\x00\x00\xF8\x1E\xF3\x2E", 16);

class GUIDClass : public PluginTest {
protected:
    REALobject BMP() { return host().CallShared<REALobject>("WIAPropertyStorageZVK", "kImageFormatBMP"); }
    REALobject Parse(REALstring text) { return host().CallShared<REALobject>("WIAGUIDZVK", "Parse", text); }
    std::string Display(REALobject guid) {
        StringRef text(host(), host().Call<REALstring>(guid, "DisplayString"));
        return text.get() == nullptr ? "<nil>" : host().Bytes(text);
    }
    std::string Data(REALobject guid) { return host().Bytes(StringRef(host(), host().Call<REALstring>(guid, "Data"))); }
    bool Equal(REALobject a, REALobject b) { return host().Call<int8_t>(a, "Equal", b) != 0; }
};

TEST_F(GUIDClass, BMPIsStoredInTheWindowsLayout) {
    ObjectRef bmp(host(), BMP());
    for (int64_t index = 0; index < 16; ++index) {
        EXPECT_EQ(host().Call<int64_t>(bmp, "Byte", index), static_cast<uint8_t>(kBMPBytes[index])) << "byte " << index;
    }
    EXPECT_EQ(Display(bmp), kBMPText);
    StringRef data(host(), host().Call<REALstring>(bmp, "Data"));
    EXPECT_EQ(host().Bytes(data), kBMPBytes);
    EXPECT_EQ(host().Encoding(data), enc::kUnknown) << "bytes above 0x7F are raw";
}

TEST_F(GUIDClass, SixteenValueConstructorKeepsTheLowByte) {
    ObjectRef guid(host(), host().New("WIAGUIDZVK"));
    std::vector<int64_t> v;
    for (char byte : kBMPBytes) v.push_back(static_cast<uint8_t>(byte) + (v.size() % 2 == 0 ? 256 : 0));
    host().Call<void>(guid, "Constructor", v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12], v[13],
                      v[14], v[15]);
    ObjectRef bmp(host(), BMP());
    EXPECT_TRUE(Equal(guid, bmp)) << Display(guid);
    EXPECT_EQ(Display(guid), kBMPText);
    EXPECT_FALSE(Equal(guid, nullptr));
}

TEST_F(GUIDClass, ParseAcceptsBareAndBracedText) {
    const std::string bare = std::string(kBMPText).substr(1, 36);
    const struct {
        std::string text;
        bool parses;
    } rows[] = {
        {bare, true},
        {kBMPText, true},
        {"{b96b3cab-0728-11d3-9d7b-0000f81ef32e}", true},
        {"{B96B3CAB-0728-{11D3}-9D7B-0000F81EF32E}", true},
        {std::string(kBMPText) + std::string(25, '}') + "X", true},  // X at position 63 is cut off
        {std::string(kBMPText) + std::string(24, '}') + "X", false},
        {bare + "}", false},
        {"{" + bare, true},
        {"B96B3CAB-0728-11D3-9D7B-0000F81EF32", false},
        {"", false},
        {"not a guid", false},
    };
    ObjectRef bmp(host(), BMP());
    for (const auto& row : rows) {
        ObjectRef parsed(host(), Parse(StringRef(host(), host().Str(row.text))));
        ASSERT_EQ(parsed.get() != nullptr, row.parses) << "\"" << row.text << "\"";
        if (row.parses) {
            EXPECT_TRUE(Equal(parsed, bmp)) << "\"" << row.text << "\" gave " << Display(parsed);
        }
    }
    EXPECT_EQ(Parse(nullptr), nullptr);
    EXPECT_TRUE(host().raised.empty());
}

TEST_F(GUIDClass, DataRoundTripsAndIgnoresOtherLengths) {
    ObjectRef zero(host(), host().New("WIAGUIDZVK"));
    EXPECT_EQ(Data(zero), std::string(16, '\0'));
    StringRef zeroData(host(), host().Call<REALstring>(zero, "Data"));
    EXPECT_EQ(host().Encoding(zeroData), enc::kASCII);

    ObjectRef bmp(host(), BMP());
    ObjectRef copy(host(), host().New("WIAGUIDZVK"));
    StringRef bmpData(host(), host().Call<REALstring>(bmp, "Data"));
    host().CallSetter(copy, "Data as string", bmpData);
    EXPECT_TRUE(Equal(copy, bmp)) << Display(copy);

    for (size_t length : {0, 15, 17}) {
        host().CallSetter(copy, "Data as string", std::string(length, 'x'));
        EXPECT_EQ(Data(copy), kBMPBytes) << "after a " << length << "-byte string";
    }
    host().CallSetter(copy, "Data as string", static_cast<REALstring>(nullptr));
    EXPECT_EQ(Data(copy), kBMPBytes) << "after nil";
    host().CallSetter(bmp, "Data as string", zeroData);
    EXPECT_TRUE(Equal(bmp, zero)) << Display(bmp);
}

TEST_F(GUIDClass, ByteOutsideZeroToFifteenRaisesTheRangeMessage) {
    const struct {
        int64_t index;
        const char* message;  // null: no exception
    } rows[] = {
        {0, nullptr},
        {15, nullptr},
        {16, "The parameter index to method Byte is too big. Range is 0 to 15, but value is 16."},
        {-1, "The parameter index to method Byte is too small. Range is 0 to 15, but value is -1."},
    };
    ObjectRef guid(host(), BMP());
    for (const auto& row : rows) {
        host().raised.clear();
        host().CallSetter(guid, "Byte", row.index, 0x1FF);
        const int64_t got = host().Call<int64_t>(guid, "Byte", row.index);
        if (row.message == nullptr) {
            EXPECT_EQ(got, 0xFF) << "index " << row.index << ": the setter keeps the low byte";
            EXPECT_TRUE(host().raised.empty()) << "index " << row.index;
            continue;
        }
        EXPECT_EQ(got, 0) << "index " << row.index;
        ASSERT_EQ(host().raised.size(), 2u) << "index " << row.index << ": getter and setter raise";
        for (const Raised& raised : host().raised) {
            EXPECT_EQ(raised.className, "OutOfBoundsException") << "index " << row.index;
            EXPECT_EQ(raised.message, row.message);
            EXPECT_EQ(raised.errorNumber, 0);
        }
    }
    EXPECT_EQ(Data(guid), "\xFF" + kBMPBytes.substr(1, 14) + "\xFF") << "out-of-range setters stored nothing";
}

}  // namespace
}  // namespace simhost
