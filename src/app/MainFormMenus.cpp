// The main menu, the tool bar buttons, the shipped feature configuration and the
// commands of this window. Items whose subsystem is not built yet exist (with
// their names, captions and visibility) and do nothing when chosen.
#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "app/CrewWindows.h"
#include "app/MainForm.h"
#include "app/TargetGridModel.h"
#include "app/forms/AboutForm.h"
#include "app/forms/CpaSettingForm.h"
#include "app/forms/SearchForm.h"
#include "app/forms/SmallForms.h"
#include "chart/forms/PaintChart.h"
#include "ui/PageControl.h"
#include "ui/SvgIcons.h"

namespace norq::app {

QAction* TForm1::addItem(QMenu* menu, const char* name, TextId caption, bool hasKey) {
    QAction* item = menu->addAction(QString::fromStdString(texts_.text(caption)));
    item->setObjectName(QString::fromLatin1(name));
    if (hasKey) captionedActions_.push_back({item, caption});
    return item;
}

QAction* TForm1::addFixedItem(QMenu* menu, const char* name, const char* caption) {
    QAction* item = menu->addAction(QString::fromUtf8(caption));
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

QToolButton* TForm1::addToolButton(QWidget* bar, const char* name, const char* icon, TextId hint) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(ui::SvgIcon(QString::fromLatin1(icon)));
    button->setIconSize(QSize(24, 24));
    button->setAutoRaise(true);
    bar->layout()->addWidget(button);
    hintedButtons_.push_back({button, hint});
    return button;
}

void TForm1::buildMenus() {
    auto menu = [this](const char* name, TextId title) {
        QMenu* m = menuBar()->addMenu(QString::fromStdString(texts_.text(title)));
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        captionedMenus_.emplace_back(m, title);
        return m;
    };
    menu("mnuFile", TextId::MenuFile);
    menu("mnuEdit", TextId::MenuEdit);
    mnuView_ = menu("mnuView", TextId::MenuView);
    mnuTools_ = menu("mnuTools", TextId::MenuTools);
    menu("mnuConnection", TextId::MenuConnect);
    menu("mnuConfig", TextId::MenuConfig);
    menu("mnuHelp", TextId::MenuHelp);
    buildFileEditMenus();
    buildViewMenu();
    buildToolsConnectMenus();
    buildConfigMenu();
    buildHelpMenu();

    // Tool bar commands.
    auto button = [this](const char* name) { return findChild<QToolButton*>(name); };
    connect(button("spbEcsIconBarZoomIn"), &QToolButton::clicked, this, [this] { zoomChart(1); });
    connect(button("spbEcsIconBarZoomOut"), &QToolButton::clicked, this, [this] { zoomChart(-1); });
    auto* views = new QButtonGroup(this);
    views->setExclusive(true);
    const std::array<QToolButton*, 3> viewButtons{spbChartView_, spbAlphaView_, spbMobView_};
    for (std::size_t i = 0; i < viewButtons.size(); ++i) {
        viewButtons[i]->setCheckable(true);
        views->addButton(viewButtons[i], static_cast<int>(i));
    }
    spbChartView_->setChecked(true);
    connect(views, &QButtonGroup::idClicked, this,
            [this](int page) { setCentrePage(static_cast<CentrePage>(page)); });
    connect(spbFullScreen_, &QToolButton::clicked, this, &TForm1::onFullScreen);
    connect(button("spbEcsIconBarGotoShip"), &QToolButton::clicked, this, &TForm1::goToOwnShip);
    connect(button("spbLogo"), &QToolButton::clicked, this, [this] {
        if (windows_.about != nullptr) windows_.about->show();
    });
    connectChartCommands();
}

void TForm1::buildFileEditMenus() {
    QMenu* file = findChild<QMenu*>("mnuFile");
    // The replay items take the caption of their state (updateReplayMenus).
    mnuOpenLog_ = addItem(file, "mnuOpenLog", TextId::MenuFileOpenLog, false);
    mnuPlayLog_ = addItem(file, "mnuPlayLog", TextId::MenuFilePlayLog, false);
    addItem(file, "mnuExportAISInfo", TextId::MenuFileExportCurrentAisInfo);
    addItem(file, "mnuAutoSaving", TextId::MenuFileAutoSavingStatus);
    addItem(file, "mnuOpenSENC", TextId::MenuFileSenc);
    addItem(file, "mnuS57toSENC", TextId::MenuFileS57toSENC);
    file->addSeparator();
    QAction* exit = addItem(file, "mnuExit", TextId::MenuFileExit);
    connect(mnuOpenLog_, &QAction::triggered, this, &TForm1::onOpenLog);
    connect(mnuPlayLog_, &QAction::triggered, this, &TForm1::onPlayLog);
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* edit = findChild<QMenu*>("mnuEdit");
    QAction* search = addItem(edit, "mnuSearch", TextId::MenuEditSearch);
    search->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    QAction* again = addItem(edit, "mnuSearchAgain", TextId::MenuEditSearchAgain);
    again->setShortcut(QKeySequence(Qt::Key_F3));
    connect(search, &QAction::triggered, this, [this] {
        if (windows_.search == nullptr) return;
        windows_.search->show();
        windows_.search->raise();
        // Also when it was open already: typing goes into its text field.
        windows_.search->activateWindow();
        windows_.search->textField()->setFocus(Qt::ShortcutFocusReason);
    });
    connect(again, &QAction::triggered, this, [this] {
        if (windows_.search != nullptr) windows_.search->findNext(false);
    });
}

void TForm1::buildViewMenu() {
    QMenu* view = mnuView_;
    mnuFixShip_ = addItem(view, "mnuFixShip", TextId::MenuViewTargetMonitor);
    mnuCenterViewChart_ = addItem(view, "mnuCenterViewChart", TextId::MenuViewCenterView);
    addFixedItem(view, "mmuTrueMotion", "True Motion");
    addFixedItem(view, "mnuViewRegionAreaView", "Region Area View");
    addItem(view, "mnuRardarRangeRing", TextId::MenuViewRadarRangeRing);
    addItem(view, "mnuViewLonLatLines", TextId::MenuViewLonLatLines);
    addItem(view, "mnuViewTracks", TextId::MenuViewTracks);
    addItem(view, "mnuViewSelectShip", TextId::MenuViewMonitoredShipsOnly);
    addItem(view, "mnuViewFullScreen", TextId::MenuViewFullScreen);
    addItem(view, "mnuViewShowMarks", TextId::MenuViewMark);
    addItem(view, "mnuViewShowRoutes", TextId::MenuViewRoute);
    addItem(view, "mnuViewShowTracks", TextId::MenuViewTrack);
    addItem(view, "mnuViewShowAllVesselsTrack", TextId::MenuViewTrackAllVessel);
    addFixedItem(view, "mnuViewRegionList", "Region List");
    addItem(view, "mnuViewGPSStatus", TextId::MenuViewGpsStatus);
    addItem(view, "mnuViewLogWindow", TextId::MenuViewLogWindow);
    addItem(view, "mnuViewSourceHealth", TextId::MenuViewSourceHealth);
    addItem(view, "mnuTrafficFlowStatistics", TextId::MenuViewTrafficStatistics);
    mnuDemo_ = addItem(view, "mnuDemo", TextId::MenuViewDemo);
    addItem(view, "mnuSRMLog", TextId::MenuViewSrmLogWindow);
    for (const char* name :
         {"mnuFixShip", "mnuCenterViewChart", "mmuTrueMotion", "mnuRardarRangeRing",
          "mnuViewLonLatLines", "mnuViewTracks", "mnuViewSelectShip", "mnuViewFullScreen",
          "mnuViewShowMarks", "mnuViewShowRoutes", "mnuViewShowTracks",
          "mnuViewShowAllVesselsTrack", "mnuDemo"}) {
        action(QString::fromLatin1(name))->setCheckable(true);
    }
    connect(mnuDemo_, &QAction::toggled, this, [this](bool on) {
        if (on) demoPageTick_ = tickCount_;
    });
    connect(view, &QMenu::aboutToShow, this,
            [this] { action(QStringLiteral("mnuViewFullScreen"))->setChecked(isFullScreen()); });
}

void TForm1::buildToolsConnectMenus() {
    QMenu* navManager = mnuTools_->addMenu(text(TextId::MenuToolsNavManager));
    navManager->menuAction()->setObjectName(QStringLiteral("mnuNavManager"));
    captionedMenus_.emplace_back(navManager, TextId::MenuToolsNavManager);
    addItem(navManager, "mnuMarkerManager", TextId::MenuToolsMarkerManager);
    addItem(navManager, "mnuRouteManager", TextId::MenuToolsRouteManager);
    addItem(navManager, "mnuTrackManager", TextId::MenuToolsTrackManager);
    addItem(mnuTools_, "mnuMeasure", TextId::MenuToolsMeasure);
    addItem(mnuTools_, "mnuCreateMarker", TextId::MenuToolsCreateMarker);
    addItem(mnuTools_, "mnuCreateRoute", TextId::MenuToolsCreateRoute);

    QMenu* connection = findChild<QMenu*>("mnuConnection");
    addItem(connection, "mnuConnectAisPort", TextId::MenuConnectAis);
    addItem(connection, "mnuConnectGpsPort", TextId::MenuConnectGps);
    addItem(connection, "mnuConnectMobPort", TextId::MenuConnectMob);
    addItem(connection, "mnuDeviceWizard", TextId::MenuConnectDeviceWizard);
}

void TForm1::buildConfigMenu() {
    QMenu* config = findChild<QMenu*>("mnuConfig");
    addItem(config, "mnuMarkManager", TextId::MenuConfigMarkManager);
    addItem(config, "mnuOwnShip", TextId::MenuConfigOwnShipLocation);
    addItem(config, "mnuDestination", TextId::MenuConfigDestination);
    mnuFairwayBroadcast_ = config->addMenu(QStringLiteral("Fairway Broadcast"));
    mnuFairwayBroadcast_->menuAction()->setObjectName(QStringLiteral("mnuFairwayBroadcast"));
    addFixedItem(mnuFairwayBroadcast_, "mmuBinaryMsgAppData", "Binary Msg. Application Data");
    addFixedItem(mnuFairwayBroadcast_, "mmuFairwayDataManagement", "Fairway Data Management");
    addFixedItem(mnuFairwayBroadcast_, "mmuFairwayCreation", "Fairway Creation");
    QAction* cpa = addItem(config, "mnuCPA_TCPA", TextId::MenuConfigCpaTcpa);
    addItem(config, "mnuChartCalibration", TextId::MenuConfigChartCalibration);
    addItem(config, "mmuShowShipList", TextId::MenuConfigMonitoredShipList);
    addItem(config, "mnuBuddy", TextId::MenuConfigFriendShip);
    addItem(config, "mnuConfigAISMOBList1", TextId::MenuConfigAisMobList);
    QAction* demoParameters =
        addItem(config, "mnuDemoParameters", TextId::MenuConfigDemoParameters);
    addItem(config, "mnuAutoMapCruise", TextId::MenuConfigAutoMapCruise)->setCheckable(true);

    buildConfigChoices(config);
    addItem(config, "mmuS57ChartOption", TextId::MenuConfigS57ChartOption);

    connect(cpa, &QAction::triggered, this, &TForm1::onCpaTcpa);
    connect(demoParameters, &QAction::triggered, this, &TForm1::onDemoParameters);
    connect(mnuTrueBearing_, &QAction::triggered, this,
            [this] { onBearingType(ais::BearingMode::True); });
    connect(mmuRelativeBearing_, &QAction::triggered, this,
            [this] { onBearingType(ais::BearingMode::Relative); });
}

// The radio groups of the Config menu: language, bearing type, transmitter.
void TForm1::buildConfigChoices(QMenu* config) {
    QMenu* language = config->addMenu(text(TextId::MenuConfigLanguage));
    language->menuAction()->setObjectName(QStringLiteral("mnuLanguage"));
    captionedMenus_.emplace_back(language, TextId::MenuConfigLanguage);
    auto* languages = new QActionGroup(this);
    languageItems_ = {
        addItem(language, "mnuLangEnglish", TextId::MenuConfigLanguageEnglish),
        addItem(language, "mnuLangTraChinese", TextId::MenuConfigLanguageTraChinese),
        addItem(language, "mnuLangSimpChinese", TextId::MenuConfigLanguageSimpChinese)};
    for (std::size_t i = 0; i < languageItems_.size(); ++i) {
        languageItems_[i]->setCheckable(true);
        languages->addAction(languageItems_[i]);
        connect(languageItems_[i], &QAction::triggered, this,
                [this, i] { ApplyLanguage(static_cast<int>(i)); });
    }
    QAction* options = addFixedItem(config, "mnuOptions", "Options(&O)");
    connect(options, &QAction::triggered, this, [this] {
        if (windows_.options != nullptr) windows_.options->show();
    });
    mmuSrm_ = addItem(config, "mmuSRM", TextId::MenuConfigSrm);

    QMenu* bearing = config->addMenu(text(TextId::MenuConfigBearingType));
    bearing->menuAction()->setObjectName(QStringLiteral("mmuBearingType"));
    captionedMenus_.emplace_back(bearing, TextId::MenuConfigBearingType);
    auto* bearings = new QActionGroup(this);
    mnuTrueBearing_ = addItem(bearing, "mnuTrueBearing", TextId::StatusBarTrueBearing);
    mmuRelativeBearing_ = addItem(bearing, "mmuRelativeBearing", TextId::StatusBarRelativeBearing);
    for (QAction* item : {mnuTrueBearing_, mmuRelativeBearing_}) {
        item->setCheckable(true);
        bearings->addAction(item);
    }
    mnuTrueBearing_->setChecked(true);

    QMenu* tx = config->addMenu(text(TextId::MenuConfigTxOnOff));
    mnuTxOnOff_ = tx->menuAction();
    mnuTxOnOff_->setObjectName(QStringLiteral("mnuTxOnOff"));
    captionedMenus_.emplace_back(tx, TextId::MenuConfigTxOnOff);
    auto* txGroup = new QActionGroup(this);
    mnuTxOn1_ = addItem(tx, "mnuTxOn1", TextId::MenuConfigTxOn1);
    mnuTxOffSilentMode1_ = addItem(tx, "mnuTxOffSilentMode1", TextId::MenuConfigTxOffSilentMode1);
    for (QAction* item : {mnuTxOn1_, mnuTxOffSilentMode1_}) {
        item->setCheckable(true);
        txGroup->addAction(item);
    }
    mnuTxOn1_->setChecked(true);
}

void TForm1::buildHelpMenu() {
    QMenu* help = findChild<QMenu*>("mnuHelp");
    QAction* about = addItem(help, "mnuAbout", TextId::MenuHelpAbout);
    QAction* manual = addItem(help, "mnuUserManual", TextId::MenuHelpUserManual);
    connect(about, &QAction::triggered, this, [this] {
        if (windows_.about == nullptr) return;
        windows_.about->setOkVisible(true);
        windows_.about->show();
        windows_.about->raise();
    });
    connect(manual, &QAction::triggered, this, &TForm1::onUserManual);
}

void TForm1::applyShippedFeatureConfiguration() {
    for (QTimer* timer : {timer1_, timerShipCheck_, timerPlayLog_, timerMob_, timerBlinking_,
                          timerCruiseMap_, timerOrientChart_, timerTrack_, timerRefreshFreq_}) {
        timer->stop();
    }
    auto hide = [this](std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (QAction* item = action(QString::fromLatin1(name))) item->setVisible(false);
            if (auto* widget = findChild<QWidget*>(QString::fromLatin1(name))) widget->hide();
            shippedHidden_.emplace_back(name);
        }
    };
    hide({"mnuDemo", "mmuSRM", "mnuTxOnOff"});
    pageControlDevInfo_->setTabVisible(3, false);  // GLA
    hide({"imgMissMsgReceive"});
    for (int page = 0; page < pageControlInfo_->count(); ++page)
        pageControlInfo_->setTabVisible(page, false);
    pageControlInfo_->setActivePage(0);  // AIS
    hide({"mnuFairwayBroadcast"});
    pageControlDevInfo_->setTabVisible(4, false);  // Fairway Info.
    hide({"mnuOpenSENC", "mnuS57toSENC", "mnuViewLonLatLines", "mnuViewFullScreen",
          "mnuViewShowMarks", "mnuViewShowRoutes", "mnuViewShowTracks",
          "mnuViewShowAllVesselsTrack", "mnuViewGPSStatus", "mnuTools", "mmuS57ChartOption",
          "mmuTrueMotion"});
    hide({"lblStatusBarOrientation", "ImageStatusBarRecordingTrack"});
    action(QStringLiteral("mnuRardarRangeRing"))->setChecked(true);
    action(QStringLiteral("mnuViewLonLatLines"))->setChecked(true);
    // The measure tool and the colour scheme (the night scheme above all) are
    // part of every watch, so their buttons stay on the tool bar.
    hide({"spbEcsIconBarNavigator", "spbEcsIconBarMark", "spbEcsIconBarRoute", "spbEcsIconBarText",
          "spbEcsIconBarSettings"});
    panelStatusBar_->show();
    pageControlDevInfo_->setTabVisible(0, false);  // Vessel Info., stays active
    pageControlDevInfo_->setActivePage(0);
    pageControlVessel_->setCurrentIndex(0);
    panelToolBar_->show();
    pageControlDevInfo_->setTabVisible(1, false);  // AtoN Info. until an AtoN is selected
    topTitles_[5]->hide();
    lblTopPassenger_->hide();
    hide({"mnuConnectMobPort"});
    hide({"lblSRM_SentMsg", "spbMobView", "ImageStatusBarMOBConnedt", "SpeedButtonMute"});
    hide({"mnuDemoParameters", "mnuLangSimpChinese", "mmuBinaryMsgAppData",
          "mmuFairwayDataManagement", "mmuFairwayCreation", "mnuTrafficFlowStatistics"});
    // Hidden in the window's design: the region items, the map cruise and the
    // options items, the SRM button, the logo button and the GPS detail header.
    // They stay hidden when all features are shown, but for the region list.
    designHiddenFrom_ = shippedHidden_.size();
    hide({"mnuViewRegionAreaView", "mnuViewRegionList", "mnuAutoMapCruise", "mnuOptions",
          "SpeedButtonSRM", "spbLogo"});
    pageControlDevInfo_->setTabVisible(2, false);  // GPS Info.
}

