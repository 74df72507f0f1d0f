#include "nav/forms/DestinationForm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "nav/forms/DmsFieldsWidget.h"
#include "nav/forms/NavFormTexts.h"
#include "ui/Dialogs.h"

namespace norq::nav {

namespace {
using base::TextId;
}

TfrmDestination::TfrmDestination(const base::TextStore& texts, ui::Dialogs& dialogs,
                                 QWidget* parent)
    : QDialog(parent), texts_(texts), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmDestination"));
    cbxConfigure_ = new QCheckBox(this);
    cbxConfigure_->setObjectName(QStringLiteral("cbxConfigureDestination"));
    group_ = new QGroupBox(this);
    auto* grid = new QGridLayout(group_);
    lblName_ = new QLabel(group_);
    lblLon_ = new QLabel(group_);
    lblLat_ = new QLabel(group_);
    edtName_ = new QLineEdit(group_);
    edtName_->setObjectName(QStringLiteral("edtDestinationName"));
    lon_ = new DmsFieldsWidget(Axis::Longitude, 0, QStringLiteral("Lon"), group_);
    lat_ = new DmsFieldsWidget(Axis::Latitude, 0, QStringLiteral("Lat"), group_);
    grid->addWidget(lblName_, 0, 0);
    grid->addWidget(edtName_, 0, 1);
    grid->addWidget(lblLon_, 1, 0);
    grid->addWidget(lon_, 1, 1);
    grid->addWidget(lblLat_, 2, 0);
    grid->addWidget(lat_, 2, 1);
    const OkCancelRow buttonRow = MakeOkCancelRow(this);
    btnOk_ = buttonRow.ok;
    btnCancel_ = buttonRow.cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cbxConfigure_);
    layout->addWidget(group_);
    layout->addLayout(buttonRow.row);
    connect(cbxConfigure_, &QCheckBox::toggled, group_, &QWidget::setEnabled);
    connect(btnOk_, &QPushButton::clicked, this, &TfrmDestination::onOk);
    retranslate();
}

void TfrmDestination::retranslate() {
    setWindowTitle(Tx(texts_, TextId::DestinationSettingDestinationSetting));
    cbxConfigure_->setText(Tx(texts_, TextId::DestinationSettingConfigureDestination));
    group_->setTitle(Tx(texts_, TextId::DestinationSettingDestination));
    lblName_->setText(Tx(texts_, TextId::DestinationSettingName));
    lblLon_->setText(Tx(texts_, TextId::DestinationSettingLongitude));
    lblLat_->setText(Tx(texts_, TextId::DestinationSettingLatitude));
    btnOk_->setText(Tx(texts_, TextId::DestinationSettingOk));
    btnCancel_->setText(Tx(texts_, TextId::DestinationSettingCancel));
}

void TfrmDestination::setDestination(const DestinationInfo& destination) {
    taken_ = destination;
    cbxConfigure_->setChecked(destination.valid);
    group_->setEnabled(destination.valid);
    edtName_->setText(Utf8(destination.name));
    lon_->setValue(destination.longitude);
    lat_->setValue(destination.latitude);
}

void TfrmDestination::onOk() {
    const std::optional<double> lon = lon_->value();
    const std::optional<double> lat = lat_->value();
    // 180 deg 30' is no longitude: the window stays open rather than storing it.
    if (!lon || !lat) {
        dialogs_.message(this, Tx(texts_, TextId::OtherMsgWarning),
                         Tx(texts_, TextId::NavPositionsPositionInvalid), ui::MessageIcon::Warning,
                         ui::MessageButtons::Ok);
        return;
    }
    taken_.valid = cbxConfigure_->isChecked();
    taken_.name = edtName_->text().toStdString();
    taken_.longitude = *lon;
    taken_.latitude = *lat;
    accept();
}

}  // namespace norq::nav
