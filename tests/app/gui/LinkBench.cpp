// How the running viewer (offscreen) takes a live feed over TCP/IP on the
// loopback address, through the real link, intake and windows:
//
//   app_link_bench throughput [SECONDS]   a scene of 500 targets sent as fast as
//       the viewer reads it: sentences per second absorbed, with the views'
//       updates per second (the windows stay current) and the CPU it took
//   app_link_bench realtime SPEED [SECONDS [list]]   norq-sim on the demo
//       scenario at SPEED times real time: sentences per second and the
//       viewer's share of one core (on the chart page, or the list page)
//   app_link_bench memory [REPEATS]   the demo feed REPEATS times (2: an hour)
//       at top speed: resident size after the first minute of feed and at the end
//   app_link_bench screenshots DIR   the log, auto-saving and export windows on a
//       live feed from norq-sim, as PNG files in DIR
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "TrafficScene.h"
#include "ais/Clock.h"
#include "app/BaseNames.h"
#include "app/MainForm.h"
#include "app/ViewerLinks.h"
#include "app/ViewerWindows.h"
#include "base/TempFolder.h"
#include "comm/TSysSensorControl.h"
#include "comm/forms/AutoSavingForm.h"
#include "comm/forms/DeviceConnections.h"
#include "comm/forms/ExportForm.h"
#include "comm/forms/MsgLogForm.h"
#include "ui/Dialogs.h"

namespace {

double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}

// Counts the lines the links hand over.
class Counter final : public norq::comm::LineHook {
  public:
    void onLine(std::string_view, const norq::comm::LineOrigin&) override { ++lines; }
    long long lines = 0;
};

// A TCP server on 127.0.0.1 that sends `text` `repeats` times (0: until told to
// stop) to its one client, as fast as the client takes it.
class Sender {
  public:
    Sender(std::string text, int repeats) : text_(std::move(text)), repeats_(repeats) {
        listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(listen_, 1);
        socklen_t len = sizeof a;
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~Sender() {
        stop_ = true;
        ::shutdown(listen_, SHUT_RDWR);
        if (client_ >= 0) ::shutdown(client_, SHUT_RDWR);
        thread_.join();
        ::close(listen_);
        if (client_ >= 0) ::close(client_);
    }
    int port() const { return port_; }
    bool done() const { return done_; }

  private:
    void run() {
        client_ = ::accept(listen_, nullptr, nullptr);
        for (int r = 0; client_ >= 0 && !stop_ && (repeats_ == 0 || r < repeats_); ++r) {
            std::size_t at = 0;
            while (at < text_.size() && !stop_) {
                const ssize_t n =
                    ::send(client_, text_.data() + at, text_.size() - at, MSG_NOSIGNAL);
                if (n <= 0) return;
                at += static_cast<std::size_t>(n);
            }
        }
        done_ = true;
    }
    std::string text_;
    int repeats_;
    int listen_ = -1;
    int client_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
};

struct Viewer {
    Viewer() {
        overrides.dataFolder = folder.path("data");
        overrides.programFolder = NORQ_PROGRAM_FOLDER;
        paths = norq::app::ResolveViewerPaths(overrides, QString());
        windows = std::make_unique<norq::app::ViewerWindows>(paths, clock, dialogs);
        main().ApplyLanguage(0);
        main().show();
        QCoreApplication::processEvents();
        main().sensorControl().addLineHook(&counter);
    }
    ~Viewer() {
        main().sensorControl().removeLineHook(&counter);
        main().setExitQuery(false);
        main().close();
    }
    norq::app::TForm1& main() { return windows->main(); }
    void connect(int port) {
        norq::comm::TSysSensorControl& c = main().sensorControl();
        c.setInputType(norq::comm::kAisPort, norq::comm::InputType::Tcp);
        c.ConnectTcpTo("127.0.0.1", port);
        c.setInUse(norq::comm::kAisPort, true);
        // Connected, the viewer works without its start wizard (which polls the
        // machine's serial ports while it is shown).
        main().connections().dismissStartWizard();
    }
    // Runs the event loop (timers, hand-overs, view updates) for a while.
    void runFor(double seconds) {
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(seconds * 1000.0), &loop, &QEventLoop::quit);
        loop.exec();
    }

