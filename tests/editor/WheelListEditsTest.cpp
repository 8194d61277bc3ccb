#include "editor/WheelListEdits.h"

#include "editor/EditorRig.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testing::wheel;

std::vector<Wheel> named(std::vector<std::pair<std::string, std::string>> idsAndNames) {
    std::vector<Wheel> list;
    for (auto& [id, name] : idsAndNames)
        list.push_back(wheel(id, name));
    return list;
}

std::string order(const std::vector<Wheel>& list) {
    std::string out;
    for (const Wheel& w : list)
        out += w.id;
    return out;
}

TEST(NewWheel, TakesTheCountPlusOneAndSkipsTakenIds) {
    struct Row {
        std::vector<std::string> ids;
        std::string id, name;
    };
    const std::vector<Row> rows{
        {{}, "wheel-1", "Wheel 1"},
        {{"default", "apps", "wheel-5", "wheel-6"}, "wheel-7", "Wheel 5"},
        {{"default", "apps"}, "wheel-3", "Wheel 3"},
        {{"wheel-2", "wheel-3", "wheel-4"}, "wheel-5", "Wheel 4"},
    };
    for (const Row& row : rows) {
        std::vector<Wheel> list;
        for (const auto& id : row.ids)
            list.push_back(wheel(id, id));
        const Wheel added = newWheel(list);
        EXPECT_EQ(added.id, row.id);
        EXPECT_EQ(added.name, row.name);
        EXPECT_EQ(added.sliceCount, 8);
        EXPECT_TRUE(added.slices.empty());
        EXPECT_FALSE(added.appBundleIdentifier);
    }
}

TEST(DuplicateOf, CountsIdsAndNamesApartAndRenewsSlices) {
    struct Row {
        std::vector<std::pair<std::string, std::string>> wheels;
        std::string id, name;
    };
    const std::vector<Row> rows{
        {{{"work", "Work"}}, "work-copy", "Work copy"},
        {{{"work", "Work"}, {"work-copy", "Other"}, {"x", "Work copy"}}, "work-copy-2", "Work copy 2"},
        {{{"work", "Work"}, {"work-copy", "Work copy"}, {"work-copy-2", "Work copy 2"}},
         "work-copy-3",
         "Work copy 3"},
        {{{"work", "Work"}, {"y", "Work copy"}, {"z", "Work copy 2"}}, "work-copy", "Work copy 3"},
    };
    for (const Row& row : rows) {
        auto list = named(row.wheels);
        Wheel source = list.front();
        source.slices = {testing::slice(0), testing::slice(3)};
        source.appBundleIdentifier = "org.example.Notes";
        const Wheel copy = duplicateOf(source, list);
        EXPECT_EQ(copy.id, row.id);
        EXPECT_EQ(copy.name, row.name);
        EXPECT_FALSE(copy.appBundleIdentifier);
        ASSERT_EQ(copy.slices.size(), 2u);
        for (std::size_t i = 0; i < 2; ++i) {
            EXPECT_NE(copy.slices[i].id, source.slices[i].id);
            EXPECT_EQ(copy.slices[i].position, source.slices[i].position);
            EXPECT_EQ(copy.slices[i].label, source.slices[i].label);
        }
    }
}

TEST(InsertAfter, PlacesTheCopyBesideItsSourceOrAtTheEnd) {
    auto list = named({{"A", ""}, {"B", ""}, {"C", ""}});
    insertAfter(list, "A", wheel("X", ""));
    EXPECT_EQ(order(list), "AXBC");
    insertAfter(list, "gone", wheel("Y", ""));
    EXPECT_EQ(order(list), "AXBCY");
}

TEST(MoveWheel, DragOntoAnotherAndMoveByOne) {
    struct Drop {
        std::string dragged, target, result;
        bool moved;
    };
    const std::vector<Drop> drops{
        {"A", "C", "BCAD", true},  {"D", "B", "ADBC", true},  {"A", "B", "BACD", true},
        {"B", "A", "BACD", true},  {"A", "A", "ABCD", false}, {"X", "B", "ABCD", false},
        {"A", "X", "ABCD", false},
    };
    for (const Drop& d : drops) {
        auto list = named({{"A", ""}, {"B", ""}, {"C", ""}, {"D", ""}});
        EXPECT_EQ(moveWheelOnto(list, d.dragged, d.target), d.moved) << d.dragged << "→" << d.target;
        EXPECT_EQ(order(list), d.result) << d.dragged << "→" << d.target;
    }
    struct Step {
        std::string id;
        int offset;
        std::string result;
    };
    const std::vector<Step> steps{{"A", -1, "ABCD"}, {"D", 1, "ABCD"}, {"B", -1, "BACD"},
                                  {"B", 1, "ACBD"},  {"A", 3, "DBCA"}, {"X", 1, "ABCD"}};
    for (const Step& s : steps) {
        auto list = named({{"A", ""}, {"B", ""}, {"C", ""}, {"D", ""}});
        moveWheelBy(list, s.id, s.offset);
        EXPECT_EQ(order(list), s.result) << s.id << s.offset;
    }
}

TEST(NumberedWheelName, OnlyAddedWheelNamesCount) {
    const std::vector<std::pair<std::string, bool>> rows{
        {"Wheel 12", true},
        {"Wheel  7", true},
        {"Wheel +3", true},
        {"Wheel 1\t", true},
        {"Wheel 0", false},
        {"Wheel -2", false},
        {"Wheel 5 copy", false},
        {"Wheel", false},
        {"wheel 3", false},
        {"Wheel ", false},
        {"Wheel +", false},
        {"Wheel 3.5", false},
        {"Wheel 99999999999999999999", false},
        {"Work", false},
        {"Wheel 007", true},
    };
    for (const auto& [name, numbered] : rows)
        EXPECT_EQ(isNumberedWheelName(name), numbered) << name;
}

} // namespace
} // namespace rondelix
