// WIAGUIDZVK as scripts use it: building, parsing, comparing, printing and taking apart GUIDs, and the 47
// published identifiers offered by WIAPropertyStorageZVK and WIAItemZVK.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/host/PluginTest.h"

namespace simhost {
namespace {

constexpr const char* kBMPText = "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}";
constexpr const char* kByte = "Byte(index as integer) as integer";
const std::string kBMPBytes("\xAB\x3C\x6B\xB9\x28\x07\xD3\x11\x9D\x7B\x00\x00\xF8\x1E\xF3\x2E", 16);

class GUIDClass : public PluginTest {
protected:
    REALobject Constant(const char* cls, const std::string& name) {
        return host().CallShared<REALobject>(cls, name + " as WIAGUIDZVK");
    }
    REALobject BMP() { return Constant("WIAPropertyStorageZVK", "kImageFormatBMP"); }
    REALobject Parse(REALstring text) {
        return host().CallShared<REALobject>("WIAGUIDZVK", "Parse(GUID as String) as WIAGUIDZVK", text);
    }
    std::string Display(REALobject guid) {
        StringRef text(host(), host().Call<REALstring>(guid, "DisplayString as string"));
        return text.get() == nullptr ? "<nil>" : host().Bytes(text);
    }
    std::string Data(REALobject guid) {
        StringRef data(host(), host().Call<REALstring>(guid, "Data as string"));
        return host().Bytes(data);
    }
    bool Equal(REALobject a, REALobject b) { return host().Call<int8_t>(a, "Equal(other as WIAGUIDZVK) as boolean", b) != 0; }
};

TEST_F(GUIDClass, BMPIsStoredInTheWindowsLayout) {
    ObjectRef bmp(host(), BMP());
    for (int64_t index = 0; index < 16; ++index) {
        EXPECT_EQ(host().Call<int64_t>(bmp.get(), kByte, index), static_cast<uint8_t>(kBMPBytes[index])) << "byte " << index;
    }
    EXPECT_EQ(Display(bmp), kBMPText);
    EXPECT_EQ(Data(bmp), kBMPBytes);
    StringRef data(host(), host().Call<REALstring>(bmp.get(), "Data as string"));
    EXPECT_EQ(host().Encoding(data), enc::kUnknown) << "bytes above 0x7F are raw";
}

TEST_F(GUIDClass, SixteenValueConstructorKeepsTheLowByte) {
    ObjectRef guid(host(), host().New("WIAGUIDZVK"));
    std::vector<int64_t> v;
    for (char byte : kBMPBytes) v.push_back(static_cast<uint8_t>(byte) + (v.size() % 2 == 0 ? 256 : 0));
    host().Call<void>(guid.get(),
                      "Constructor(value1 as integer, value2 as integer, value3 as integer, value4 as integer, "
                      "value5 as integer, value6 as integer, value7 as integer, value8 as integer, value9 as "
                      "integer, value10 as integer, value11 as integer, value12 as integer, value13 as integer, "
                      "value14 as integer, value15 as integer, value16 as integer)",
                      v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12], v[13], v[14], v[15]);
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
        StringRef text(host(), host().Str(row.text));
        ObjectRef parsed(host(), Parse(text));
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
    StringRef zeroData(host(), host().Call<REALstring>(zero.get(), "Data as string"));
    EXPECT_EQ(host().Encoding(zeroData), enc::kASCII);

    ObjectRef bmp(host(), BMP());
    ObjectRef copy(host(), host().New("WIAGUIDZVK"));
    StringRef bmpData(host(), host().Call<REALstring>(bmp.get(), "Data as string"));
    host().CallSetter(copy.get(), "Data as string", bmpData.get());
    EXPECT_TRUE(Equal(copy, bmp)) << Display(copy);