    norq::base::TempFolder folder;
    norq::app::FolderOverrides overrides;
    norq::app::ViewerPaths paths;
    norq::ais::SystemClock clock;
    norq::ui::QtDialogs dialogs;
    std::unique_ptr<norq::app::ViewerWindows> windows;
    Counter counter;
};

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines)
        text += l;
    return text;
}

int Throughput(double seconds) {
    norq::test::SceneOptions options;
    options.targets = 500;
    options.seconds = 30;
    options.reportEvery = 1;
    options.staticEvery = 10;
    Viewer viewer;
    Sender sender(Joined(norq::test::TrafficLines(options)), 0);
    viewer.connect(sender.port());
    viewer.runFor(1.0);  // the table fills
    for (norq::app::CentrePage page :
         {norq::app::CentrePage::Alpha, norq::app::CentrePage::Chart}) {
        viewer.main().setCentrePage(page);
        const long long lines = viewer.counter.lines;
        const int flushes = viewer.main().flushCount();
        const double cpu = CpuSeconds();
        QElapsedTimer t;
        t.start();
        viewer.runFor(seconds);
        const double wall = static_cast<double>(t.elapsed()) / 1000.0;
        const double used = CpuSeconds() - cpu;
        const double absorbed = static_cast<double>(viewer.counter.lines - lines);
        // On a shared machine the wall rate depends on the load; the rate per
        // CPU second is what the viewer itself costs.
        std::printf(
            "%-5s page: %8.0f sentences/s over TCP (%8.0f per CPU second), %5.1f view "
            "updates/s, %3.0f%% of a core, %d targets\n",
            page == norq::app::CentrePage::Alpha ? "grid" : "chart", absorbed / wall,
            absorbed / used, (viewer.main().flushCount() - flushes) / wall, 100.0 * used / wall,
            viewer.main().runState().tracker.table().count() - 1);
    }
    return 0;
}

