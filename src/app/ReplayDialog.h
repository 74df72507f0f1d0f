// The open dialog of "Replay Log": its filters and the folder it opens in.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace norq::app {

// The demo feed's folder below the program folder.
inline constexpr std::string_view kDemoFolder = "Demo/";

// The log-file filter first (with the recordings the viewer and its simulator
// write), then every file: "Log File (*.TXT *.txt *.nmea *.log);;All files (*)".
QString ReplayFileFilter(const QString& allFilesText);

// The folder of the last replayed file while it exists, else the demo folder of
// the program folder while that exists, else empty (the dialog's own choice).
QString ReplayDialogFolder(const std::string& lastReplayFolder, std::string_view programFolder);

}  // namespace norq::app
