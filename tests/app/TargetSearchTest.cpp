#include <gtest/gtest.h>

#include <cstring>

#include "app/TargetSearch.h"

namespace norq::app {
namespace {

class TargetSearchTest : public ::testing::Test {
  protected:
    int add(std::uint32_t mmsi, const char* name) {
        bool isNew = false;
        const int index = table_.findOrAdd(mmsi, false, isNew);
        std::strncpy(table_[index].name.data(), name, table_[index].name.size() - 1);
        return index;
    }
    ais::TargetTable table_;
};

TEST_F(TargetSearchTest, MmsiDigitsMatchAnywhereInTheNineDigits) {
    const int a = add(412345678, "ALPHA");
    const int b = add(5123001, "BRAVO");  // "005123001"
    EXPECT_EQ(FindTarget(table_, 0, "123", SearchMode::Mmsi, false), a);
    EXPECT_EQ(FindTarget(table_, a, "123", SearchMode::Mmsi, false), b);
    // Leading zeros of the nine-digit form count.
    EXPECT_EQ(FindTarget(table_, 0, "0051", SearchMode::Mmsi, false), b);
    EXPECT_EQ(FindTarget(table_, 0, "999", SearchMode::Mmsi, false), -1);
}

TEST_F(TargetSearchTest, StartsAfterTheSelectionAndWrapsOncePassingTheSelectionLast) {
    const int a = add(211000001, "HARBOUR ONE");
    add(211000002, "PILOT");
    const int c = add(211000003, "HARBOUR TWO");
    EXPECT_EQ(FindTarget(table_, a, "HARBOUR", SearchMode::Name, false), c);
    EXPECT_EQ(FindTarget(table_, c, "HARBOUR", SearchMode::Name, false), a);
    // Only the selected entry matches: a full pass finds it again.
    EXPECT_EQ(FindTarget(table_, a, "ONE", SearchMode::Name, false), a);
    // No selection: from the first entry (the own ship) on.
    EXPECT_EQ(FindTarget(table_, -1, "PILOT", SearchMode::Name, false), 2);
}

TEST_F(TargetSearchTest, NamesCompareUpperCasedUnlessCaseSensitive) {
    const int a = add(211000001, "Sea Star");
    EXPECT_EQ(FindTarget(table_, 0, "sea st", SearchMode::Name, false), a);
    EXPECT_EQ(FindTarget(table_, 0, "sea st", SearchMode::Name, true), -1);
    EXPECT_EQ(FindTarget(table_, 0, "Sea St", SearchMode::Name, true), a);
    EXPECT_EQ(FindTarget(table_, 0, "", SearchMode::Name, false), -1);
    // A text longer than any name matches nothing (and reads nothing beyond it).
    EXPECT_EQ(FindTarget(table_, 0, std::string(40, 'S'), SearchMode::Name, false), -1);
}

}  // namespace
}  // namespace norq::app