// Starts norq-sim on the demo scenario as a TCP server; its port, or 0.
int StartSimulator(double speed, pid_t& sim) {
    int out[2];
    if (::pipe(out) != 0) return 0;
    const std::string speedText = std::to_string(speed);
    sim = ::fork();
    if (sim == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::execl(NORQ_SIM_PROGRAM, "norq-sim", NORQ_DEMO_SCENARIO, "--tcp=0", "--speed",
                speedText.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    char said[256] = {};
    const ssize_t n = ::read(out[0], said, sizeof said - 1);
    int port = 0;
    if (n <= 0 || std::sscanf(said, "tcp 127.0.0.1:%d", &port) != 1) return 0;
    return port;
}

void StopSimulator(pid_t sim) {
    ::kill(sim, SIGKILL);
    ::waitpid(sim, nullptr, 0);
}

int Screenshots(const std::string& folder) {
    pid_t sim = -1;
    const int port = StartSimulator(10.0, sim);
    if (port == 0) return 1;
    {
        Viewer viewer;
        viewer.main().resize(1280, 800);
        viewer.connect(port);
        viewer.main().links().log().setEnabled(true);
        viewer.main().links().showLogWindow();
        norq::comm::TfrmMsgLog* log = viewer.main().links().msgLogWindow();
        log->findChild<QCheckBox*>(QStringLiteral("cbxEnableLog"))->setChecked(true);
        viewer.runFor(6.0);
        log->refresh();
        log->grab().save(QString::fromStdString(folder + "/log-window.png"));
        viewer.main().links().showAutoSaving();
        norq::comm::TfrmAutoSaving* saving = viewer.main().links().autoSavingWindow();
        saving->findChild<QCheckBox*>(QStringLiteral("CheckBoxEnd"))->setChecked(true);
        saving->findChild<QCheckBox*>(QStringLiteral("CheckBoxAutoSave"))->setChecked(true);
        saving->findChild<QComboBox*>(QStringLiteral("ComboBoxRecordTime"))->setCurrentIndex(2);
        saving->findChild<QLineEdit*>(QStringLiteral("EditFileNameSetting"))
            ->setText(QStringLiteral("~/Documents/NORQ/Viewer/Watch_"));
        viewer.runFor(0.3);
        saving->grab().save(QString::fromStdString(folder + "/auto-saving-window.png"));
        viewer.main().links().showExport();
        norq::comm::TfrmExportAisInfo* exporting = viewer.main().links().exportWindow();
        viewer.runFor(0.3);
        exporting->grab().save(QString::fromStdString(folder + "/export-window.png"));
    }
    StopSimulator(sim);
    return 0;
}

int Realtime(double speed, double seconds, bool listPage) {
    pid_t sim = -1;
    const int port = StartSimulator(speed, sim);
    if (port == 0) return 1;
    {
        Viewer viewer;
        if (listPage) viewer.main().setCentrePage(norq::app::CentrePage::Alpha);
        const double idleCpu = CpuSeconds();
        QElapsedTimer idle;
        idle.start();
        viewer.runFor(10.0);  // no feed yet: the viewer's own timers
        std::printf(
            "viewer without a feed: %.2f%% of one core\n",
            100.0 * (CpuSeconds() - idleCpu) / (static_cast<double>(idle.elapsed()) / 1000.0));
        viewer.connect(port);
        viewer.runFor(5.0);  // past the first burst of the scene
        const long long lines = viewer.counter.lines;
        const double cpu = CpuSeconds();
        QElapsedTimer t;
        t.start();
        viewer.runFor(seconds);
        const double wall = static_cast<double>(t.elapsed()) / 1000.0;
        std::printf(
            "norq-sim at %.1fx: %.1f sentences/s, viewer %.2f%% of one core over %.0f s, "
            "%d targets\n",
            speed, static_cast<double>(viewer.counter.lines - lines) / wall,
            100.0 * (CpuSeconds() - cpu) / wall, wall,
            viewer.main().runState().tracker.table().count() - 1);
    }
    StopSimulator(sim);
    return 0;
}

int Memory(int repeats) {
    std::ifstream in(NORQ_DEMO_FEED, std::ios::binary);
    const std::string feed((std::istreambuf_iterator<char>(in)), {});
    long long feedLines = 0;
    for (char c : feed)
        feedLines += c == '\n' ? 1 : 0;
    // The demo feed is 30 minutes long: a minute of it is a thirtieth.
    const long long minute = feedLines / 30;
    Viewer viewer;
    Sender sender(feed, repeats);
    viewer.connect(sender.port());
    long afterMinute = -1;
    QElapsedTimer t;
    t.start();
    while (!sender.done() || viewer.counter.lines < feedLines * repeats - 100) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (afterMinute < 0 && viewer.counter.lines >= minute) afterMinute = ResidentKiB();
        if (t.elapsed() > 600000) break;
    }
    viewer.runFor(1.0);
    const long end = ResidentKiB();
    std::printf(
        "demo feed x%d (%lld lines, %.0f minutes of feed) in %.1f s: resident %ld KiB "
        "after the first minute, %ld KiB at the end (%+.1f%%)\n",
        repeats, viewer.counter.lines, 30.0 * repeats, static_cast<double>(t.elapsed()) / 1000.0,
        afterMinute, end,
        100.0 * static_cast<double>(end - afterMinute) / static_cast<double>(afterMinute));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "throughput";
    if (mode == "throughput") return Throughput(argc > 2 ? std::atof(argv[2]) : 5.0);
    if (mode == "realtime")
        return Realtime(argc > 2 ? std::atof(argv[2]) : 1.8, argc > 3 ? std::atof(argv[3]) : 60.0,
                        argc > 4 && std::string(argv[4]) == "list");
    if (mode == "memory") return Memory(argc > 2 ? std::atoi(argv[2]) : 2);
    if (mode == "screenshots") return Screenshots(argc > 2 ? argv[2] : ".");
    std::fprintf(stderr, "usage: app_link_bench throughput|realtime|memory [...]\n");
    return 2;
}
