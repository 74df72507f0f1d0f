// The markers: the marker store and its file, the marker editor, the chart's
// marker layer, and the navigation manager window with its marker page and the
// marker exchange with the transponder.
#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "ais/IntakeInterfaces.h"
#include "chart/ChartLayers.h"
#include "nav/MarkerExchange.h"
#include "nav/MarkerLayer.h"
#include "nav/Markmanage.h"
#include "nav/forms/NavManagerForm.h"

class QWidget;
class QAbstractButton;

namespace norq::nav {
class TfrmMarkSetting;
}

namespace norq::app {

class NavigationHub;

class NavMarkers final : public QObject,
                         public nav::MarkerManagerHost,
                         public nav::MarkerLinePort,
                         public ais::ProprietaryHandler {
    Q_OBJECT

  public:
    explicit NavMarkers(NavigationHub& hub);
    ~NavMarkers() override;

    void readFiles(const std::string& dataFolder);
    void retranslate();
    void stepSecond();
    void shutdown();

    // "Add marker here" of the chart popup.
    void addMarkerHere(double lon, double lat);

    // The navigation manager, modally on a page.
    void openManager(nav::ManagerPage page);
    // "Show Markers".
    void setMarkersShown(bool shown);

    nav::MarkerList& markers() { return markers_; }
    nav::MarkerExchange& exchange() { return exchange_; }
    const nav::MarkerDrawState& drawState() const { return drawState_; }
    nav::TfrmNavManager& manager() { return *manager_; }
    nav::TfrmMarkSetting& editor() { return *editor_; }
    const std::string& markerFile() const { return markerFile_; }
    // Replaces the marker file (tests, and a data folder chosen later).
    void setMarkerFile(const std::string& path) { markerFile_ = path; }

    // nav::MarkerManagerHost
    bool markersShown() const override { return drawState_.shown; }
    bool deviceKeepsMarkers() const override;
    void locateMarker(int index) override;
    void editMarker(int index) override;
    void editDeviceMarker(int row) override;
    void markersChanged() override;
    void commandNotSent() override;
    void managerClosed() override;

    // nav::MarkerLinePort: the AIS port of the sensor port control.
    bool sendMarkerLine(std::string_view lineCrLf) override;

    // ais::ProprietaryHandler
    void OnMobSentence() override;
    void OnMarkerSentence() override;

  private:
    enum class EditMode { None, New, Edit };

    // While the marker tool is down, a release on the chart places a marker.
    class MarkerTool final : public chart::ChartPointerTool {
      public:
        explicit MarkerTool(NavMarkers& owner) : owner_(owner) {}
        bool press(const chart::ChartPointer& p) override;
        bool release(const chart::ChartPointer& p) override;

      private:
        NavMarkers& owner_;
        chart::GeoPoint pressed_{};
        bool down_ = false;
    };

    void connectMenus();
    void connectIntake();
    bool acceptEdit(const nav::MarkerRecord& record);
    void editingClosed();
    void showEditor();
    bool save();
    void redraw();
    void setToolDown(bool down);

    NavigationHub& hub_;
    nav::MarkerList markers_;
    nav::MarkerExchange exchange_{markers_};
    nav::MarkerDrawState drawState_;
    nav::MarkerLayer layer_{markers_, drawState_};
    MarkerTool tool_{*this};
    std::unique_ptr<nav::TfrmMarkSetting> editor_;
    std::unique_ptr<nav::TfrmNavManager> manager_;
    std::string markerFile_;
    EditMode mode_ = EditMode::None;
    nav::MarkerSide editSide_ = nav::MarkerSide::Viewer;
    int editIndex_ = -1;
    bool pagesSet_ = false;
    bool toolDown_ = false;
    ais::ProprietaryHandler* previousProprietary_ = nullptr;
    bool intakeConnected_ = false;
};

}  // namespace norq::app
