// The main window (TForm1): menus, tool bar, top information strip, the centre
// pages (chart, alphanumeric grid, crew list), the ship list with the detail
// pages, the status row, the timers, start-up and shutdown.
//
// It owns the run-time state (RunState) and shows what the logic reports through
// the target, own-ship and GNSS view interfaces. Reports are gathered and shown in
// one pass (flushViews) at most every 40 ms, so a fast feed costs at most 25
// repaints a second, not one per sentence.
//
// The implementation is split by concern: MainForm.cpp (creation, first showing,
// shutdown), MainFormLayout.cpp (widgets), MainFormMenus.cpp (menus, tool bar and
// the shipped feature configuration), MainFormTimers.cpp (timers and replay),
// MainFormTargets.cpp (the view interfaces) and MainFormLanguage.cpp (texts).
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "ais/OwnShip.h"
#include "ais/RunState.h"
#include "ais/TargetTexts.h"
#include "ais/TargetViews.h"
#include "app/BaseNames.h"
#include "app/FollowUpsFanOut.h"
#include "app/WindowSettings.h"
#include "app/forms/DemoParForm.h"
#include "app/forms/SearchForm.h"
#include "base/DataFolder.h"
#include "base/LanguageTable.h"
#include "base/Settings.h"
#include "chart/OrientationFollow.h"
#include "comm/LogReplay.h"
#include "comm/TSysSensorControl.h"
#include "ui/Dialogs.h"
#include "ui/Sound.h"

class QAction;
class QActionGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QListView;
class QMenu;
class QStackedWidget;
class QTabWidget;
class QTableView;
class QTimer;
class QToolButton;
class QSlider;
class QPixmap;

namespace norq::ui {
class PageControl;
}
namespace norq::comm {
class DeviceConnections;
}

namespace norq::chart {
class TPaintChart;
class TfrmGpsStatus;
struct GeoPoint;
}  // namespace norq::chart

