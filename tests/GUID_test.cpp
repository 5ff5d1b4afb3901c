// WIAGUIDZVK as scripts use it: building, parsing, comparing, printing and taking apart GUIDs.
#include "tests/host/PluginTest.h"

namespace simhost {
namespace {

constexpr const char* kBMPText = "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}";
const std::string kBMPBytes("\xAB\x3C\x6B\xB9\x28\x07\xD3\x11\x9D\x7B\x00\x00\xF8\x1E\xF3\x2E", 16);

class GUIDClass : public PluginTest {
protected:
    REALobject BMP() { return host().CallShared<REALobject>("WIAPropertyStorageZVK", "kImageFormatBMP"); }
    std::string Text(REALobject guid, const char* member) { return host().Take(host().Call<REALstring>(guid, member)); }
    std::string Display(REALobject guid) { return Text(guid, "DisplayString").substr(0, 38); }
    bool Equal(REALobject a, REALobject b) { return host().Call<int8_t>(a, "Equal", b) != 0; }
};

// Sixteen bytes in the Windows layout, as bytes, as raw data (zeros are ASCII) and as text; data of another length
// or nil is ignored; sixteen values of which the low bytes are kept.
TEST_F(GUIDClass, BytesDataAndTextRoundTrip) {
    ObjectRef bmp(host(), BMP()), zero(host(), host().New("WIAGUIDZVK")), copy(host(), host().New("WIAGUIDZVK"));
    for (int64_t index = 0; index < 16; ++index)
        EXPECT_EQ(host().Call<int64_t>(bmp, "Byte", index), static_cast<uint8_t>(kBMPBytes[index])) << "byte " << index;
    EXPECT_EQ(Display(bmp), kBMPText);
    EXPECT_EQ(Text(bmp, "Data"), kBMPBytes + " as 0xFFFF") << "bytes above 0x7F are raw";
    EXPECT_EQ(Text(zero, "Data"), std::string(16, '\0') + " as 0x600");
    host().CallSetter(copy, "Data as string", StringRef(host(), host().Call<REALstring>(bmp, "Data")).get());
    EXPECT_TRUE(Equal(copy, bmp)) << Display(copy);
    for (size_t length : {0, 15, 17}) host().CallSetter(copy, "Data as string", std::string(length, 'x'));
    host().CallSetter(copy, "Data as string", static_cast<REALstring>(nullptr));
    EXPECT_TRUE(Equal(copy, bmp)) << "after other lengths and nil: " << Display(copy);
    host().CallSetter(bmp, "Data as string", StringRef(host(), host().Call<REALstring>(zero, "Data")).get());
    EXPECT_TRUE(Equal(bmp, zero)) << Display(bmp);
    ObjectRef guid(host(), host().New("WIAGUIDZVK"));  // from sixteen values, of which it keeps the low bytes
    std::vector<int64_t> v;
    for (char byte : kBMPBytes) v.push_back(static_cast<uint8_t>(byte) + (v.size() % 2 == 0 ? 256 : 0));
    host().Call<void>(guid, "Constructor", v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12], v[13],
                      v[14], v[15]);
    EXPECT_TRUE(Equal(guid, copy)) << Display(guid);
    EXPECT_FALSE(Equal(guid, nullptr));
}

TEST_F(GUIDClass, ParseAcceptsBareAndBracedText) {
    const std::string bare = std::string(kBMPText).substr(1, 36);
    const std::pair<std::string, bool> rows[] = {
        // the text, whether it parses
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
    for (const auto& [text, parses] : rows) {
        ObjectRef parsed(host(), host().CallShared<REALobject>("WIAGUIDZVK", "Parse", text));
        ASSERT_EQ(parsed.get() != nullptr, parses) << "\"" << text << "\"";
        EXPECT_TRUE(!parses || Equal(parsed, bmp)) << "\"" << text << "\" gave " << Display(parsed);
    }
    EXPECT_EQ(host().CallShared<REALobject>("WIAGUIDZVK", "Parse", REALstring{}), nullptr);
    EXPECT_TRUE(host().raised.empty());
}

TEST_F(GUIDClass, ByteOutsideZeroToFifteenRaisesTheRangeMessage) {
    const std::pair<int64_t, const char*> rows[] = {
        // the index, the message (null: no exception)
        {0, nullptr},
        {15, nullptr},
        {16, "The parameter index to method Byte is too big. Range is 0 to 15, but value is 16."},
        {-1, "The parameter index to method Byte is too small. Range is 0 to 15, but value is -1."},
    };
    ObjectRef guid(host(), BMP());
    for (const auto& [index, message] : rows) {
        host().raised.clear();
        host().CallSetter(guid, "Byte", index, 0x1FF);
        EXPECT_EQ(host().Call<int64_t>(guid, "Byte", index), message ? 0 : 0xFF) << index << ": the setter keeps the low byte";
        ASSERT_EQ(host().raised.size(), message ? 2u : 0u) << index << ": getter and setter raise";
        for (const Raised& raised : host().raised)
            EXPECT_EQ(raised.className + ": " + raised.message + " " + std::to_string(raised.errorNumber),
                      std::string("OutOfBoundsException: ") + message + " 0");
    }
    EXPECT_EQ(Text(guid, "Data").substr(0, 16), "\xFF" + kBMPBytes.substr(1, 14) + "\xFF")
        << "out-of-range setters stored nothing";
    host().raised.clear();
}

}  // namespace
}  // namespace simhost
