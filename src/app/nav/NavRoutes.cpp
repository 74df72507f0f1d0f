#include "app/nav/NavRoutes.h"

#include "app/NavigationHub.h"

namespace norq::app {

NavRoutes::NavRoutes(NavigationHub& hub) : QObject(nullptr), hub_(hub) {}

NavRoutes::~NavRoutes() = default;

void NavRoutes::readFiles(const std::string& /*dataFolder*/) {}

void NavRoutes::retranslate() {}

void NavRoutes::stepSecond() {}

void NavRoutes::shutdown() {}

QWidget* NavRoutes::managerPage() {
    return nullptr;
}

}  // namespace norq::app