namespace norq::app {

class AlarmWindows;
class ChartMeasure;
class CrewWindows;
class NavigationHub;
class BroadcastWindows;
class RegionWindows;
class DetailPanes;
class ShipListModel;
class TargetGridModel;
class TargetGridSort;
class CpaAlarmPanel;
class ViewFollow;
class TfrmAbout;
class TfrmCpaSetting;
class TfrmDemoPar;
class TfrmOptions;
class TfrmPopupMessage;
class TfrmSearch;
class TfrmSpecificControl;
class ViewerLinks;

// Where the viewer finds and keeps its files.
struct ViewerPaths {
    std::string programFolder;  // read-only delivered files, ends with '/'
    DataFolders folders;        // data folder and NAV_Data/
    std::string settingsFile;   // NorqAisViewer.ini
};

// The other windows, created after the main window and handed to it.
struct SubWindows {
    TfrmCpaSetting* cpa = nullptr;
    TfrmDemoPar* demoPar = nullptr;
    TfrmSearch* search = nullptr;
    TfrmOptions* options = nullptr;
    TfrmSpecificControl* specificControl = nullptr;
    TfrmPopupMessage* popupMessage = nullptr;
    TfrmAbout* about = nullptr;
};

// Centre pages, in the order of the page control.
enum class CentrePage { Chart = 0, Alpha = 1, Crew = 2, MobAlarm = 3 };

class TForm1 final : public QMainWindow,
                     public ais::TargetView,
                     public ais::OwnShipView,
                     public ais::GnssView,
                     public ais::TransmitterHandler,
                     public SearchHost {
    Q_OBJECT

  public:
    TForm1(const ViewerPaths& paths, const ais::Clock& clock, ui::Dialogs& dialogs,
           QWidget* parent = nullptr);
    ~TForm1() override;

    void attachWindows(const SubWindows& windows);
    // Ticks the language item of the index (stored index for -1; English for any
    // unknown value) and loads that language into every window.
    void ApplyLanguage(int index = -1);
    // Sets the replay file and starts the replay as "Replay Log" would.
    void startReplay(const QString& file);
    // Shows the reported changes now (normally done once per event-loop turn).
    void flushViews();
    // Closing asks "Are you sure to exit?" while this is set (from start-up on).
    void setExitQuery(bool ask) { exitQuery_ = ask; }
    // Shows what the shipped feature configuration hides ([VIEW] AllFeatures=1
    // or --all-features); what the window's design hides stays hidden.
    void showAllFeatures();
    bool allFeaturesShown() const { return allFeaturesShown_; }
    void setCentrePage(CentrePage page);
    CentrePage centrePage() const;

    ais::RunState& runState() { return *run_; }
    comm::LogReplay& replay() { return replay_; }
    const TextStore& texts() const { return texts_; }
    const ViewerSettings& settings() const { return settings_; }
    ViewerSettings& settings() { return settings_; }
    const ViewerPaths& paths() const { return paths_; }
    ui::SoundPlayer& sound() { return sound_; }
    // The chart view: other subsystems add their layer hooks, marks and commands.
    chart::TPaintChart* chart() const { return chart_; }
    chart::TfrmGpsStatus* gpsStatusWindow() const { return gpsStatus_; }
    // The AIS MOB list, safety messages, AtoN and lantern, monitored and friend ships.
    AlarmWindows& alarms() { return *alarms_; }
    BroadcastWindows& broadcasts() { return *broadcasts_; }
    NavigationHub& navigation() { return *nav_; }
    // The region list and the traffic statistics.
    RegionWindows& regions() { return *regions_; }
    // The crew watch: its logic, page and windows (MainFormCrew.cpp).
    CrewWindows& crew() { return *crew_; }
    // Shows the crew-watch entry points the shipped configuration hides.
    void showCrewWatch();
    // The sensor ports and links, their log, recording and windows.
    ViewerLinks& links() { return *links_; }
    // The device wizard, the port dialog and the device detection.
    comm::DeviceConnections& connections() { return *connections_; }
    comm::TSysSensorControl& sensorControl();
    // The AIS sensor connects to this live source at the first showing.
    void setStartupConnection(const QString& source);
    void setStatusPanel(int index, const QString& text) { statusPanels_[index] = text; }
    void showLogFileName(const QString& name) { setLogFileName(name); }
    // What the export of the target list writes with: the text options and the
    // grid's column titles of the moment.
    ais::TextOptions exportTextOptions();
    std::array<std::string, ais::kGridColumnCount> gridColumnTitles() const;
    // Scale index, colour scheme and orientation as the operator would set them
    // (-1 leaves one as it is); and a picture of the chart view alone.
    void setChartView(int scaleIndex, int scheme, int orientation);
    // The settings' chart calibration onto the world chart (after its window).
    void applyChartCalibration();
    QPixmap grabChart();
    int tickCount() const { return tickCount_; }
    // Times the views were brought up to date (for the benchmark).
    int flushCount() const { return flushCount_; }
    int noOwnTransmissionCount() const { return noOwnTxCount_; }
    // The panels of the hidden status bar (StatusBar1), kept up to date.
    const QString& statusPanel(int index) const { return statusPanels_[index]; }
    QAction* action(const QString& name) const;
    QString shipListCaption() const;
    QString shipListLineText(int index) const;
    QString gridCellText(int row, int column) const;
    QString detailText(const QString& component) const;
    bool atonTabShown() const;
    int activeDetailPage() const;

    // One step of Timer1 and of TimerPlayLog.
    void Timer1Timer();
    void TimerPlayLogTimer();

    // ais::TargetView
    void setShipListLine(int index, std::string_view line) override;
    int shipListLineCount() const override;
    void deleteLastShipListLine() override;
    void gridRowChanged(int index) override;
    void setTargetCount(int targets) override;
    void rebuildLists() override;
    bool targetMonitorChecked() const override;
    void setTargetMonitorChecked(bool checked) override;
    int listSelection() const override { return listSelection_; }
    void setListSelection(int index) override;
    void setGridSelection(int index) override;
    void showAtonTab(bool shown) override;
    void showDetails(int index) override;
    void showAtonDetails(int index) override;
    void onTargetRemoved(int index) override;
    // ais::OwnShipView
    void ShowOwnShipTop(double lon, double lat, double sog, double cog) override;
    void ShowOwnShipDetails(double lon, double lat, double sog, double cog) override;
    void showCpaStatus(ais::CpaStatus status) override;
    // ais::GnssView
    void setUtcText(std::string_view text) override;
    void setFixData(const ais::GnssFixData& data) override;
    void setFixIndicator(ais::FixIndicator indicator) override;
    bool satelliteWindowShowing() const override;
    void showSatellites(std::span<const ais::SatelliteEntry> satellites) override;
    // ais::TransmitterHandler
    void OnOwnShipReport() override;
    void OnTransmitterReport() override;
    // SearchHost
    const ais::TargetTable& searchTable() const override;
    int searchSelection() const override { return listSelection_; }
    void searchTickTargetMonitor() override;
    void searchShowTarget(int index) override;

  Q_SIGNALS:
    // The window has shut down (ports closed, settings written).
    void closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Creation (MainForm.cpp).
    void connectRunState(bool toWindows);
    void readDataFiles();
    void firstShowing();
    void shutdown();
    void writeSettings();
    void showMessage(const QString& text, TextId caption, ui::MessageIcon icon);

    // Widgets (MainFormLayout.cpp).
    void buildLayout();
    QWidget* buildToolBar();
    QWidget* buildTopInfo();
    QWidget* buildCentrePages();
    QWidget* buildRightPanel();
    QWidget* buildShipList(QWidget* parent);
    QWidget* buildStatusRow();
    QLabel* addStatusLabel(QWidget* parent, const char* name, int width);
    void setupGrid();

    // Menus and tool bar (MainFormMenus.cpp).
    void buildMenus();
    void buildFileEditMenus();
    void buildViewMenu();
    void buildToolsConnectMenus();
    void buildConfigMenu();
    void buildConfigChoices(QMenu* config);
    void buildHelpMenu();
    QAction* addItem(QMenu* menu, const char* name, TextId caption, bool hasKey = true);
    QAction* addFixedItem(QMenu* menu, const char* name, const char* caption);
    QToolButton* addToolButton(QWidget* bar, const char* name, const char* icon, TextId hint);
    void applyShippedFeatureConfiguration();
    void onCentrePageChanged(CentrePage page);
    void onBearingType(ais::BearingMode mode);
    void onCpaTcpa();
    void onDemoParameters();
    void onClearTargets();
    void onFullScreen();
    void onUserManual();

    // Timers and replay (MainFormTimers.cpp).
    void createTimers();
    void startFirstTimers();
    void onPlayLog();
    void onOpenLog();
    void stopReplay();
    void updateReplayMenus();
    void setLogFileName(const QString& name);
    void stepDemoMode();
    // The GNSS fix against the transponder's own report, and the sources that
    // fell silent; true (and said in the status row) while any is wrong.
    bool stepSourceChecks();
    void stepTransmitIndicator();

    // View interfaces (MainFormTargets.cpp).
    void scheduleFlush();
    void refreshTextOptions();
    void applySelectionToViews();
    void fillDetails();
    void onListClicked(int row);
    void onGridClicked(int row);
    void showTopValues();

    // Chart view, its scale panel, menus, popups and timers (MainFormChart.cpp).
    void buildChartPage(QWidget* page);
    void connectChartCommands();
    void connectChartButtons();
    void applyChartStartup();
    void retranslateChart();
    void onScaleSlider(int position);
    void zoomChart(int steps);
    void goToOwnShip();
    void showScaleLabel();
    void showPointerPosition(const chart::GeoPoint& position);
    void onChartPopup(const chart::GeoPoint& position, const QPoint& globalPos);
    void onTargetPopup(int slot, const QPoint& globalPos);
    void stepMapCruise();
    void stepOrientation();
    void setChartOrientation(int mode);
    void nextColourScheme();
    void applyColourScheme(int scheme);
    void showGpsStatus();

    // Texts (MainFormLanguage.cpp).
    void loadTexts();
    QString text(TextId id) const;
    void retranslateMenus();
    void retranslatePanels();
    void showBearingModeText();

    ViewerPaths paths_;
    ui::Dialogs& dialogs_;
    ui::SoundPlayer sound_;
    TextStore texts_;
    ViewerSettings settings_;
    std::unique_ptr<ais::RunState> run_;
    comm::LogReplay replay_;
    std::unique_ptr<comm::IntakeReplaySink> replaySink_;
    std::unique_ptr<ViewerLinks> links_;
    // Destroyed before the links whose lines it sees (MainFormConnections.cpp).
    std::unique_ptr<comm::DeviceConnections> connections_;
    void createConnections();
    SubWindows windows_;
    DemoParameters demo_;
    FollowUpsFanOut followUps_;
    std::unique_ptr<AlarmWindows> alarms_;
    std::unique_ptr<BroadcastWindows> broadcasts_;  // fairway broadcasts
    std::unique_ptr<NavigationHub> nav_;
    std::unique_ptr<RegionWindows> regions_;
    std::unique_ptr<ChartMeasure> measure_;
    // The names the shipped feature configuration hid; from designHiddenFrom_ on
    // those the window's design hides.
    std::vector<const char*> shippedHidden_;
    std::size_t designHiddenFrom_ = 0;
    bool allFeaturesShown_ = false;
    std::unique_ptr<CrewWindows> crew_;

    // Widgets.
    chart::TPaintChart* chart_ = nullptr;
    chart::TfrmGpsStatus* gpsStatus_ = nullptr;
    QSlider* scaleSlider_ = nullptr;
    QLabel* scaleLabel_ = nullptr;
    QLabel* lblChartNoFix_ = nullptr;
    QLabel* lblStatusBarSourceCheck_ = nullptr;
    QWidget* panelScale_ = nullptr;
    int lastScalePosition_ = -1;
    int colourScheme_ = 0;      // the ENC settings' scheme, Day Bright at every start
    int chartOrientation_ = 0;  // 0 north-up, 1 head-up, 2 course-up
    bool chartShowText_ = false;
    // Orientation timer bookkeeping: values at the last redraw, skips, guard.
    chart::OrientationFollow orientation_;
    QStackedWidget* pageControlView_ = nullptr;
    QTableView* stringGrid_ = nullptr;
    TargetGridModel* gridModel_ = nullptr;
    QListView* listBoxShip_ = nullptr;
    ShipListModel* shipListModel_ = nullptr;
    QGroupBox* groupBoxShipList_ = nullptr;
    std::array<QLabel*, 4> shipListHeadings_{};
    ui::PageControl* pageControlInfo_ = nullptr;
    ui::PageControl* pageControlDevInfo_ = nullptr;
    QTabWidget* pageControlVessel_ = nullptr;
    std::unique_ptr<DetailPanes> details_;
    QWidget* panelRight_ = nullptr;
    QWidget* panelToolBar_ = nullptr;
    QWidget* panelTopInfo_ = nullptr;
    QWidget* panelStatusBar_ = nullptr;
    QLabel* lblSrmSentMsg_ = nullptr;

    // Top information strip: titles and values.
    std::array<QLabel*, 6> topTitles_{};  // Pos, COG, SOG, UTC, Vessel, Passenger
    QLabel* lblTopLat_ = nullptr;
    QLabel* lblTopLon_ = nullptr;
    QLabel* lblTopCog_ = nullptr;
    QLabel* lblTopSog_ = nullptr;
    QLabel* lblTopUtc_ = nullptr;
    QLabel* lblTopVessel_ = nullptr;
    QLabel* lblTopPassenger_ = nullptr;
    QLabel* lblTxTitle_ = nullptr;
    QLabel* labelTxOnOff_ = nullptr;
    QLabel* imgMissMsgReceive_ = nullptr;
    QLabel* imgFix_ = nullptr;

    // Status row.
    QLabel* lblStatusBarCoordinate_ = nullptr;
    QLabel* lblStatusBarTime_ = nullptr;
    QLabel* lblStatusBarOrientation_ = nullptr;
    QLabel* lblStatusBarBearingMode_ = nullptr;
    QLabel* lblStatusBarTxCount_ = nullptr;
    QLabel* lblStatusBarLog_ = nullptr;
    QLabel* lblStatusBarCpa_ = nullptr;  // why CPA/TCPA read "N/A", empty while computed
    ais::CpaStatus cpaStatus_ = ais::CpaStatus::Computed;
    QLabel* imageStatusBarAis_ = nullptr;
    QLabel* imageStatusBarGps_ = nullptr;
    QLabel* imageStatusBarMob_ = nullptr;
    QLabel* imageStatusBarTrack_ = nullptr;
    std::array<QString, 8> statusPanels_{};

    // Menu items and tool buttons, with the texts they take.
    struct CaptionedAction {
        QAction* action;
        TextId caption;
    };
    struct HintedButton {
        QToolButton* button;
        TextId hint;
    };
    std::vector<CaptionedAction> captionedActions_;
    std::vector<std::pair<QMenu*, TextId>> captionedMenus_;
    std::vector<HintedButton> hintedButtons_;
    QMenu* mnuView_ = nullptr;
    QMenu* mnuTools_ = nullptr;
    QMenu* mnuFairwayBroadcast_ = nullptr;
    QAction* mnuOpenLog_ = nullptr;
    QAction* mnuPlayLog_ = nullptr;
    QAction* mnuFixShip_ = nullptr;
    QAction* mnuCenterViewChart_ = nullptr;
    QAction* mnuDemo_ = nullptr;
    QAction* mnuTxOn1_ = nullptr;
    QAction* mnuTxOffSilentMode1_ = nullptr;
    QAction* mnuTxOnOff_ = nullptr;
    QAction* mmuSrm_ = nullptr;
    QAction* mnuTrueBearing_ = nullptr;
    QAction* mmuRelativeBearing_ = nullptr;
    std::array<QAction*, 3> languageItems_{};
    QToolButton* spbChartView_ = nullptr;
    QToolButton* spbAlphaView_ = nullptr;
    QToolButton* spbMobView_ = nullptr;
    QToolButton* spbFullScreen_ = nullptr;

    // Timers.
    QTimer* timer1_ = nullptr;
    QTimer* timerPlayLog_ = nullptr;
    QTimer* timerRefreshFreq_ = nullptr;
    QTimer* timerShipCheck_ = nullptr;
    QTimer* timerCruiseMap_ = nullptr;
    QTimer* timerOrientChart_ = nullptr;
    QTimer* timerMob_ = nullptr;
    QTimer* timerBlinking_ = nullptr;
    QTimer* timerTrack_ = nullptr;
    QTimer* viewFlush_ = nullptr;
    QElapsedTimer lastFlush_;
    int flushCount_ = 0;
    // Reports are shown at most this often (25 times a second).
    static constexpr qint64 kFlushIntervalMs = 40;

    // Run-state of the shell.
    int tickCount_ = 0;
    int noOwnTxCount_ = 0;
    int demoCount_ = 0;
    int demoPageTick_ = 0;
    bool txStateReported_ = false;
    bool exitQuery_ = true;
    bool firstShown_ = false;
    bool shutDown_ = false;
    QString logFileName_;
    QString dateFormat_;       // the user's short date format
    std::string datePattern_;  // the same for the target texts
    ais::TextOptions textOptions_;

    // Reports waiting for the next flush.
    int listSelection_ = -1;
    int gridSelection_ = -1;
    bool selectionPending_ = false;
    bool atonTabShown_ = false;
    bool atonTabPending_ = false;
    int detailsIndex_ = -1;
    int atonDetailsIndex_ = -1;
    int targetCount_ = 0;
    bool countPending_ = false;
    bool ownTopPending_ = false;
    bool ownDetailsPending_ = false;
    std::array<double, 4> ownTop_{ais::kLonNotAvailable, ais::kLatNotAvailable, 103.0, 361.0};
    bool applyingSelection_ = false;

    // For the officer on watch (MainFormWatch.cpp): views that do not scroll
    // under the user, the grid's sort, the replay state in the status row, the
    // right-panel toggle and the items whose action is not built yet.
    void buildWatchAdditions();
    void buildGridSortControls();
    void retranslateMainWindowAdditions();
    void showReplayState();
    void updateRightPanelToggle();
    void onGridHeaderClicked(int column);
    void selectRowsInViews();
    void placeWindow();
    void keepWindowPlace();
    QString userShortDateFormat() const;
    QString askReplayFile();
    void followWindowState(QEvent* event);
    // The window's state before it went full screen, restored when it leaves.
    Qt::WindowStates stateBeforeFullScreen_ = Qt::WindowNoState;
    ViewFollow* listFollow_ = nullptr;
    ViewFollow* gridFollow_ = nullptr;
    TargetGridSort* gridSort_ = nullptr;
    QLabel* lblStatusBarReplay_ = nullptr;
    QCheckBox* cbxDangerousFirst_ = nullptr;
    QToolButton* spbRightPanel_ = nullptr;
    // The graded CPA alarm's button in the status row (hidden while grading is off).
    CpaAlarmPanel* cpaAlarmPanel_ = nullptr;
    bool replayEnded_ = false;
    // When the replay tick last ran: the replay of a timed file keeps the
    // time that really passed between ticks.
    QElapsedTimer replayTickTimer_;
};

}  // namespace norq::app
