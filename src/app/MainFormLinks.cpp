// What the main window hands to its links: the sensor port control, the
// start-up source and the texts of the target-list export.
#include "app/MainForm.h"
#include "app/TargetGridModel.h"
#include "app/ViewerLinks.h"

namespace norq::app {

comm::TSysSensorControl& TForm1::sensorControl() {
    return links_->control();
}

void TForm1::setStartupConnection(const QString& source) {
    links_->setStartupSource(source);
}

ais::TextOptions TForm1::exportTextOptions() {
    refreshTextOptions();
    return textOptions_;
}

std::array<std::string, ais::kGridColumnCount> TForm1::gridColumnTitles() const {
    std::array<std::string, ais::kGridColumnCount> titles;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        titles[i] = gridModel_->headerData(static_cast<int>(i), Qt::Horizontal, Qt::DisplayRole)
                        .toString()
                        .toStdString();
    }
    return titles;
}

}  // namespace norq::app
