// What the main window does for the officer on watch beyond its design: the
// ship list and the grid do not scroll under the user (ViewFollow), the grid
// sorts by any column without changing entry indices (TargetGridSort), the
// replay's state shows in the status row, the right-panel toggle points the way
// the panel will go, and the items whose action is not built yet are disabled
// (UnbuiltItems).
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

#include "ais/Geometry.h"
#include "app/CpaAlarmPanel.h"
#include "app/DateFormat.h"
#include "app/MainForm.h"
#include "app/QtTranslations.h"
#include "app/ReplayDialog.h"
#include "app/ShipListModel.h"
#include "app/TargetGridModel.h"
#include "app/TargetGridSort.h"
#include "app/UnbuiltItems.h"
#include "app/ViewFollow.h"
#include "app/WindowPlacement.h"
#include "ui/SvgIcons.h"

namespace norq::app {

void TForm1::buildWatchAdditions() {
    listFollow_ = new ViewFollow(listBoxShip_);
    listFollow_->setObjectName(QStringLiteral("ListBoxShipFollow"));
    gridFollow_ = new ViewFollow(stringGrid_);
    gridFollow_->setObjectName(QStringLiteral("StringGrid1Follow"));
    // Rows do not move under the pointer either: the sort waits while the grid
    // is in use.
    connect(gridFollow_, &ViewFollow::pausedChanged, this,
            [this](bool paused) { gridSort_->setDynamicSortFilter(!paused); });
    // A grid the user has sorted shows the order chosen (dangerous targets at the
    // top): it does not scroll after the latest reporting target, only after a
    // target the user watches ("Target Monitor").
    gridFollow_->setHoldTest([this] {
        const bool sorted = gridSort_->sortColumnChosen() >= 0 || gridSort_->dangerousFirst();
        return sorted && !targetMonitorChecked();
    });

    buildGridSortControls();

    // The graded CPA alarm: its button at the end of the status row, and the
    // grid's rows in the colour of their level while grading is on.
    cpaAlarmPanel_ = new CpaAlarmPanel(run_->tracker, texts_, panelStatusBar_);
    if (auto* row = qobject_cast<QHBoxLayout*>(panelStatusBar_->layout())) {
        row->insertWidget(row->indexOf(lblStatusBarCpa_) + 1, cpaAlarmPanel_->button());
    }
    // The tracker hears of the panel now that it exists.
    connectRunState(true);
    gridModel_->setLevelSource([this](int entry) {
        return run_->tracker.cpaGrading().graded ? run_->tracker.cpaLevel(entry)
                                                 : ais::CpaLevel::None;
    });

    // The replay's state beside the log file's name.
    lblStatusBarReplay_ = new QLabel(panelStatusBar_);
    lblStatusBarReplay_->setObjectName(QStringLiteral("lblStatusBarReplay"));
    lblStatusBarReplay_->setFrameShape(QFrame::StyledPanel);
    lblStatusBarReplay_->setMinimumWidth(150);
    if (auto* row = qobject_cast<QHBoxLayout*>(panelStatusBar_->layout())) {
        row->insertWidget(row->indexOf(lblStatusBarLog_) + 1, lblStatusBarReplay_);
    }

    // The right-panel toggle: its own click shows or hides the panel first.
    spbRightPanel_ = findChild<QToolButton*>(QStringLiteral("spbRightPanel"));
    if (spbRightPanel_ != nullptr) {
        connect(spbRightPanel_, &QToolButton::clicked, this, &TForm1::updateRightPanelToggle);
    }
    retranslateMainWindowAdditions();
}

void TForm1::buildGridSortControls() {
    // The grid's sort: a click on a title sorts by it, again reverses it, a third
    // time returns to the entry order.
    gridSort_->setDangerousTest([this](int entry) {
        const ais::TargetTable& table = run_->tracker.table();
        return entry > 0 && table.valid(entry) &&
               run_->tracker.cpaLevel(entry) == ais::CpaLevel::Alarm;
    });
    QHeaderView* header = stringGrid_->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    connect(header, &QHeaderView::sectionClicked, this, &TForm1::onGridHeaderClicked);
    const WindowSettings& kept = settings_.window;
    gridSort_->setDangerousFirst(kept.gridDangerousFirst);
    const Qt::SortOrder order = kept.gridSortDescending ? Qt::DescendingOrder : Qt::AscendingOrder;
    gridSort_->sortByColumn(kept.gridSortColumn, order);
    header->setSortIndicator(kept.gridSortColumn, order);

    cbxDangerousFirst_ = new QCheckBox(stringGrid_->parentWidget());
    cbxDangerousFirst_->setObjectName(QStringLiteral("cbxDangerousFirst"));
    cbxDangerousFirst_->setChecked(kept.gridDangerousFirst);
    if (auto* page = qobject_cast<QVBoxLayout*>(stringGrid_->parentWidget()->layout())) {
        auto* row = new QHBoxLayout;
        row->setContentsMargins(4, 2, 4, 2);
        row->addWidget(cbxDangerousFirst_);
        row->addStretch(1);
        page->insertLayout(0, row);
    }
    connect(cbxDangerousFirst_, &QCheckBox::toggled, this, [this](bool on) {
        gridSort_->setDangerousFirst(on);
        settings_.window.gridDangerousFirst = on;
    });
}

void TForm1::retranslateMainWindowAdditions() {
    // Qt's own texts (message-box buttons, file dialogs) follow the language.
    ApplyQtTranslations(settings_.language);
    DisableUnbuiltItems(this, text(TextId::MainWindowNotBuiltYet));
    if (listFollow_ == nullptr) return;  // before the additions are built
    for (ViewFollow* follow : {listFollow_, gridFollow_}) {
        follow->setTexts(text(TextId::MainWindowFollowPaused),
                         text(TextId::MainWindowFollowPausedHint));
    }
    cbxDangerousFirst_->setText(text(TextId::MainWindowDangerousFirst));
    cpaAlarmPanel_->retranslate();
    updateRightPanelToggle();
    showReplayState();
}

void TForm1::onGridHeaderClicked(int column) {
    QHeaderView* header = stringGrid_->horizontalHeader();
    int chosen = column;
    Qt::SortOrder order = Qt::AscendingOrder;
    if (column == gridSort_->sortColumnChosen()) {
        if (gridSort_->sortOrderChosen() == Qt::AscendingOrder) {
            order = Qt::DescendingOrder;
        } else {
            chosen = -1;  // back to the entry order
        }
    }
    gridSort_->sortByColumn(chosen, order);
    header->setSortIndicator(chosen, order);
    settings_.window.gridSortColumn = chosen;
    settings_.window.gridSortDescending = order == Qt::DescendingOrder;
    // The selected target stays selected wherever its row went.
    selectionPending_ = true;
    flushViews();
}

void TForm1::updateRightPanelToggle() {
    if (spbRightPanel_ == nullptr) return;
    // The arrows point the way the panel will go: out to the right, or back in.
    const bool shown = !panelRight_->isHidden();
    spbRightPanel_->setIcon(
        ui::SvgIcon(shown ? QStringLiteral("panel-toggle") : QStringLiteral("panel-show")));
    spbRightPanel_->setToolTip(
        text(shown ? TextId::MainWindowHideRightPanel : TextId::MainWindowShowRightPanel));
}

void TForm1::showReplayState() {
    if (lblStatusBarReplay_ == nullptr) return;
    QString state;
    if (replay_.playState() == comm::PlayState::Playing) {
        state = text(replay_.pauseState() == comm::PauseState::Paused
                         ? TextId::MainWindowReplayPaused
                         : TextId::MainWindowReplayPlaying);
    } else if (replayEnded_) {
        state = text(TextId::MainWindowReplayEnd);
    }
    if (lblStatusBarReplay_->text() != state) lblStatusBarReplay_->setText(state);
    lblStatusBarReplay_->setVisible(!state.isEmpty());
}

void TForm1::selectRowsInViews() {
    if (listSelection_ >= 0 && listSelection_ < shipListModel_->rowCount()) {
        listFollow_->select(shipListModel_->index(listSelection_),
                            QItemSelectionModel::ClearAndSelect);
    } else {
        listFollow_->clearSelection();
    }
    if (gridSelection_ >= 0 && gridSelection_ < gridModel_->rowCount()) {
        const QModelIndex row = gridSort_->index(gridSort_->rowOfEntry(gridSelection_), 0);
        gridFollow_->select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        gridFollow_->clearSelection();
    }
}

void TForm1::placeWindow() {
    ApplyWindowPlacement(*this, settings_.window);
}

void TForm1::keepWindowPlace() {
    KeepWindowPlacement(*this, settings_.window);
    // Closed in full screen: the next start comes up as the window was before it.
    if (isFullScreen()) {
        settings_.window.maximised = (stateBeforeFullScreen_ & Qt::WindowMaximized) != 0;
    }
}

QString TForm1::userShortDateFormat() const {
    return UserShortDateFormat(QLocale::system());
}

void TForm1::followWindowState(QEvent* event) {
    const Qt::WindowStates before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    const Qt::WindowStates now = windowState();
    if ((now & Qt::WindowFullScreen) && !(before & Qt::WindowFullScreen)) {
        stateBeforeFullScreen_ = before & ~Qt::WindowMinimized;
    } else if ((before & Qt::WindowFullScreen) && !(now & Qt::WindowFullScreen)) {
        // Leaving full screen returns to the state before it, whichever way the
        // window left it: maximised stays maximised, normal stays normal.
        const Qt::WindowStates wanted = stateBeforeFullScreen_;
        if ((now & ~Qt::WindowMinimized) != wanted) {
            QTimer::singleShot(0, this, [this, wanted] {
                if (!isFullScreen()) setWindowState(wanted);
            });
        }
    }
}

QString TForm1::askReplayFile() {
    // The log files first, then every file; in the folder of the last replayed
    // file, else the demo feed's folder.
    return dialogs_.openFileNameIn(
        this, QString(),
        ReplayDialogFolder(settings_.window.lastReplayFolder, paths_.programFolder),
        ReplayFileFilter(text(TextId::MainWindowAllFiles)));
}

}  // namespace norq::app
