// The host-version rules for flags words, on words the class tables never hold (the registration suite sees the
// interface levels and data sizes on the real tables).
#include <gtest/gtest.h>

#include "plugin/Registration.h"

namespace zvk {
namespace {

struct FlagRow {
    uint32_t flags;
    double host;
    uint32_t expected;
};

TEST(FlagAdaptation, RulesOnEdgeFlagsWords) {
    const FlagRow rows[] = {
        {0x30C, 2019.0, 0x4},
        {0x30C, 2020.02, 0x30C},
        {0x308, 2020.01, 0x4},
        {0x708, 2019.0, 0x708},
        {0x40000, 2010.029, 0x4},
        {0x40000, 2010.028, 0},
        {0x40000, 0, 0},
        {0x40200, 2021.03, 0x204},
        {0x34030C, 2019.0, 0x300004},
        {4, 0, 4},
        {6, 2021.03, 6},
        {38, 2019.0, 38},
        {512, 2019.0, 512},
    };
    for (const FlagRow& row : rows) {
        EXPECT_EQ(AdaptFlags(row.flags, row.host), row.expected)
            << std::hex << "flags 0x" << row.flags << " host " << std::dec << row.host;
    }
}

}  // namespace
}  // namespace zvk
