// The main window's widgets: tool bar, top information strip, centre pages, the
// right-hand panel with the ship list and the detail pages, and the status row.
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/DetailPanes.h"
#include "app/MainForm.h"
#include "app/ShipListModel.h"
#include "app/TargetGridModel.h"
#include "app/TargetGridSort.h"
#include "ui/PageControl.h"
#include "ui/SvgIcons.h"

namespace norq::app {

namespace {

QLabel* NamedLabel(QWidget* parent, const char* name, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLabel* ImageLabel(QWidget* parent, const char* name, const char* icon, int size) {
    QLabel* label = NamedLabel(parent, name);
    label->setPixmap(ui::SvgPixmap(QString::fromLatin1(icon), size, size));
    label->setFixedSize(size, size);
    return label;
}

QWidget* NamedPanel(QWidget* parent, const char* name) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    return panel;
}

// A detail page in a frameless scroll area: it scrolls when the window is too
// short to show all its fields.
QWidget* Scrolled(QWidget* page) {
    auto* area = new QScrollArea(page->parentWidget());
    area->setObjectName(QStringLiteral("Scroll") + page->objectName());
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidget(page);
    return area;
}

// Character columns of the ship-list line "(%s)  %09d %6s     %s" at which the
// four headings start.
constexpr std::array<int, 4> kShipListColumns{0, 7, 17, 28};

}  // namespace

void TForm1::buildLayout() {
    auto* central = NamedPanel(this, "PanelMain");
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(buildToolBar());
    layout->addWidget(buildTopInfo());
    auto* splitter = new QSplitter(Qt::Horizontal, central);
    splitter->setObjectName(QStringLiteral("SplitterMain"));
    splitter->addWidget(buildCentrePages());
    splitter->addWidget(buildRightPanel());
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setChildrenCollapsible(false);
    layout->addWidget(splitter, 1);
    layout->addWidget(buildStatusRow());
    setCentralWidget(central);
    resize(1280, 800);
}

QWidget* TForm1::buildToolBar() {
    panelToolBar_ = NamedPanel(this, "PanelToolBar");
    auto* row = new QHBoxLayout(panelToolBar_);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(1);
    addToolButton(panelToolBar_, "spbEcsIconBarZoomIn", "zoom-in", TextId::ToolbuttonZoomIn);
    addToolButton(panelToolBar_, "spbEcsIconBarZoomOut", "zoom-out", TextId::ToolbuttonZoomOut);
    spbChartView_ = addToolButton(panelToolBar_, "spbEcsIconBarViewSwitch", "chart-view",
                                  TextId::ToolbuttonChartView);
    spbAlphaView_ =
        addToolButton(panelToolBar_, "spbAlphaView", "vessel-list", TextId::ToolbuttonVesselList);
    spbMobView_ = addToolButton(panelToolBar_, "spbMobView", "passenger-list",
                                TextId::ToolbuttonPassengerList);
    spbFullScreen_ = addToolButton(panelToolBar_, "spbEcsIconBarScreen", "full-screen",
                                   TextId::ToolbuttonFullScreen);
    addToolButton(panelToolBar_, "spbEcsIconBarRoute", "route", TextId::ToolbuttonRoute);
    addToolButton(panelToolBar_, "spbEcsIconBarMeasure", "measure", TextId::ToolbuttonMeasure);
    addToolButton(panelToolBar_, "spbEcsIconBarGotoShip", "goto-ship", TextId::ToolbuttonGotoShip);
    addToolButton(panelToolBar_, "spbEcsIconBarMark", "mark", TextId::ToolbuttonMark);
    addToolButton(panelToolBar_, "spbEcsIconBarSettings", "settings",
                  TextId::ToolbuttonS57Settings);
    addToolButton(panelToolBar_, "spbEcsIconBarNavigator", "navigator",
                  TextId::ToolbuttonTrueMotion);
    addToolButton(panelToolBar_, "spbEcsIconBarColorScheme", "color-scheme",
                  TextId::ToolbuttonSchemeDayWhite);
    addToolButton(panelToolBar_, "spbEcsIconBarText", "text", TextId::ToolbuttonText);
    addToolButton(panelToolBar_, "spbEcsIconBarNavManager", "nav-manager",
                  TextId::ToolbuttonNavManager);
    addToolButton(panelToolBar_, "spbEcsIconBarGpsSignal", "gps-signal",
                  TextId::ToolbuttonGpsSignal);
    addToolButton(panelToolBar_, "SpeedButtonMute", "mute", TextId::MobCountMute);
    addToolButton(panelToolBar_, "SpeedButtonSRM", "srm", TextId::SrmSrmDialogButton);
    addToolButton(panelToolBar_, "spbEcsIconBarAISMOBList", "ais-mob-list",
                  TextId::ToolbuttonAisMobList);
    row->addStretch(1);
    addToolButton(panelToolBar_, "spbLogo", "logo", TextId::AboutProductAis);
    return panelToolBar_;
}

QWidget* TForm1::buildTopInfo() {
    panelTopInfo_ = NamedPanel(this, "PanelTopInfo");
    auto* row = new QHBoxLayout(panelTopInfo_);
    row->setContentsMargins(6, 2, 6, 2);
    row->setSpacing(6);
    QFont valueFont = font();
    valueFont.setBold(true);
    auto value = [&](const char* name, int minWidth) {
        QLabel* label = NamedLabel(panelTopInfo_, name);
        label->setFont(valueFont);
        label->setMinimumWidth(minWidth);
        label->setFrameShape(QFrame::StyledPanel);
        return label;
    };
    topTitles_[0] = NamedLabel(panelTopInfo_, "lblTopPosTitle");
    lblTopLat_ = value("lblTopLat", 110);
    lblTopLon_ = value("lblTopLon", 120);
    topTitles_[1] = NamedLabel(panelTopInfo_, "lblTopCogTitle");
    lblTopCog_ = value("lblTopCog", 70);
    topTitles_[2] = NamedLabel(panelTopInfo_, "lblTopSogTitle");
    lblTopSog_ = value("lblTopSog", 80);
    lblTxTitle_ = NamedLabel(panelTopInfo_, "lblTxTitle", QStringLiteral("TX"));
    labelTxOnOff_ = value("LabelTxONOFF", 60);
    labelTxOnOff_->setAutoFillBackground(true);
    imgMissMsgReceive_ = ImageLabel(panelTopInfo_, "imgMissMsgReceive", "miss-msg", 22);
    topTitles_[5] = NamedLabel(panelTopInfo_, "lblTopPassengerTitle");
    lblTopPassenger_ = value("lblTopPassenger", 40);
    topTitles_[4] = NamedLabel(panelTopInfo_, "lblTopVesselTitle");
    lblTopVessel_ = value("lblTopVessel", 40);
    imgFix_ = ImageLabel(panelTopInfo_, "imgGpsFix", "fix-lost", 22);
    imgFix_->installEventFilter(this);
    topTitles_[3] = NamedLabel(panelTopInfo_, "lblTopUtcTitle");
    lblTopUtc_ = value("lblTopUtc", 150);
    for (QWidget* w : std::initializer_list<QWidget*>{
             topTitles_[0], lblTopLat_, lblTopLon_, topTitles_[1], lblTopCog_, topTitles_[2],
             lblTopSog_, lblTxTitle_, labelTxOnOff_, imgMissMsgReceive_, topTitles_[5],
             lblTopPassenger_, topTitles_[4], lblTopVessel_, imgFix_, topTitles_[3], lblTopUtc_}) {
        row->addWidget(w);
    }
    row->addStretch(1);
    auto* toggle = new QToolButton(panelTopInfo_);
    toggle->setObjectName(QStringLiteral("spbRightPanel"));
    toggle->setIcon(ui::SvgIcon(QStringLiteral("panel-toggle")));
    toggle->setAutoRaise(true);
    row->addWidget(toggle);
    connect(toggle, &QToolButton::clicked, this,
            [this] { panelRight_->setVisible(!panelRight_->isVisible()); });
    return panelTopInfo_;
}

QWidget* TForm1::buildCentrePages() {
    pageControlView_ = new QStackedWidget(this);
    pageControlView_->setObjectName(QStringLiteral("PageControlView"));
    auto* chartPage = NamedPanel(pageControlView_, "TabSheetChart");
    buildChartPage(chartPage);
    pageControlView_->addWidget(chartPage);

    auto* alphaPage = NamedPanel(pageControlView_, "TabSheetAlpha");
    auto* alphaLayout = new QVBoxLayout(alphaPage);
    alphaLayout->setContentsMargins(0, 0, 0, 0);
    stringGrid_ = new QTableView(alphaPage);
    stringGrid_->setObjectName(QStringLiteral("StringGrid1"));
    gridModel_ = new TargetGridModel(run_->tracker.table(), textOptions_, texts_, stringGrid_);
    // The grid shows the rows in the order the user sorts them by.
    gridSort_ = new TargetGridSort(gridModel_, stringGrid_);
    stringGrid_->setModel(gridSort_);
    alphaLayout->addWidget(stringGrid_);
    pageControlView_->addWidget(alphaPage);

    // The crew page: the crew watch (MainFormCrew.cpp) puts its list here.
    auto* crewPage = NamedPanel(pageControlView_, "TabSheetMOBView");
    auto* crewLayout = new QVBoxLayout(crewPage);
    crewLayout->setContentsMargins(0, 0, 0, 0);
    pageControlView_->addWidget(crewPage);
    pageControlView_->addWidget(NamedPanel(pageControlView_, "TabSheetMOBAlarmTable"));
    return pageControlView_;
}

QWidget* TForm1::buildRightPanel() {
    panelRight_ = NamedPanel(this, "PanelRight");
    panelRight_->setMinimumWidth(420);
    auto* layout = new QVBoxLayout(panelRight_);
    layout->setContentsMargins(0, 0, 0, 0);
    pageControlInfo_ = new ui::PageControl(panelRight_);
    pageControlInfo_->setObjectName(QStringLiteral("PageControlInfo"));
    layout->addWidget(pageControlInfo_);

    auto* aisPage = NamedPanel(pageControlInfo_, "TabSheetAisInfo");
    auto* aisLayout = new QVBoxLayout(aisPage);
    aisLayout->setContentsMargins(0, 0, 0, 0);
    // The list takes the height the details leave; on a short screen the detail
    // pages scroll rather than push the status row off the screen.
    aisLayout->addWidget(buildShipList(aisPage), 1);

    details_ = std::make_unique<DetailPanes>(texts_, aisPage);
    pageControlDevInfo_ = new ui::PageControl(aisPage);
    pageControlDevInfo_->setObjectName(QStringLiteral("PageControlDevInfo"));
    pageControlVessel_ = new QTabWidget(pageControlDevInfo_);
    pageControlVessel_->setObjectName(QStringLiteral("TabVessel"));
    pageControlVessel_->addTab(Scrolled(details_->dynamicPage()), QString());
    pageControlVessel_->addTab(Scrolled(details_->staticPage()), QString());
    pageControlDevInfo_->addPage(pageControlVessel_, QString());              // TabVessel
    pageControlDevInfo_->addPage(Scrolled(details_->atonPage()), QString());  // TabAton
    pageControlDevInfo_->addPage(Scrolled(details_->gpsPage()), QString());   // TabGps
    pageControlDevInfo_->addPage(NamedPanel(pageControlDevInfo_, "TabGla"), QStringLiteral("GLA"));
    pageControlDevInfo_->addPage(NamedPanel(pageControlDevInfo_, "TabFairway"),
                                 QStringLiteral("Fairway Info."));
    aisLayout->addWidget(pageControlDevInfo_, 0);
    lblSrmSentMsg_ = NamedLabel(aisPage, "lblSRM_SentMsg", QStringLiteral("SRM is not sent."));
    aisLayout->addWidget(lblSrmSentMsg_);

    pageControlInfo_->addPage(aisPage, QStringLiteral("AIS"));
    pageControlInfo_->addPage(NamedPanel(pageControlInfo_, "TabSheetFairwayInfo"),
                              QStringLiteral("Fairway"));
    pageControlInfo_->addPage(NamedPanel(pageControlInfo_, "TabSheet_MobReport"),
                              QStringLiteral("MOB Report"));
    return panelRight_;
}

QWidget* TForm1::buildShipList(QWidget* parent) {
    groupBoxShipList_ = new QGroupBox(parent);
    groupBoxShipList_->setObjectName(QStringLiteral("GroupBoxShipList"));
    auto* layout = new QVBoxLayout(groupBoxShipList_);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(1);

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const int charWidth = QFontMetrics(fixed).horizontalAdvance(QLatin1Char('0'));
    auto* headings = new QWidget(groupBoxShipList_);
    auto* row = new QHBoxLayout(headings);
    row->setContentsMargins(5, 0, 0, 0);
    row->setSpacing(0);
    const std::array<const char*, 4> names{"StaticTextNO", "StaticTextMMSI", "StaticTextClass",
                                           "StaticTextName"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        shipListHeadings_[i] = NamedLabel(headings, names[i]);
        if (i + 1 < names.size()) {
            shipListHeadings_[i]->setFixedWidth((kShipListColumns[i + 1] - kShipListColumns[i]) *
                                                charWidth);
        }
        row->addWidget(shipListHeadings_[i], i + 1 == names.size() ? 1 : 0);
    }
    // A double click on "NO" offers to clear the table.
    shipListHeadings_[0]->installEventFilter(this);
    layout->addWidget(headings);

    listBoxShip_ = new QListView(groupBoxShipList_);
    listBoxShip_->setObjectName(QStringLiteral("ListBoxShip"));
    listBoxShip_->setFont(fixed);
    listBoxShip_->setUniformItemSizes(true);
    listBoxShip_->setSelectionMode(QAbstractItemView::SingleSelection);
    listBoxShip_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    shipListModel_ = new ShipListModel(listBoxShip_);
    listBoxShip_->setModel(shipListModel_);
    connect(listBoxShip_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!applyingSelection_ && current.isValid()) onListClicked(current.row());
            });
    layout->addWidget(listBoxShip_, 1);
    return groupBoxShipList_;
}

