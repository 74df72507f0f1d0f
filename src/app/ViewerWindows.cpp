#include "app/ViewerWindows.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <filesystem>

#include "app/forms/AboutForm.h"
#include "app/forms/CpaSettingForm.h"
#include "app/forms/DemoParForm.h"
#include "app/forms/SearchForm.h"
#include "app/forms/SmallForms.h"

namespace norq::app {

namespace {

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

DataFolders OverriddenDataFolders(const std::string& folder) {
    std::error_code error;
    DataFolders folders;
    folders.dataFolder = WithSlash(folder);
    std::filesystem::create_directories(folders.dataFolder, error);
    const std::string nav = folders.dataFolder + std::string(kNavDataSubFolder);
    std::filesystem::create_directories(nav, error);
    if (std::filesystem::is_directory(nav, error)) folders.navDataFolder = nav;
    return folders;
}

}  // namespace

ViewerPaths ResolveViewerPaths(const FolderOverrides& overrides, const QString& executableFolder) {
    ViewerPaths paths;
    paths.programFolder = overrides.programFolder.empty()
                              ? LocateProgramFolder(executableFolder.toStdString())
                              : WithSlash(overrides.programFolder);
    if (!overrides.dataFolder.empty()) {
        paths.folders = OverriddenDataFolders(overrides.dataFolder);
    } else {
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        paths.folders = PrepareDataFolders(documents.toStdString());
    }
    paths.settingsFile =
        overrides.settingsFile.empty() ? SettingsFilePath(paths.folders) : overrides.settingsFile;
    return paths;
}

ViewerWindows::ViewerWindows(const ViewerPaths& paths, const ais::Clock& clock,
                             ui::Dialogs& dialogs, TfrmAbout* about) {
    if (about == nullptr) {
        ownAbout_ = std::make_unique<TfrmAbout>(paths.programFolder, paths.settingsFile);
        about = ownAbout_.get();
    }
    main_ = std::make_unique<TForm1>(paths, clock, dialogs);
    TForm1* main = main_.get();
    // In start-up order; the windows of subsystems not built yet (serial port
    // dialog, message log, own-ship settings, friend ships, destination, ...) are
    // created here in their places when they come.
    windows_.cpa = new TfrmCpaSetting(main->texts(), main);
    windows_.demoPar = new TfrmDemoPar(main);
    windows_.search = new TfrmSearch(*main, dialogs, main->texts(), main);
    windows_.options = new TfrmOptions(main);
    windows_.specificControl = new TfrmSpecificControl(main);
    windows_.popupMessage = new TfrmPopupMessage(main->texts(), main);
    windows_.about = about;
    main->attachWindows(windows_);
}

ViewerWindows::~ViewerWindows() {
    // The sub-windows are children of the main window and go with it.
    main_.reset();
    ownAbout_.reset();
}

void SetApplicationTitle() {
    QCoreApplication::setApplicationName(QStringLiteral("NORQ AIS Viewer"));
}

}  // namespace norq::app
