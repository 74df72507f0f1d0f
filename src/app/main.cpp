// Program entry: the About window as splash, the windows in their order, the
// language, 1.5 s of splash, then the event loop.
//
// Command line (all optional):
//   --replay FILE          start replaying FILE once the main window is shown
//   --screenshot FILE      save a PNG of the main window ...
//   --quit-after SECONDS   ... this many seconds after it was shown, then exit
//   --settings FILE        use FILE as the settings file
//   --data-dir DIR         use DIR as the data folder (also: NORQ_DATA_DIR)
//   --language N           start in language N (0 English, 1 Traditional Chinese)
//   --play-log N           replay lines per 100 ms tick (1-100) for this run
//   --timing               print the time from process start to the first paint
//   --connect SOURCE       connect the AIS sensor at start to tcp://HOST:PORT,
//                          udp://[HOST]:PORT, a multicast group
//                          udp://GROUP:PORT[?if=INTERFACE] or a serial device
//                          /dev/ttyX[:RATE]
//   --chart-scale N        the chart's scale index (0 = 800 nm ... 14 = 0.05 nm per ring)
//   --colour-scheme N      0 Day Bright, 1 Day White, 2 Day Black, 3 Dusk, 4 Night
//   --orientation N        0 north-up, 1 head-up, 2 course-up
//   --screenshot-chart FILE  save a PNG of the chart view alone (with --quit-after)
//   --all-features         show the items the shipped feature configuration hides
//   --check-data           print the program folder and the delivered files missing
//                          from it, then exit (1 when a file the viewer needs is missing);
//                          needs no display
//   --screenshot-crew PREFIX  save PNGs of the crew page, crew list, event log,
//                          rescue guide and alarm popup as PREFIX-<window>.png
//   --crew-watch           show the crew-watch items the shipped configuration hides
//                          (as [VIEW] ShowCrewWatch=1 does)
//   --page chart|list|crew the centre page to show first
#include <unistd.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "ais/Clock.h"
#include "app/CrewWindows.h"
#include "app/ViewerWindows.h"
#include "app/forms/AboutForm.h"
#include "base/DataFolder.h"
#include "ui/Dialogs.h"

