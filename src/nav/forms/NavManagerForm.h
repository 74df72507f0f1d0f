// The navigation manager ("Marker Manager"): one window with a marker page, a
// route page and a track page, shown modally on the page its entry point picks
// (the page tabs are not shown).
//
// The marker page lists the viewer's markers and, while a transponder that
// keeps markers is connected, the transponder's own list beside them, with
// ">>" and "<<" to copy single markers across. The route and track pages are
// the widgets of their own parts; without one the page stays empty.
#pragma once

#include <QDialog>
#include <functional>

#include "base/LanguageTable.h"
#include "nav/MarkerExchange.h"
#include "nav/Markmanage.h"

class QLabel;
class QPushButton;
class QStackedWidget;
class QTableWidget;
class QWidget;

namespace norq::ui {
class Dialogs;
}

namespace norq::nav {

// What the marker page asks of its owner.
class MarkerManagerHost {
  public:
    virtual ~MarkerManagerHost() = default;
    virtual bool markersShown() const = 0;
    // The connected AIS device keeps markers (device type 2).
    virtual bool deviceKeepsMarkers() const = 0;
    virtual void locateMarker(int index) = 0;
    virtual void editMarker(int index) = 0;
    virtual void editDeviceMarker(int row) = 0;
    // The viewer list changed: save it (telling the user when that fails),
    // mark the overlay dirty and repaint the chart.
    virtual void markersChanged() = 0;
    // A command could not be sent to the transponder.
    virtual void commandNotSent() = 0;
    // The window closed: the highlights are cleared.
    virtual void managerClosed() = 0;
};

enum class ManagerPage { Markers = 0, Routes = 1, Tracks = 2 };
enum class MarkerSide { Viewer = 0, Device = 1 };

inline constexpr int kNarrowWidth = 310;
inline constexpr int kWideWidth = 660;

class TfrmNavManager final : public QDialog {
    Q_OBJECT

  public:
    TfrmNavManager(const base::TextStore& texts, ui::Dialogs& dialogs, MarkerList& markers,
                   MarkerExchange& exchange, MarkerManagerHost& host, QWidget* parent = nullptr);
    ~TfrmNavManager() override;

    // The pages of the route and track parts (null: an empty page).
    void setPages(QWidget* routes, QWidget* tracks);
    void retranslate();

    // Prepares the page as showing the window does (without showing it), or
    // prepares it and runs the window modally.
    void prepare(ManagerPage page);
    int openModal(ManagerPage page);
    ManagerPage activePage() const { return page_; }
    MarkerSide activeSide() const { return side_; }
    bool deviceSideShown() const { return deviceShown_; }

    // Refills the grids (after a change of the lists).
    void refillViewer();
    void refillDevice();
    // A report of the transponder changed the device list.
    void onReport(const MarkerReportResult& result);

    // Selection and buttons, as the user uses them.
    void selectRow(MarkerSide side, int row);
    int selectedRow() const;
    void onLocate();
    void onProperties();
    void onDelete();
    void onRefresh();
    void onToDevice();
    void onToViewer();

    QTableWidget* viewerGrid() const { return viewerGrid_; }
    QTableWidget* deviceGrid() const { return deviceGrid_; }
    QPushButton* button(const char* name) const;

  protected:
    void done(int result) override;

  private:
    QWidget* buildMarkerPage();
    QTableWidget* makeGrid(const char* name);
    void fillGrid(QTableWidget* grid, int count,
                  const std::function<const MarkerRecord&(int)>& record);
    void paintSelection();
    void updateButtons();
    void moveToNextRow();

    const base::TextStore& texts_;
    ui::Dialogs& dialogs_;
    MarkerList& markers_;
    MarkerExchange& exchange_;
    MarkerManagerHost& host_;
    ManagerPage page_ = ManagerPage::Markers;
    MarkerSide side_ = MarkerSide::Viewer;
    bool deviceShown_ = false;
    QStackedWidget* pages_ = nullptr;
    QWidget* markerPage_ = nullptr;
    QWidget* routePage_ = nullptr;
    QWidget* trackPage_ = nullptr;
    QWidget* devicePanel_ = nullptr;
    QLabel* lblViewer_ = nullptr;
    QLabel* lblDevice_ = nullptr;
    QTableWidget* viewerGrid_ = nullptr;
    QTableWidget* deviceGrid_ = nullptr;
    QPushButton* btnLocate_ = nullptr;
    QPushButton* btnProperties_ = nullptr;
    QPushButton* btnDelete_ = nullptr;
    QPushButton* btnRefresh_ = nullptr;
    QPushButton* btnClose_ = nullptr;
    QPushButton* btnToDevice_ = nullptr;
    QPushButton* btnToViewer_ = nullptr;
    QWidget* markerButtons_ = nullptr;
};

}  // namespace norq::nav