    for (size_t length : {0, 15, 17}) {
        StringRef wrong(host(), host().Str(std::string(length, 'x')));
        host().CallSetter(copy.get(), "Data as string", wrong.get());
        EXPECT_EQ(Data(copy), kBMPBytes) << "after a " << length << "-byte string";
    }
    host().CallSetter(copy.get(), "Data as string", static_cast<REALstring>(nullptr));
    EXPECT_EQ(Data(copy), kBMPBytes) << "after nil";
    host().CallSetter(bmp.get(), "Data as string", zeroData.get());
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
        {20, "The parameter index to method Byte is too big. Range is 0 to 15, but value is 20."},
        {-1, "The parameter index to method Byte is too small. Range is 0 to 15, but value is -1."},
        {INT64_MIN, "The parameter index to method Byte is too small. Range is 0 to 15, but value is -9223372036854775808."},
    };
    ObjectRef guid(host(), BMP());
    for (const auto& row : rows) {
        host().raised.clear();
        host().CallSetter(guid.get(), kByte, row.index, int64_t{0x1FF});
        const int64_t got = host().Call<int64_t>(guid.get(), kByte, row.index);
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

struct ConstantRow {
    const char* cls;
    const char* name;
    const char* text;
};

const ConstantRow kConstants[] = {
    {"WIAPropertyStorageZVK", "kImageFormatUndefined", "{B96B3CA9-0728-11D3-9D7B-0000F81EF32E}"},
    {"WIAPropertyStorageZVK", "kImageFormatRawRGB", "{BCA48B55-F272-4371-B0F1-4A150D057BB4}"},
    {"WIAPropertyStorageZVK", "kImageFormatMemoryBMP", "{B96B3CAA-0728-11D3-9D7B-0000F81EF32E}"},
    {"WIAPropertyStorageZVK", "kImageFormatBMP", "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}"},
    {"WIAPropertyStorageZVK", "kImageFormatEMF", "{B96B3CAC-0728-11D3-9D7B-0000F81EF32E}"},
    {"WIAPropertyStorageZVK", "kImageFormatWMF", "{B96B3CAD-0728-11D3-9D7B-0000F81EF32E}"},
    {"WIAPropertyStorageZVK", "kImageFormatJPEG", "{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}"},
    {"WIAPropertyStorageZVK", "kImageFormatPNG", "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}"},
    {"WIAPropertyStorageZVK", "kImageFormatGIF", "{B96B3CB0-0728-11D3-9D7B-0000F81EF32E}"},
    {"WIAPropertyStorageZVK", "kImageFormatTIFF", "{B96B3CB1-0728-11D3-9D7B-0000F81EF32E}"},
    {"WIAPropertyStorageZVK", "kImageFormatEXIF", "{B96B3CB2-0728-11D3-9D7B-0000F81EF32E}"},
    {"WIAPropertyStorageZVK", "kImageFormatPhotoCD", "{B96B3CB3-0728-11D3-9D7B-0000F81EF32E}"},
    {"WIAPropertyStorageZVK", "kImageFormatFlashPix", "{B96B3CB4-0728-11D3-9D7B-0000F81EF32E}"},
    {"WIAPropertyStorageZVK", "kImageFormatICO", "{B96B3CB5-0728-11D3-9D7B-0000F81EF32E}"},
    {"WIAPropertyStorageZVK", "kImageFormatCIFF", "{9821A8AB-3A7E-4215-94E0-D27A460C03B2}"},
    {"WIAPropertyStorageZVK", "kImageFormatPICT", "{A6BC85D8-6B3E-40EE-A95C-25D482E41ADC}"},
    {"WIAPropertyStorageZVK", "kImageFormatJPEG2K", "{344EE2B2-39DB-4DDE-8173-C4B75F8F1E49}"},
    {"WIAPropertyStorageZVK", "kImageFormatJPEG2KX", "{43E14614-C80A-4850-BAF3-4B152DC8DA27}"},
    {"WIAPropertyStorageZVK", "kImageFormatRTF", "{573DD6A3-4834-432D-A9B5-E198DD9E890D}"},
    {"WIAPropertyStorageZVK", "kImageFormatXML", "{B9171457-DAC8-4884-B393-15B471D5F07E}"},
    {"WIAPropertyStorageZVK", "kImageFormatHTML", "{C99A4E62-99DE-4A94-ACCA-71956AC2977D}"},
    {"WIAPropertyStorageZVK", "kImageFormatTXT", "{FAFD4D82-723F-421F-9318-30501AC44B59}"},
    {"WIAPropertyStorageZVK", "kImageFormatMPG", "{ECD757E4-D2EC-4F57-955D-BCF8A97C4E52}"},
    {"WIAPropertyStorageZVK", "kImageFormatAVI", "{32F8CA14-087C-4908-B7C4-6757FE7E90AB}"},
    {"WIAPropertyStorageZVK", "kImageFormatASF", "{8D948EE9-D0AA-4A12-9D9A-9CC5DE36199B}"},
    {"WIAPropertyStorageZVK", "kImageFormatScript", "{FE7D6C53-2DAC-446A-B0BD-D73E21E924C9}"},
    {"WIAPropertyStorageZVK", "kImageFormatExec", "{485DA097-141E-4AA5-BB3B-A5618D95D02B}"},
    {"WIAPropertyStorageZVK", "kImageFormatUnicode16", "{1B7639B6-6357-47D1-9A07-12452DC073E9}"},
    {"WIAPropertyStorageZVK", "kImageFormatDPOF", "{369EEEAB-A0E8-45CA-86A6-A83CE5697E28}"},
    {"WIAPropertyStorageZVK", "kAudioFormatWAV", "{F818E146-07AF-40FF-AE55-BE8F2C065DBE}"},
    {"WIAPropertyStorageZVK", "kAudioFormatMP3", "{0FBC71FB-43BF-49F2-9190-E6FECFF37E54}"},
    {"WIAPropertyStorageZVK", "kAudioFormatAIFF", "{66E2BF4F-B6FC-443F-94C8-2F33C8A65AAF}"},
    {"WIAPropertyStorageZVK", "kAudioFormatWMA", "{D61D6413-8BC2-438F-93AD-21BD484DB6A1}"},
    {"WIAItemZVK", "kCommandSynchronize", "{9B26B7B2-ACAD-11D2-A093-00C04F72DC3C}"},
    {"WIAItemZVK", "kCommandTakePicture", "{AF933CAC-ACAD-11D2-A093-00C04F72DC3C}"},
    {"WIAItemZVK", "kCommandDeleteAllItems", "{E208C170-ACAD-11D2-A093-00C04F72DC3C}"},
    {"WIAItemZVK", "kCommandChangeDocument", "{04E725B0-ACAE-11D2-A093-00C04F72DC3C}"},
    {"WIAItemZVK", "kCommandUnloadDocument", "{1F3B3D8E-ACAE-11D2-A093-00C04F72DC3C}"},
    {"WIAItemZVK", "kCommandDiagnostic", "{10FF52F5-DE04-4CF0-A5AD-691F8DCE0141}"},
    {"WIAItemZVK", "kCategoryFinishedFile", "{FF2B77CA-CF84-432B-A735-3A130DDE2A88}"},
    {"WIAItemZVK", "kCategoryFlatbed", "{FB607B1F-43F3-488B-855B-FB703EC342A6}"},
    {"WIAItemZVK", "kCategoryFeeder", "{FE131934-F84C-42AD-8DA4-6129CDDD7288}"},
    {"WIAItemZVK", "kCategoryFilm", "{FCF65BE7-3CE3-4473-AF85-F5D37D21B68A}"},
    {"WIAItemZVK", "kCategoryRoot", "{F193526F-59B8-4A26-9888-E16E4F97CE10}"},
    {"WIAItemZVK", "kCategoryFolder", "{C692A446-6F5A-481D-85BB-92E2E86FD30A}"},
    {"WIAItemZVK", "kCategoryFeederFront", "{4823175C-3B28-487B-A7E6-EEBC17614FD1}"},
    {"WIAItemZVK", "kCategoryFeederBack", "{61CA74D4-39DB-42AA-89B1-8C19C9CD4C23}"},
};

TEST_F(GUIDClass, PublishedIdentifiersInRegistrationOrder) {
    std::vector<std::string> expected, registered;
    for (const ConstantRow& row : kConstants) expected.push_back(std::string(row.cls) + "." + row.name);
    for (const char* cls : {"WIAPropertyStorageZVK", "WIAItemZVK"}) {
        for (const MethodView& method : host().Class(cls).sharedMethods) {
            if (method.declaration.rfind("k", 0) == 0) registered.push_back(std::string(cls) + "." + method.signature.name);
        }
    }
    EXPECT_EQ(registered, expected);

    for (const ConstantRow& row : kConstants) {
        ObjectRef first(host(), Constant(row.cls, row.name));
        ObjectRef second(host(), Constant(row.cls, row.name));
        EXPECT_EQ(Display(first), row.text) << row.name;
        EXPECT_NE(first.get(), second.get()) << row.name << ": every call makes a new object";
        EXPECT_TRUE(Equal(first, second)) << row.name;
    }
}

TEST_F(GUIDClass, RefusedInstanceGivesNil) {
    host().refuseInstance = [](const std::string& cls) { return cls == "WIAGUIDZVK"; };
    StringRef text(host(), host().Str(kBMPText));
    EXPECT_EQ(Parse(text), nullptr);
    EXPECT_EQ(BMP(), nullptr);
}

}  // namespace
}  // namespace simhost
