// The markers: the marker store and its file, the marker editor, the chart's
// marker layer, and the navigation manager window with its marker page and the
// marker exchange with the transponder.
#pragma once

#include <QObject>
#include <string>

class QWidget;

namespace norq::app {

class NavigationHub;

class NavMarkers final : public QObject {
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

  private:
    NavigationHub& hub_;
};

}  // namespace norq::app