void TForm1::showAllFeatures() {
    if (allFeaturesShown_) return;
    allFeaturesShown_ = true;
    for (std::size_t i = 0; i < designHiddenFrom_ && i < shippedHidden_.size(); ++i) {
        const QString name = QString::fromLatin1(shippedHidden_[i]);
        if (QAction* item = action(name)) item->setVisible(true);
        if (auto* widget = findChild<QWidget*>(name)) widget->show();
    }
    // The region list is hidden in the window's design; it shows with them.
    if (QAction* item = action(QStringLiteral("mnuViewRegionList"))) item->setVisible(true);
    // The crew watch is among them, with its timers.
    if (crew_) showCrewWatch();
}

void TForm1::setCentrePage(CentrePage page) {
    const int index = static_cast<int>(page);
    if (pageControlView_->currentIndex() != index) pageControlView_->setCurrentIndex(index);
    const std::array<QToolButton*, 3> buttons{spbChartView_, spbAlphaView_, spbMobView_};
    if (index < static_cast<int>(buttons.size())) buttons[index]->setChecked(true);
    onCentrePageChanged(page);
}

CentrePage TForm1::centrePage() const {
    return static_cast<CentrePage>(pageControlView_->currentIndex());
}

void TForm1::onCentrePageChanged(CentrePage page) {
    if (page == CentrePage::Alpha) {
        const ais::TargetTable& table = run_->tracker.table();
        const bool aton =
            table.valid(listSelection_) && table[listSelection_].kind == ais::TargetKind::Aton;
        showAtonTab(aton);
        // The vessel-list button rewrites every row.
        for (int row = 0; row < table.count(); ++row)
            gridModel_->markRowChanged(row);
        scheduleFlush();
    }
    // The crew and chart pages show or hide the rescue guide of the crew watch.
    if (crew_ && (page == CentrePage::Crew || page == CentrePage::Chart)) {
        crew_->centrePageShown(page == CentrePage::Crew);
    }
}

