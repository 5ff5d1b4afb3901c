// The host-version rules of registration, on flags words and sizes the tables never hold.
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
        {0x30C, 2019.0, 0x4},      {0x30C, 2020.02, 0x30C},  {0x308, 2020.01, 0x4},
        {0x708, 2019.0, 0x708},    {0x40000, 2010.029, 0x4}, {0x40000, 2010.028, 0},
        {0x40000, 0, 0},           {0x40200, 2021.03, 0x204}, {0x34030C, 2019.0, 0x300004},
        {4, 0, 4},                 {6, 2021.03, 6},           {38, 2019.0, 38},
        {512, 2019.0, 512},
    };
    for (const FlagRow& row : rows) {
        EXPECT_EQ(AdaptFlags(row.flags, row.host), row.expected)
            << std::hex << "flags 0x" << row.flags << " host " << std::dec << row.host;
    }
}

TEST(FlagAdaptation, InterfaceLevelThresholds) {
    const std::pair<double, uint32_t> rows[] = {
        {0, 9}, {2011.99, 9}, {2012.0, 10}, {2012.99, 10}, {2013.0, 11}, {2013.02, 11},
        {2013.03, 12}, {2013.04, 13}, {2025.0, 13},
    };
    for (const auto& row : rows) EXPECT_EQ(ApiVersionForHost(row.first), row.second) << "host " << row.first;
}

TEST(FlagAdaptation, DataSizesRoundToSixteen) {
    const std::pair<uint64_t, uint64_t> rows[] = {{0, 0}, {16, 16}, {24, 32}, {40, 48}, {56, 64}, {17, 32}};
    for (const auto& row : rows) EXPECT_EQ(RoundDataSize(row.first), row.second) << "size " << row.first;
}

}  // namespace
}  // namespace zvk
