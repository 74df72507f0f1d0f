#include "app/ReplayDialog.h"

#include <QFileInfo>

namespace norq::app {

QString ReplayFileFilter(const QString& allFilesText) {
    return QStringLiteral("Log File (*.TXT *.txt *.nmea *.log);;") + allFilesText;
}

QString ReplayDialogFolder(const std::string& lastReplayFolder, std::string_view programFolder) {
    const QString last = QString::fromStdString(lastReplayFolder);
    if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
    const QString demo =
        QString::fromUtf8(programFolder.data(), static_cast<qsizetype>(programFolder.size())) +
        QString::fromUtf8(kDemoFolder.data(), static_cast<qsizetype>(kDemoFolder.size()));
    if (!programFolder.empty() && QFileInfo(demo).isDir()) return demo;
    return {};
}

}  // namespace norq::app
