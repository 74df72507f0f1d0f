// The viewer's windows, created once at start-up in their order (the main window
// first) and kept until the end; and where the viewer's folders are.
#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "ais/Clock.h"
#include "app/MainForm.h"
#include "ui/Dialogs.h"

namespace norq::app {

class TfrmAbout;

// Where the files are, with the overrides of the command line or environment.
struct FolderOverrides {
    std::string dataFolder;     // used as the data folder itself (NORQ_DATA_DIR, --data-dir)
    std::string settingsFile;   // the settings file (--settings)
    std::string programFolder;  // read-only files (NORQ_PROGRAM_DIR is honoured anyway)
};
inline constexpr const char* kDataDirVariable = "NORQ_DATA_DIR";

// The program folder next to `executableFolder` (or installed), the data folder
// below the documents folder, and the settings file in it, unless overridden.
ViewerPaths ResolveViewerPaths(const FolderOverrides& overrides, const QString& executableFolder);

class ViewerWindows {
  public:
    // Creates the main window, then every other window in start-up order. The
    // About window is made before them by the program entry (it is the splash)
    // and handed over; without one, one is made here.
    ViewerWindows(const ViewerPaths& paths, const ais::Clock& clock, ui::Dialogs& dialogs,
                  TfrmAbout* about = nullptr);
    ~ViewerWindows();
    ViewerWindows(const ViewerWindows&) = delete;
    ViewerWindows& operator=(const ViewerWindows&) = delete;

    TForm1& main() { return *main_; }
    const SubWindows& windows() const { return windows_; }

  private:
    std::unique_ptr<TfrmAbout> ownAbout_;
    std::unique_ptr<TForm1> main_;
    SubWindows windows_;
};

// The application's title, "NORQ AIS Viewer". Only the application name is set:
// a display name would make the window system append " — NORQ AIS Viewer" to the
// caption of every dialog ("Exit!", "Warning").
void SetApplicationTitle();

}  // namespace norq::app
