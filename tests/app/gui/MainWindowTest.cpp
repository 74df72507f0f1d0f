#include <QAction>
#include <QLabel>

#include "TrafficScene.h"
#include "ViewerFixture.h"

namespace norq::test {
namespace {

using MainWindowTest = ViewerTest;

TEST_F(MainWindowTest, StartsWithTheOwnShipLineAndAnEmptyCount) {
    EXPECT_EQ(main().shipListCaption(), QStringLiteral("SHIP LIST : 0"));
    EXPECT_EQ(main().shipListLineCount(), 1);
    EXPECT_TRUE(main().shipListLineText(0).startsWith(QStringLiteral("(Own)")));
}

}  // namespace
}  // namespace norq::test