QLabel* TForm1::addStatusLabel(QWidget* parent, const char* name, int width) {
    QLabel* label = NamedLabel(parent, name);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFixedWidth(width);
    parent->layout()->addWidget(label);
    return label;
}

QWidget* TForm1::buildStatusRow() {
    panelStatusBar_ = NamedPanel(this, "PanelStatusBar");
    auto* row = new QHBoxLayout(panelStatusBar_);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(3);
    lblStatusBarCoordinate_ = addStatusLabel(panelStatusBar_, "lblStatusBarCoordinate", 170);
    lblStatusBarTime_ = addStatusLabel(panelStatusBar_, "lblStatusBarTime", 150);
    lblStatusBarOrientation_ = addStatusLabel(panelStatusBar_, "lblStatusBarOrientation", 100);
    lblStatusBarBearingMode_ = addStatusLabel(panelStatusBar_, "lblStatusBarBearingMode", 120);
    lblStatusBarTxCount_ = addStatusLabel(panelStatusBar_, "lblStatusBarTxCount", 150);
    lblStatusBarLog_ = addStatusLabel(panelStatusBar_, "lblStatusBarLog", 220);
    lblStatusBarCpa_ = addStatusLabel(panelStatusBar_, "lblStatusBarCpa", 240);
    // The reason text may be long in any language: the label gives way on a narrow
    // screen (the whole text is in its tooltip) instead of widening the window.
    lblStatusBarCpa_->setMinimumWidth(0);
    lblStatusBarCpa_->setMaximumWidth(240);
    // The own positions' cross-check and the silent sources: shown only while
    // one of them is wrong.
    lblStatusBarSourceCheck_ = new QLabel(panelStatusBar_);
    lblStatusBarSourceCheck_->setObjectName(QStringLiteral("lblStatusBarSourceCheck"));
    lblStatusBarSourceCheck_->setStyleSheet(
        QStringLiteral("color: white; background: #c00000; font-weight: bold; padding: 0 4px"));
    lblStatusBarSourceCheck_->hide();
    row->addWidget(lblStatusBarSourceCheck_);
    row->addStretch(1);
    imageStatusBarAis_ =
        ImageLabel(panelStatusBar_, "ImageStatusBarAISConnect", "port-disconnected", 20);
    imageStatusBarGps_ =
        ImageLabel(panelStatusBar_, "ImageStatusBarGPSConnect", "port-disconnected", 20);
    imageStatusBarMob_ =
        ImageLabel(panelStatusBar_, "ImageStatusBarMOBConnedt", "port-disconnected", 20);
    imageStatusBarTrack_ =
        ImageLabel(panelStatusBar_, "ImageStatusBarRecordingTrack", "track-rec", 16);
    for (QLabel* image :
         {imageStatusBarAis_, imageStatusBarGps_, imageStatusBarMob_, imageStatusBarTrack_}) {
        row->addWidget(image);
    }
    return panelStatusBar_;
}