namespace {

using norq::app::TForm1;

constexpr int kSplashMilliseconds = 1500;

struct ViewerOptions {
    QString replayFile;
    QString screenshotFile;
    double quitAfterSeconds = -1.0;
    norq::app::FolderOverrides folders;
    int language = -1;
    QString page;
    int playLog = 0;
    bool timing = false;
    QString connect;
    int chartScale = -1;
    int colourScheme = -1;
    int orientation = -1;
    QString chartScreenshotFile;
    bool allFeatures = false;
    bool crewWatch = false;
    QString crewScreenshotPrefix;
};

ViewerOptions ParseOptions(const QApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("NORQ AIS Viewer"));
    parser.addHelpOption();
    const QCommandLineOption replay(QStringLiteral("replay"), QStringLiteral("Replay FILE."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save a PNG of the main window."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption quitAfter(QStringLiteral("quit-after"),
                                       QStringLiteral("Exit SECONDS after showing."),
                                       QStringLiteral("SECONDS"));
    const QCommandLineOption settings(QStringLiteral("settings"),
                                      QStringLiteral("Settings file to use."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("Data folder to use."), QStringLiteral("DIR"));
    const QCommandLineOption language(QStringLiteral("language"),
                                      QStringLiteral("Language 0, 1 or 2."), QStringLiteral("N"));
    const QCommandLineOption page(QStringLiteral("page"), QStringLiteral("chart or list."),
                                  QStringLiteral("PAGE"));
    const QCommandLineOption playLog(QStringLiteral("play-log"),
                                     QStringLiteral("Replay lines per 100 ms."),
                                     QStringLiteral("N"));
    const QCommandLineOption chartScale(QStringLiteral("chart-scale"),
                                        QStringLiteral("Chart scale index 0-14."),
                                        QStringLiteral("N"));
    const QCommandLineOption colourScheme(
        QStringLiteral("colour-scheme"), QStringLiteral("Colour scheme 0-4."), QStringLiteral("N"));
    const QCommandLineOption orientation(QStringLiteral("orientation"),
                                         QStringLiteral("0 north-up, 1 head-up, 2 course-up."),
                                         QStringLiteral("N"));
    const QCommandLineOption chartShot(QStringLiteral("screenshot-chart"),
                                       QStringLiteral("Save a PNG of the chart view."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption allFeatures(
        QStringLiteral("all-features"),
        QStringLiteral("Show the items the shipped feature configuration hides."));
    const QCommandLineOption checkData(
        QStringLiteral("check-data"),
        QStringLiteral("Print the program folder and the delivered files missing from it."));
    const QCommandLineOption crewShot(QStringLiteral("screenshot-crew"),
                                      QStringLiteral("Save PNGs of the crew windows."),
                                      QStringLiteral("PREFIX"));
    const QCommandLineOption crewWatch(QStringLiteral("crew-watch"),
                                       QStringLiteral("Show the crew-watch items."));
    const QCommandLineOption timing(QStringLiteral("timing"),
                                    QStringLiteral("Print the start-up time."));
    const QCommandLineOption connect(QStringLiteral("connect"),
                                     QStringLiteral("Connect the AIS sensor to SOURCE at start "
                                                    "(tcp://HOST:PORT, udp://[HOST]:PORT, "
                                                    "udp://GROUP:PORT[?if=INTERFACE], "
                                                    "/dev/ttyX[:RATE])."),
                                     QStringLiteral("SOURCE"));
    parser.addOptions({replay, screenshot, quitAfter, settings, dataDir, language, page, playLog,
                       timing, connect, chartScale, colourScheme, orientation, chartShot,
                       allFeatures, checkData, crewWatch, crewShot});
    parser.process(app);

    ViewerOptions options;
    options.replayFile = parser.value(replay);
    options.screenshotFile = parser.value(screenshot);
    if (parser.isSet(quitAfter)) options.quitAfterSeconds = parser.value(quitAfter).toDouble();
    options.folders.settingsFile = parser.value(settings).toStdString();
    options.folders.dataFolder = parser.value(dataDir).toStdString();
    if (options.folders.dataFolder.empty()) {
        options.folders.dataFolder =
            qEnvironmentVariable(norq::app::kDataDirVariable).toStdString();
    }
    if (parser.isSet(language)) options.language = parser.value(language).toInt();
    options.page = parser.value(page);
    if (parser.isSet(playLog)) options.playLog = parser.value(playLog).toInt();
    options.timing = parser.isSet(timing);
    options.connect = parser.value(connect);
    if (parser.isSet(chartScale)) options.chartScale = parser.value(chartScale).toInt();
    if (parser.isSet(colourScheme)) options.colourScheme = parser.value(colourScheme).toInt();
    if (parser.isSet(orientation)) options.orientation = parser.value(orientation).toInt();
    options.chartScreenshotFile = parser.value(chartShot);
    options.allFeatures = parser.isSet(allFeatures);
    options.crewWatch = parser.isSet(crewWatch);
    options.crewScreenshotPrefix = parser.value(crewShot);
    return options;
}

// Milliseconds since this process started, from the kernel's record of it.
double MillisecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) return -1.0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    // Field 22 (starttime) is the 20th after the command name.
    for (int i = 0; i < 20 && fields >> field; ++i) {
    }
    double uptime = 0.0;
    std::ifstream("/proc/uptime") >> uptime;
    const double ticks = static_cast<double>(::sysconf(_SC_CLK_TCK));
    return (uptime - std::stod(field) / ticks) * 1000.0;
}

// Reports the first paint of the main window.
class FirstPaintProbe final : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            std::printf("first paint of the main window after %.0f ms\n",
                        MillisecondsSinceProcessStart());
            std::fflush(stdout);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool reported_ = false;
};

void ScheduleScreenshot(TForm1& main, const ViewerOptions& options) {
    if (options.quitAfterSeconds < 0.0) return;
    const int delay = static_cast<int>(options.quitAfterSeconds * 1000.0);
    QTimer::singleShot(delay, &main,
                       [&main, file = options.screenshotFile, chart = options.chartScreenshotFile,
                        crew = options.crewScreenshotPrefix] {
                           main.flushViews();
                           if (!crew.isEmpty()) main.crew().saveScreenshots(crew);
                           if (!file.isEmpty() && !main.grab().save(file, "PNG")) {
                               std::fprintf(stderr, "could not write %s\n", qPrintable(file));
                           }
                           if (!chart.isEmpty() && !main.grabChart().save(chart, "PNG")) {
                               std::fprintf(stderr, "could not write %s\n", qPrintable(chart));
                           }
                           main.setExitQuery(false);
                           main.close();
                       });
}

// --check-data: where the program folder is and what it lacks, without a window (so
// that an installation can be checked on a machine without a display).
bool WantsDataCheck(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--check-data") == 0) return true;
    }
    return false;
}

