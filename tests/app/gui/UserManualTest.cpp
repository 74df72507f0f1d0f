// "Help > User Manual(&M)": opens the manual of the program folder, the PDF first,
// the HTML page where only that was made, nothing where neither is there.
#include <QAction>
#include <QFileInfo>
#include <string>

#include "ViewerFixture.h"
#include "base/DataFolder.h"

namespace norq::test {
namespace {

class UserManualTest : public ViewerTest {
  protected:
    // Restarts the viewer on a program folder of the test's own, holding `files`.
    void startOn(std::initializer_list<std::string_view> files) {
        stop();
        for (std::string_view file : files)
            folder_.write("program/" + std::string(file), "manual");
        programFolder_ = folder_.path("program/");
        start();
    }
    void openManual() {
        QAction* item = main().action(QStringLiteral("mnuUserManual"));
        ASSERT_NE(item, nullptr);
        ASSERT_TRUE(item->isEnabled());
        item->trigger();
    }
    QString programFile(std::string_view file) const {
        return QString::fromStdString(base::ProgramFilePath(programFolder_, file));
    }
};

TEST_F(UserManualTest, OpensThePdfOfTheProgramFolder) {
    startOn({base::kManualFile, base::kManualHtmlFile});
    openManual();
    ASSERT_EQ(dialogs_.openedDocuments.size(), 1u);
    EXPECT_EQ(dialogs_.openedDocuments[0], programFile(base::kManualFile));
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(UserManualTest, OpensTheHtmlPageWhereThePdfWasNotMade) {
    startOn({base::kManualHtmlFile});
    openManual();
    ASSERT_EQ(dialogs_.openedDocuments.size(), 1u);
    EXPECT_EQ(dialogs_.openedDocuments[0], programFile(base::kManualHtmlFile));
}

TEST_F(UserManualTest, WithoutAManualDoesNothing) {
    startOn({});
    openManual();
    EXPECT_TRUE(dialogs_.openedDocuments.empty());
    EXPECT_TRUE(dialogs_.shown.empty());
}

#ifdef NORQ_MANUAL_BUILT
// The build puts the manual where the installation takes it from: the build-tree
// program folder.
TEST_F(UserManualTest, FindsTheManualTheBuildMade) {
    openManual();
    ASSERT_EQ(dialogs_.openedDocuments.size(), 1u);
    const QFileInfo opened(dialogs_.openedDocuments[0]);
    EXPECT_TRUE(opened.isFile());
    EXPECT_GT(opened.size(), 10000);
    EXPECT_TRUE(opened.filePath().startsWith(QStringLiteral(NORQ_PROGRAM_FOLDER)));
}
#endif

}  // namespace
}  // namespace norq::test
