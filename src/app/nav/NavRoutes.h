// The routes: the route store and its file, route editing on the chart, the
// route windows, the chart's route layer and the route page of the navigation
// manager.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "nav/RouteLayer.h"
#include "nav/RouteStore.h"
#include "nav/RouteTool.h"

class QAction;
class QMenu;
class QWidget;
class QToolButton;

namespace norq::nav {
class TfrmRouteProperties;
class RouteManagerPage;
}  // namespace norq::nav

namespace norq::app {

class NavigationHub;

class NavRoutes final : public QObject, public nav::RouteToolHost {
    Q_OBJECT

  public:
    explicit NavRoutes(NavigationHub& hub);
    ~NavRoutes() override;

    void readFiles(const std::string& dataFolder);
    void retranslate();
    void stepSecond();
    void shutdown();

    // The route page of the navigation manager (owned by this part).
    QWidget* managerPage();
    nav::RouteManagerPage& page();

    nav::RouteStore& store() { return store_; }
    nav::RouteTool& tool() { return tool_; }
    nav::TfrmRouteProperties& propertiesWindow() { return *properties_; }

    // The route tool button and "Create Route(&R)": arms or releases the tool.
    void setToolArmed(bool armed);
    bool toolArmed() const;
    // The commands of the tool's popup menu.
    void endRoute();
    void deleteRoute(int index, bool ask);
    void reverseRoute(int index);
    void openProperties(int index);
    // The manager's "Locate": centres on the route's first waypoint and
    // highlights it, while routes are shown and the route is visible.
    void locate(int index);
    void setVisible(int index, bool visible);
    // "Show Routes" of the View menu.
    void setShown(bool shown);
    // The manager closed: the highlight goes.
    void clearHighlight();

    // nav::RouteToolHost
    void routeStoreFull() override;
    void routeChanged() override;
    void routePopup(nav::RouteHit hit, chart::PixelXY pixel) override;
    void routeAppended(int route, bool written) override;
    // Tests choose from the tool's popup menu instead of the pointer.
    void setPopupChooser(std::function<QAction*(QMenu&)> choose) {
        popupChoice_ = std::move(choose);
    }

  Q_SIGNALS:
    // "Route Manager(&R)" and the properties window's "Route Manager": the
    // navigation manager is to open on its route page.
    void managerRequested();

  private:
    void connectMenus();
    void onPropertiesAccepted();
    void reportWrite(bool written, const std::string& file);
    void routeEdited(int route, bool written);
    void redraw();
    std::string nowText() const;

    NavigationHub& hub_;
    nav::RouteStore store_;
    nav::RouteLayer layer_{store_};
    nav::RouteTool tool_{store_, *this};
    // Owned here until the manager window takes it in as its page; whoever
    // holds it last deletes it.
    QPointer<nav::RouteManagerPage> page_;
    nav::TfrmRouteProperties* properties_ = nullptr;
    QToolButton* toolButton_ = nullptr;
    int editing_ = -1;  // the route in the properties window
    std::function<QAction*(QMenu&)> popupChoice_;
};

}  // namespace norq::app
