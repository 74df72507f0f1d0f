// The routes: the route store and its file, route editing on the chart, the
// route windows, the chart's route layer and the route page of the navigation
// manager.
#pragma once

#include <QObject>
#include <string>

class QWidget;

namespace norq::app {

class NavigationHub;

class NavRoutes final : public QObject {
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

  private:
    NavigationHub& hub_;
};

}  // namespace norq::app
