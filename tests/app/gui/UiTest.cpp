// The platform layer: the hand-over of events from a worker thread to the
// window's thread, and the page control whose headers hide one by one.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <thread>

#include "app/BaseNames.h"
#include "app/forms/SmallForms.h"
#include "base/LanguageTable.h"
#include "ui/PageControl.h"
#include "ui/WindowThread.h"

namespace norq::ui {
namespace {

TEST(WindowThreadTest, AWorkerBlocksUntilTheHandlerRanOnTheWindowThread) {
    QObject context;
    std::atomic<bool> workerReturned{false};
    QThread* ranOn = nullptr;
    bool handlerFinishedFirst = false;
    QEventLoop loop;
    std::thread worker([&] {
        const bool ran = RunOnWindowThread(&context, [&] {
            ranOn = QThread::currentThread();
            handlerFinishedFirst = !workerReturned.load();
        });
        workerReturned = true;
        EXPECT_TRUE(ran);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    worker.join();
    EXPECT_TRUE(workerReturned);
    EXPECT_EQ(ranOn, QThread::currentThread());
    EXPECT_TRUE(handlerFinishedFirst);
    // On the window's thread itself the handler runs at once.
    int calls = 0;
    EXPECT_TRUE(RunOnWindowThread(&context, [&] { ++calls; }));
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(RunOnWindowThread(nullptr, [&] { ++calls; }));
}

TEST(PageControlTest, APageCanBeActiveWithItsHeaderHidden) {
    PageControl pages;
    const int vessel = pages.addPage(new QLabel(QStringLiteral("vessel")), QStringLiteral("V"));
    const int aton = pages.addPage(new QLabel(QStringLiteral("aton")), QStringLiteral("A"));
    EXPECT_TRUE(pages.tabRowVisible());
    pages.setTabVisible(vessel, false);
    pages.setTabVisible(aton, false);
    EXPECT_FALSE(pages.tabRowVisible());
    EXPECT_EQ(pages.activePage(), vessel);
    int changes = 0;
    QObject::connect(&pages, &PageControl::activePageChanged, [&](int) { ++changes; });
    pages.setTabVisible(aton, true);
    pages.setActivePage(aton);
    EXPECT_TRUE(pages.tabRowVisible());
    EXPECT_EQ(pages.activePage(), aton);
    pages.setActivePage(vessel);
    EXPECT_EQ(pages.activePage(), vessel);
    EXPECT_EQ(changes, 2);
    pages.setActivePage(7);  // no such page
    EXPECT_EQ(pages.activePage(), vessel);
}

TEST(PopupMessageTest, TheKindChoosesTheCaption) {
    base::TextStore texts;
    app::TfrmPopupMessage popup(texts);
    popup.showMessage(QStringLiteral("Route too long"), 1);
    EXPECT_EQ(popup.windowTitle(), QStringLiteral("Error"));
    EXPECT_EQ(popup.messageText(), QStringLiteral("Route too long"));
    popup.showMessage(QStringLiteral("Check"), 0);
    EXPECT_EQ(popup.windowTitle(), QStringLiteral("Warning"));
    popup.close();
}

}  // namespace
}  // namespace norq::ui