void TForm1::onBearingType(ais::BearingMode mode) {
    const ais::TargetRecord& own = run_->tracker.table().own();
    const ais::ChartTargets::OwnPosition manual = chart_->chartOwnPosition();
    const ais::ReferencePosition ref =
        SelectReference(own, {manual.longitude, manual.latitude, manual.course});
    run_->tracker.setBearingMode(mode, ref);
    showBearingModeText();
    scheduleFlush();
}

void TForm1::onCpaTcpa() {
    if (windows_.cpa == nullptr) return;
    ais::CpaSettings limits = run_->tracker.cpaSettings();
    if (windows_.cpa->edit(limits.cpaLimit, limits.tcpaLimit)) {
        run_->tracker.setCpaSettings(limits);
        chart_->repaintLayers();
    }
}

void TForm1::onDemoParameters() {
    if (windows_.demoPar == nullptr) return;
    if (windows_.demoPar->edit(demo_, this)) {
        run_->tracker.setPositionBias({demo_.biasLongitude, demo_.biasLatitude});
        // "Disable Sea Chart Calibration": grid labels without lines, no land offset.
        chart_->hideGridLines(demo_.disableSeaChartCalibration);
    }
}

void TForm1::onClearTargets() {
    const ui::MessageAnswer answer = dialogs_.message(
        this, text(TextId::OtherMsgWarning), QStringLiteral("Are you sure to clear all ships?"),
        ui::MessageIcon::Warning, ui::MessageButtons::OkCancel);
    if (answer != ui::MessageAnswer::Ok) return;
    run_->tracker.ClearTargets();
    setListSelection(0);
    flushViews();
}

