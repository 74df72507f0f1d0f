// A viewer with all its windows for a test: its own data folder and settings
// file in a temporary folder, the delivered language files of the build, a clock
// the test sets, and message boxes that answer as the test says.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstdlib>
#include <deque>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "ais/Clock.h"
#include "app/BaseNames.h"
#include "app/MainForm.h"
#include "app/ViewerWindows.h"
#include "base/TempFolder.h"
#include "ui/Dialogs.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace norq::test {

// Writes a picture of a window when NORQ_SCREENSHOT_DIR is set (the docs'
// screenshots are made this way).
inline void Screenshot(QWidget& window, const char* name) {
    const char* dir = std::getenv("NORQ_SCREENSHOT_DIR");
    if (dir == nullptr) return;
    QApplication::processEvents();
    window.grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name));
}

class FakeDialogs final : public ui::Dialogs {
  public:
    struct Shown {
        QString caption;
        QString text;
        ui::MessageIcon icon;
        ui::MessageButtons buttons;
    };

    ui::MessageAnswer message(QWidget*, const QString& caption, const QString& text,
                              ui::MessageIcon icon, ui::MessageButtons buttons) override {
        shown.push_back({caption, text, icon, buttons});
        if (!answers.empty()) {
            const ui::MessageAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == ui::MessageButtons::YesNo ? ui::MessageAnswer::No : ui::MessageAnswer::Ok;
    }
    QString openFileName(QWidget*, const QString&, const QString&) override {
        ++openDialogs;
        return openFile;
    }
    QString openFileNameIn(QWidget*, const QString&, const QString& folder,
                           const QString& filters) override {
        openFolder = folder;
        openFilters = filters;
        ++openDialogs;
        return openFile;
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return saveFile;
    }
    bool openDocument(const QString& path) override {
        openedDocuments.push_back(path);
        return true;
    }

    std::vector<Shown> shown;
    std::deque<ui::MessageAnswer> answers;
    QString openFile;
    QString saveFile;
    int openDialogs = 0;
    QString openFolder;  // the folder and filters of the last open dialog
    QString openFilters;
    std::vector<QString> openedDocuments;  // what openDocument was asked to open
};

class ViewerTest : public ::testing::Test {
  protected:
    void SetUp() override { start(); }

    // Starts the viewer on the temporary folder (with a settings file written
    // beforehand, if any).
    void start() {
        app::FolderOverrides overrides;
        overrides.dataFolder = folder_.path("data");
        overrides.programFolder = programFolder_;
        paths_ = app::ResolveViewerPaths(overrides, QString());
        windows_ = std::make_unique<app::ViewerWindows>(paths_, clock_, dialogs_);
        main().ApplyLanguage();
    }
    // Closes the viewer (which writes its settings) and removes its windows.
    void stop() {
        if (windows_) {
            main().setExitQuery(false);
            main().close();
        }
        windows_.reset();
    }
    void TearDown() override { stop(); }

    app::TForm1& main() { return windows_->main(); }
    // Every line through the intake, as received from a live port.
    void feed(const std::vector<std::string>& lines) {
        for (const std::string& line : lines)
            main().runState().ReceiveLine(line, true);
        main().flushViews();
    }
    std::string settingsFile() const { return paths_.settingsFile; }
    const base::TempFolder& folder() const { return folder_; }

    base::TempFolder folder_;
    ais::ManualClock clock_;
    FakeDialogs dialogs_;
    app::ViewerPaths paths_;
    // The program folder of the next start(): the build tree's, unless a test sets another.
    std::string programFolder_ = NORQ_PROGRAM_FOLDER;
    std::unique_ptr<app::ViewerWindows> windows_;
};

}  // namespace norq::test
