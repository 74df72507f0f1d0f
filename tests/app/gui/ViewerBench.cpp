// How fast the main window absorbs a feed: a scene of 500 targets fed through the
// sentence intake as fast as it goes, the window (offscreen) showing the ship
// list, the grid and the details, with one turn of the event loop (flush and
// repaint) after every 100 lines, as the replay tick hands them over.
//
//   app_gui_bench [seconds]                      sentences per second absorbed
//   app_gui_bench --write-recording FILE [N] [S] writes a recording of N targets
//                                                over S seconds (the test fixture)
#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include "TrafficScene.h"
#include "ais/Clock.h"
#include "app/BaseNames.h"
#include "app/MainForm.h"
#include "app/TargetGridSort.h"
#include "app/ViewerWindows.h"
#include "base/TempFolder.h"
#include "ui/Dialogs.h"

namespace {

int WriteRecording(const char* file, int targets, int seconds) {
    norq::test::SceneOptions options;
    options.targets = targets;
    options.seconds = seconds;
    std::ofstream out(file, std::ios::binary);
    for (const std::string& line : norq::test::TrafficLines(options))
        out << line;
    return out ? 0 : 1;
}

// Counts the paints of the views it watches.
class PaintCounter final : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return QObject::eventFilter(watched, event);
    }
    int paints = 0;
};

struct Result {
    double perSecond = 0.0;     // sentences per second of wall time
    double perCpuSecond = 0.0;  // sentences per second of this process's CPU time
    int flushes = 0;            // times the views were brought up to date
};

// Feeds the scene over and over for `seconds` of wall time, one turn of the event
// loop (timers, the views' flush and repaint) after every `perTurn` lines.
Result Run(norq::app::TForm1& main, const std::vector<std::string>& lines, int perTurn,
           double seconds) {
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpuStart = std::clock();
    const int flushesBefore = main.flushCount();
    long long fed = 0;
    std::size_t next = 0;
    while (timer.elapsed() < static_cast<qint64>(seconds * 1000.0)) {
        for (int i = 0; i < perTurn; ++i) {
            main.runState().ReceiveLine(lines[next], false);
            next = (next + 1) % lines.size();
        }
        fed += perTurn;
        QCoreApplication::processEvents();
    }
    const double wall = static_cast<double>(timer.elapsed()) / 1000.0;
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    return {static_cast<double>(fed) / wall, static_cast<double>(fed) / cpu,
            main.flushCount() - flushesBefore};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "--write-recording") {
        return WriteRecording(argv[2], argc > 3 ? std::atoi(argv[3]) : 24,
                              argc > 4 ? std::atoi(argv[4]) : 60);
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;

    norq::base::TempFolder folder;
    norq::app::FolderOverrides overrides;
    overrides.dataFolder = folder.path("data");
    overrides.programFolder = NORQ_PROGRAM_FOLDER;
    const norq::app::ViewerPaths paths = norq::app::ResolveViewerPaths(overrides, QString());
    norq::ais::SystemClock clock;
    norq::ui::QtDialogs dialogs;
    norq::app::ViewerWindows windows(paths, clock, dialogs);
    norq::app::TForm1& main = windows.main();
    main.ApplyLanguage(0);
    main.show();
    QCoreApplication::processEvents();
    PaintCounter gridPaints;
    PaintCounter listPaints;
    main.findChild<QAbstractItemView*>(QStringLiteral("StringGrid1"))
        ->viewport()
        ->installEventFilter(&gridPaints);
    main.findChild<QAbstractItemView*>(QStringLiteral("ListBoxShip"))
        ->viewport()
        ->installEventFilter(&listPaints);

    norq::test::SceneOptions options;
    options.targets = 500;
    options.seconds = 30;
    options.reportEvery = 1;  // every target every second: the table stays full
    options.staticEvery = 10;
    const std::vector<std::string> lines = norq::test::TrafficLines(options);
    std::printf("%zu sentences, 500 targets\n", lines.size());

    // The grid in entry order, the grid sorted by CPA with the dangerous targets
    // first (rows re-sorted as their cells change), and the chart page.
    auto* sort = main.findChild<norq::app::TargetGridSort*>();
    struct Case {
        const char* name;
        norq::app::CentrePage page;
        bool sorted;
    };
    for (const Case& c : {Case{"grid", norq::app::CentrePage::Alpha, false},
                          Case{"sorted", norq::app::CentrePage::Alpha, true},
                          Case{"chart", norq::app::CentrePage::Chart, false}}) {
        main.setCentrePage(c.page);
        sort->setDangerousFirst(c.sorted);
        sort->sortByColumn(c.sorted ? 12 : -1, Qt::AscendingOrder);
        gridPaints.paints = 0;
        listPaints.paints = 0;
        const Result r = Run(main, lines, 100, seconds);
        std::printf(
            "%-6s page: %8.0f sentences/s wall, %8.0f per CPU second, %d view updates, "
            "%d grid and %d list paints, %d targets\n",
            c.name, r.perSecond, r.perCpuSecond, r.flushes, gridPaints.paints, listPaints.paints,
            main.runState().tracker.table().count() - 1);
    }
    main.setExitQuery(false);
    main.close();
    return 0;
}