void TForm1::onFullScreen() {
    // Full screen hides the seven menus; leaving it shows them again (with Tools).
    const bool entering = !isFullScreen();
    for (const char* name :
         {"mnuFile", "mnuEdit", "mnuView", "mnuTools", "mnuConnection", "mnuConfig", "mnuHelp"}) {
        if (QAction* menu = action(QString::fromLatin1(name))) menu->setVisible(!entering);
    }
    if (entering) {
        showFullScreen();
        spbFullScreen_->setToolTip(text(TextId::ToolbuttonNormalScreen));
    } else {
        // The window then returns to the state it had before (followWindowState).
        showNormal();
        spbFullScreen_->setToolTip(text(TextId::ToolbuttonFullScreen));
    }
    action(QStringLiteral("mnuViewFullScreen"))->setChecked(entering);
}

void TForm1::onUserManual() {
    // The PDF as delivered; the HTML page of the same manual where the PDF could not be
    // made at build time. Without either, nothing happens.
    for (std::string_view file : {kManualFile, kManualHtmlFile}) {
        const QString path = QString::fromStdString(ProgramFilePath(paths_.programFolder, file));
        if (QFileInfo::exists(path)) {
            dialogs_.openDocument(path);
            return;
        }
    }
}

}  // namespace norq::app
