// WIAItemZVK: Wraps a WIA 1.0 item (IWiaItem) or a WIA 2.0 item (IWiaItem2).
#include "wia/Classes.h"
#include "wia/GUIDClass.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

// The published device command and item category identifiers, offered as shared methods.
constexpr GUID kCommandSynchronize = {0x9B26B7B2, 0xACAD, 0x11D2, {0xA0, 0x93, 0x00, 0xC0, 0x4F, 0x72, 0xDC, 0x3C}};
constexpr GUID kCommandTakePicture = {0xAF933CAC, 0xACAD, 0x11D2, {0xA0, 0x93, 0x00, 0xC0, 0x4F, 0x72, 0xDC, 0x3C}};
constexpr GUID kCommandDeleteAllItems = {0xE208C170, 0xACAD, 0x11D2, {0xA0, 0x93, 0x00, 0xC0, 0x4F, 0x72, 0xDC, 0x3C}};
constexpr GUID kCommandChangeDocument = {0x04E725B0, 0xACAE, 0x11D2, {0xA0, 0x93, 0x00, 0xC0, 0x4F, 0x72, 0xDC, 0x3C}};
constexpr GUID kCommandUnloadDocument = {0x1F3B3D8E, 0xACAE, 0x11D2, {0xA0, 0x93, 0x00, 0xC0, 0x4F, 0x72, 0xDC, 0x3C}};
constexpr GUID kCommandDiagnostic = {0x10FF52F5, 0xDE04, 0x4CF0, {0xA5, 0xAD, 0x69, 0x1F, 0x8D, 0xCE, 0x01, 0x41}};
constexpr GUID kCategoryFinishedFile = {0xFF2B77CA, 0xCF84, 0x432B, {0xA7, 0x35, 0x3A, 0x13, 0x0D, 0xDE, 0x2A, 0x88}};
constexpr GUID kCategoryFlatbed = {0xFB607B1F, 0x43F3, 0x488B, {0x85, 0x5B, 0xFB, 0x70, 0x3E, 0xC3, 0x42, 0xA6}};
constexpr GUID kCategoryFeeder = {0xFE131934, 0xF84C, 0x42AD, {0x8D, 0xA4, 0x61, 0x29, 0xCD, 0xDD, 0x72, 0x88}};
constexpr GUID kCategoryFilm = {0xFCF65BE7, 0x3CE3, 0x4473, {0xAF, 0x85, 0xF5, 0xD3, 0x7D, 0x21, 0xB6, 0x8A}};
constexpr GUID kCategoryRoot = {0xF193526F, 0x59B8, 0x4A26, {0x98, 0x88, 0xE1, 0x6E, 0x4F, 0x97, 0xCE, 0x10}};
constexpr GUID kCategoryFolder = {0xC692A446, 0x6F5A, 0x481D, {0x85, 0xBB, 0x92, 0xE2, 0xE8, 0x6F, 0xD3, 0x0A}};
constexpr GUID kCategoryFeederFront = {0x4823175C, 0x3B28, 0x487B, {0xA7, 0xE6, 0xEE, 0xBC, 0x17, 0x61, 0x4F, 0xD1}};
constexpr GUID kCategoryFeederBack = {0x61CA74D4, 0x39DB, 0x42AA, {0x89, 0xB1, 0x8C, 0x19, 0xC9, 0xCD, 0x4C, 0x23}};

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer",    0),
    BoundProperty("Handle1",   "Integer",    1),
    BoundProperty("Handle2",   "Integer",    2),
    BoundProperty("Lasterror", "Integer",    3),
};
// clang-format on

// clang-format off
MethodDefinition kSharedMethods[] = {
    Method(GUIDConstant<kCommandSynchronize>,    "kCommandSynchronize as WIAGUIDZVK"),
    Method(GUIDConstant<kCommandTakePicture>,    "kCommandTakePicture as WIAGUIDZVK"),
    Method(GUIDConstant<kCommandDeleteAllItems>, "kCommandDeleteAllItems as WIAGUIDZVK"),
    Method(GUIDConstant<kCommandChangeDocument>, "kCommandChangeDocument as WIAGUIDZVK"),
    Method(GUIDConstant<kCommandUnloadDocument>, "kCommandUnloadDocument as WIAGUIDZVK"),
    Method(GUIDConstant<kCommandDiagnostic>,     "kCommandDiagnostic as WIAGUIDZVK"),
    Method(GUIDConstant<kCategoryFinishedFile>,  "kCategoryFinishedFile as WIAGUIDZVK"),
    Method(GUIDConstant<kCategoryFlatbed>,       "kCategoryFlatbed as WIAGUIDZVK"),
    Method(GUIDConstant<kCategoryFeeder>,        "kCategoryFeeder as WIAGUIDZVK"),
    Method(GUIDConstant<kCategoryFilm>,          "kCategoryFilm as WIAGUIDZVK"),
    Method(GUIDConstant<kCategoryRoot>,          "kCategoryRoot as WIAGUIDZVK"),
    Method(GUIDConstant<kCategoryFolder>,        "kCategoryFolder as WIAGUIDZVK"),
    Method(GUIDConstant<kCategoryFeederFront>,   "kCategoryFeederFront as WIAGUIDZVK"),
    Method(GUIDConstant<kCategoryFeederBack>,    "kCategoryFeederBack as WIAGUIDZVK"),
};
// clang-format on

}  // namespace

ClassDefinition gItemClass = ClassBuilder("WIAItemZVK", sizeof(TwoGenerationData))
                                 .Destructor(ItemDestructor)
                                 .Properties(kProperties)
                                 .SharedMethods(kSharedMethods);

}  // namespace zvk