int CheckData() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string folder = norq::base::LocateProgramFolder(
        error ? std::string(".") : executable.parent_path().string());
    std::printf("program folder: %s\n", folder.c_str());
    const norq::base::MissingFiles missing = norq::base::CheckProgramFolder(folder);
    for (std::string_view file : missing.required) {
        std::printf("missing: %.*s\n", static_cast<int>(file.size()), file.data());
    }
    for (std::string_view file : missing.optional) {
        std::printf("missing (optional): %.*s\n", static_cast<int>(file.size()), file.data());
    }
    if (missing.required.empty()) std::printf("every file the viewer needs is there\n");
    return missing.required.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (WantsDataCheck(argc, argv)) return CheckData();
    // 1. The application.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("NORQ AIS Viewer"));
    // The desktop entry (data/desktop) that names the icon the desktop shows for it.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.norq.AisViewer"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/org.norq.AisViewer.svg")));
    const ViewerOptions options = ParseOptions(app);
    const norq::app::ViewerPaths paths =
        norq::app::ResolveViewerPaths(options.folders, QCoreApplication::applicationDirPath());

    // 2. The About window as splash, without its OK button.
    norq::app::TfrmAbout about(paths.programFolder, paths.settingsFile);
    about.setOkVisible(false);
    about.show();
    // 3. The application title.
    norq::app::SetApplicationTitle();

    // 4. The windows, the main window first.
    norq::ais::SystemClock clock;
    norq::ui::QtDialogs dialogs;
    norq::app::ViewerWindows windows(paths, clock, dialogs, &about);
    TForm1& main = windows.main();
    if (options.playLog > 0 && norq::base::kPlayLogRange.contains(options.playLog)) {
        main.settings().playLog = options.playLog;
    }
    // 5. The language.
    main.ApplyLanguage(options.language);
    if (options.crewWatch) main.showCrewWatch();
    if (options.page == QStringLiteral("list")) main.setCentrePage(norq::app::CentrePage::Alpha);
    if (options.page == QStringLiteral("crew")) main.setCentrePage(norq::app::CentrePage::Crew);
    if (!options.connect.isEmpty()) main.setStartupConnection(options.connect);
    if (options.allFeatures) main.showAllFeatures();

    FirstPaintProbe probe;
    if (options.timing) {
        std::printf("windows created and language applied after %.0f ms\n",
                    MillisecondsSinceProcessStart());
        main.installEventFilter(&probe);
    }
    QObject::connect(&main, &TForm1::closed, &app, &QApplication::quit);

    // 6. The splash stays 1.5 s, then the main window comes up.
    about.repaint();
    QTimer::singleShot(kSplashMilliseconds, &main, [&] {
        about.close();
        about.setOkVisible(true);
        main.show();
        main.setChartView(options.chartScale, options.colourScheme, options.orientation);
        if (!options.replayFile.isEmpty()) main.startReplay(options.replayFile);
        ScheduleScreenshot(main, options);
    });

    // 7. The event loop; an error that reaches it is shown in an error box.
    try {
        return app.exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Error"), QString::fromUtf8(error.what()));
        return 1;
    }
}
