// The property vocabulary of WIAPropertyStorageZVK against the platform's own ids and names (wiadef.h): every
// constant kX = id has its kXString = "name", and the pairs are exactly the platform's, ids included (the camera's
// from focus distance on run 2086 to 2092, as the platform numbers them; focus metering 2072 carries the name of the
// platform's focus metering mode).
#include "wia/WiaInterfaces.h"  // lets <wiadef.h> stand alone

#define DEFINE_WIA_PROPID_TO_NAME
#include <wiadef.h>

#include <map>
#include <set>
#include <string>

#include "tests/host/PluginTest.h"

namespace simhost {
namespace {

// The platform's own table of ids and names, and the camera properties it leaves out.
// clang-format off
#define P(macro) {macro, macro##_STR}
const std::pair<PROPID, const wchar_t*> kCamera[] = {
    P(WIA_DPC_THUMB_WIDTH), P(WIA_DPC_THUMB_HEIGHT), P(WIA_DPC_PICT_WIDTH), P(WIA_DPC_PICT_HEIGHT),
    P(WIA_DPC_COMPRESSION_SETTING), {WIA_DPC_FOCUS_METERING, L"Focus Metering Mode"}, P(WIA_DPC_TIMELAPSE_INTERVAL),
    P(WIA_DPC_TIMELAPSE_NUMBER), P(WIA_DPC_BURST_INTERVAL), P(WIA_DPC_BURST_NUMBER), P(WIA_DPC_EFFECT_MODE),
    P(WIA_DPC_DIGITAL_ZOOM), P(WIA_DPC_SHARPNESS), P(WIA_DPC_CONTRAST), P(WIA_DPC_CAPTURE_MODE), P(WIA_DPC_CAPTURE_DELAY),
    P(WIA_DPC_EXPOSURE_INDEX), P(WIA_DPC_EXPOSURE_METERING_MODE), P(WIA_DPC_FOCUS_DISTANCE), P(WIA_DPC_FOCAL_LENGTH),
    P(WIA_DPC_RGB_GAIN), P(WIA_DPC_WHITE_BALANCE), P(WIA_DPC_UPLOAD_URL), P(WIA_DPC_ARTIST), P(WIA_DPC_COPYRIGHT_INFO),
};
#undef P
// clang-format on

TEST(PropertyConstants, EveryIdAndNameIsThePlatformsPair) {
    SimHost host;
    host.Load();
    std::map<std::string, std::string> values;  // constant name -> value text
    for (const std::string& constant : host.Class("WIAPropertyStorageZVK").constants) {
        size_t equals = constant.find(" = ");
        values[constant.substr(0, equals)] = constant.substr(equals + 3);
    }
    std::set<std::pair<std::string, std::string>> registered, platform;
    for (const auto& [name, value] : values) {
        auto text = values.find(name + "String");
        if (text != values.end()) registered.insert({value, text->second});
    }
    auto add = [&](PROPID id, const wchar_t* name) {
        platform.insert({std::to_string(id), "\"" + std::string(name, name + wcslen(name)) + "\""});
    };
    for (const WIA_PROPID_TO_NAME& pair : g_wiaPropIdToName)
        if (pair.propid != 0) add(pair.propid, pair.pszName);
    for (const auto& [id, name] : kCamera) add(id, name);
    EXPECT_EQ(registered, platform);
    EXPECT_EQ(values.size(), 303u);
    EXPECT_EQ(values["kTymedMultiPageCallback"], std::to_string(TYMED_MULTIPAGE_CALLBACK));
}

}  // namespace
}  // namespace simhost