void TForm1::setupGrid() {
    stringGrid_->verticalHeader()->hide();
    stringGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    stringGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
    stringGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    stringGrid_->setWordWrap(false);
    stringGrid_->setShowGrid(true);
    stringGrid_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    const int rowHeight = stringGrid_->fontMetrics().height() + 4;
    stringGrid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    stringGrid_->verticalHeader()->setDefaultSectionSize(rowHeight);
    QHeaderView* header = stringGrid_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setHighlightSections(false);
    const std::array<int, ais::kGridColumnCount> widths{44, 90, 64, 76,  64, 170, 84,  90,
                                                        76, 84, 76, 76,  84, 84,  120, 130,
                                                        76, 68, 56, 170, 96, 250, 250};
    for (std::size_t column = 0; column < widths.size(); ++column)
        header->resizeSection(static_cast<int>(column), widths[column]);
    // The selected row: white text on grey.
    QPalette palette = stringGrid_->palette();
    const ui::GridPalette colours;
    palette.setColor(QPalette::Highlight, colours.grey);
    palette.setColor(QPalette::HighlightedText, colours.whiteFill);
    stringGrid_->setPalette(palette);
    gridModel_->setPalette(colours);
    connect(stringGrid_, &QTableView::clicked, this, [this](const QModelIndex& index) {
        onGridClicked(gridSort_->entryOfRow(index.row()));
    });
}

}  // namespace norq::app
