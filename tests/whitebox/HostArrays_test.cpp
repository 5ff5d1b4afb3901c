// Host arrays of objects and strings: creation, inserts and who holds which reference.
#include "tests/host/SimHostVariants.h"
#include "tests/host/BootedHost.h"

namespace simhost {
namespace {

using zvk::S;
using zvk::Z;

using HostArrays = zvk::BootedHostTest;

TEST_F(HostArrays, ObjectsInsertedAtTheirIndexesAndHeldByTheArray) {
    REALarray array = S(zvk::NewObjectArray());
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(ReadArray(sim(), array).elementType, 4);
    EXPECT_TRUE(ReadArray(sim(), array).elements.empty());
    REALobject first = sim().New("WIAGUIDZVK");
    REALobject second = sim().New("WIAGUIDZVK");
    EXPECT_TRUE(zvk::InsertObject(Z(array), 0, Z(second)));
    EXPECT_TRUE(zvk::InsertObject(Z(array), 0, Z(first)));
    EXPECT_TRUE(zvk::InsertObject(Z(array), 2, nullptr));
    EXPECT_EQ(ReadArray(sim(), array).elements, (std::vector<void*>{first, second, nullptr}));
    EXPECT_EQ(sim().RefCount(first), 2);
    sim().Unlock(first);
    sim().Unlock(second);
    sim().Unlock(reinterpret_cast<REALobject>(array));  // the array gives back its elements
}

TEST_F(HostArrays, StringsAndBoundedArrays) {
    REALarray strings = S(zvk::NewStringArray(1));
    ASSERT_NE(strings, nullptr);
    EXPECT_EQ(ReadArray(sim(), strings).elementType, 3);
    EXPECT_EQ(ReadArray(sim(), strings).elements.size(), 2u) << "upper bound 1 gives two elements";
    REALstring text = sim().Str("name");
    EXPECT_TRUE(zvk::InsertString(Z(strings), 1, Z(text)));
    EXPECT_EQ(ReadArray(sim(), strings).elements[1], text);
    EXPECT_EQ(sim().StringRefCount(text), 2);
    EXPECT_FALSE(zvk::InsertObject(Z(strings), 0, nullptr)) << "no object inserter for a string array";
    sim().UnlockString(text);
    sim().Unlock(reinterpret_cast<REALobject>(strings));
}

TEST_F(HostArrays, WithoutTheHostEntries) {
    sim().Withhold("PluginObjectArrayInsertProc");
    REALarray array = S(zvk::NewObjectArray());
    REALobject object = sim().New("WIAGUIDZVK");
    EXPECT_FALSE(zvk::InsertObject(Z(array), 0, Z(object)));
    EXPECT_EQ(sim().RefCount(object), 1);
    sim().Unlock(object);
    sim().Unlock(reinterpret_cast<REALobject>(array));
}

}  // namespace
}  // namespace simhost
