// Language switching: ApplyLanguage and the main window's loader, which puts the
// current texts into every caption, hint and title of the main window and of the
// windows whose texts it loads (search, CPA/TCPA).
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>

#include "ais/TargetTexts.h"
#include "app/AlarmWindows.h"
#include "app/CrewWindows.h"
#include "app/DetailPanes.h"
#include "app/MainForm.h"
#include "app/NavigationHub.h"
#include "app/RegionWindows.h"
#include "app/ShipListModel.h"
#include "app/TargetGridModel.h"
#include "app/ViewerLinks.h"
#include "app/forms/AboutForm.h"
#include "app/forms/CpaSettingForm.h"
#include "app/forms/SearchForm.h"
#include "chart/forms/PaintChart.h"
#include "comm/forms/DeviceConnections.h"
#include "ui/PageControl.h"

namespace norq::app {

QString TForm1::text(TextId id) const {
    return QString::fromStdString(texts_.text(id));
}

void TForm1::ApplyLanguage(int index) {
    // 1-2. The item of the index is ticked and the index stored.
    if (index < 0) index = settings_.language;
    index = NormalisedLanguage(index);
    languageItems_[static_cast<std::size_t>(index)]->setChecked(true);
    settings_.language = index;
    // 3-4. Every text is UTF-8 with the one degree sign "°", and the fonts find
    //      their Chinese glyphs by themselves: no character set to switch.
    // 5. Windows that keep their own texts per language get the index here
    //    (crew event log, navigation manager, marker settings) when built.
    // 6. The main window's loader: each text read with its current value as the
    //    default. The transmit count title is read only for the device kinds that
    //    report transmit counts (none before the sensor ports are built).
    LanguageTable table;
    LoadLanguageTable(paths_.programFolder, index, table);
    texts_.apply(table, [](TextId id) { return id == TextId::StatusBarTxCount; });
    loadTexts();
    links_->retranslate(texts_);
    if (connections_) connections_->retranslate();
    // 7. The About window's texts and statement.
    if (windows_.about != nullptr) windows_.about->loadLanguage(index);
    // 8. The loaders of the crew windows come with the crew watch.
    // 9. Chart, ship list rows and grid anew.
    shipListModel_->rebuild(run_->tracker.table());
    gridModel_->titlesChanged();
    for (int row = 0; row < run_->tracker.table().count(); ++row)
        gridModel_->markRowChanged(row);
    retranslateChart();
    selectionPending_ = true;
    if (run_->tracker.table().valid(listSelection_)) detailsIndex_ = listSelection_;
    flushViews();
}

void TForm1::loadTexts() {
    retranslateMenus();
    retranslateMainWindowAdditions();
    retranslatePanels();
    details_->retranslate();
    if (windows_.search != nullptr) windows_.search->retranslate();
    if (windows_.cpa != nullptr) windows_.cpa->retranslate();
    if (alarms_) alarms_->retranslate();
    if (nav_) nav_->retranslate();
    if (regions_) regions_->retranslate();
    if (crew_) crew_->retranslate();
}

void TForm1::retranslateMenus() {
    for (const auto& [menu, caption] : captionedMenus_)
        menu->setTitle(text(caption));
    for (const CaptionedAction& item : captionedActions_)
        item.action->setText(text(item.caption));
    // The replay items take the caption of their current state.
    updateReplayMenus();
    for (const HintedButton& button : hintedButtons_)
        button.button->setToolTip(text(button.hint));
    spbFullScreen_->setToolTip(
        text(isFullScreen() ? TextId::ToolbuttonNormalScreen : TextId::ToolbuttonFullScreen));
}

void TForm1::retranslatePanels() {
    constexpr std::array<TextId, 6> kTopTitles{TextId::TopInfoPos,    TextId::TopInfoCog,
                                               TextId::TopInfoSog,    TextId::TopInfoUtc,
                                               TextId::TopInfoVessel, TextId::TopInfoPassenger};
    for (std::size_t i = 0; i < kTopTitles.size(); ++i)
        topTitles_[i]->setText(text(kTopTitles[i]));
    constexpr std::array<TextId, 4> kHeadings{TextId::ShipListNo, TextId::ShipListMmsi,
                                              TextId::ShipListClass, TextId::ShipListName};
    for (std::size_t i = 0; i < kHeadings.size(); ++i)
        shipListHeadings_[i]->setText(text(kHeadings[i]));
    countPending_ = true;

    pageControlDevInfo_->setPageCaption(0, text(TextId::TabInfoVesselInfo));
    pageControlDevInfo_->setPageCaption(1, text(TextId::TabInfoAtonInfo));
    pageControlDevInfo_->setPageCaption(2, text(TextId::TabInfoGpsInfo));
    pageControlVessel_->setTabText(0, text(TextId::DetailDynamicDynamic));
    pageControlVessel_->setTabText(1, text(TextId::DetailStaticStatic));

    // Status row and the panels of the hidden status bar.
    showBearingModeText();
    setLogFileName(logFileName_);
    lblStatusBarTxCount_->setText(statusPanels_[6]);
    showCpaStatus(cpaStatus_);
    const bool silent = mnuTxOffSilentMode1_->isChecked();
    labelTxOnOff_->setText(text(silent ? TextId::SrmTxOff : TextId::SrmTxOn));
}

void TForm1::showBearingModeText() {
    const ais::BearingMode mode = run_->tracker.bearingMode();
    const QString shown = text(mode == ais::BearingMode::True ? TextId::StatusBarTrueBearing
                                                              : TextId::StatusBarRelativeBearing);
    statusPanels_[5] = shown;
    lblStatusBarBearingMode_->setText(shown);
}

}  // namespace norq::app
