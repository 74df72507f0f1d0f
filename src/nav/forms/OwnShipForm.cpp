#include "nav/forms/OwnShipForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "nav/forms/DmsFieldsWidget.h"
#include "nav/forms/NavFormTexts.h"
#include "ui/Dialogs.h"

namespace norq::nav {

namespace {
using base::TextId;
constexpr int kSecondDecimals = 5;
}  // namespace

TfrmOwnShip::TfrmOwnShip(const base::TextStore& texts, ui::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), texts_(texts), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmOwnShip"));
    auto* grid = new QGridLayout;
    lblMmsi_ = new QLabel(this);
    lblLon_ = new QLabel(this);
    lblLat_ = new QLabel(this);
    lblCog_ = new QLabel(this);
    edtMmsi_ = new QLineEdit(this);
    edtMmsi_->setObjectName(QStringLiteral("edtMmsi"));
    edtMmsi_->setInputMask(QStringLiteral("999999999"));
    edtMmsi_->setMaximumWidth(110);
    lon_ = new DmsFieldsWidget(Axis::Longitude, kSecondDecimals, QStringLiteral("Lon"), this);
    lat_ = new DmsFieldsWidget(Axis::Latitude, kSecondDecimals, QStringLiteral("Lat"), this);
    auto* cogRow = new QWidget(this);
    auto* cog = new QHBoxLayout(cogRow);
    cog->setContentsMargins(0, 0, 0, 0);
    cogWhole_ = new QSpinBox(cogRow);
    cogWhole_->setObjectName(QStringLiteral("edtCogWhole"));
    cogWhole_->setRange(0, 359);
    cogTenths_ = new QSpinBox(cogRow);
    cogTenths_->setObjectName(QStringLiteral("edtCogTenths"));
    cogTenths_->setRange(0, 9);
    cog->addWidget(cogWhole_);
    cog->addWidget(new QLabel(QStringLiteral("."), cogRow));
    cog->addWidget(cogTenths_);
    cog->addWidget(new QLabel(QStringLiteral("°"), cogRow));
    cog->addStretch();
    grid->addWidget(lblMmsi_, 0, 0);
    grid->addWidget(edtMmsi_, 0, 1);
    grid->addWidget(lblLon_, 1, 0);
    grid->addWidget(lon_, 1, 1);
    grid->addWidget(lblLat_, 2, 0);
    grid->addWidget(lat_, 2, 1);
    grid->addWidget(lblCog_, 3, 0);
    grid->addWidget(cogRow, 3, 1);
    const OkCancelRow buttonRow = MakeOkCancelRow(this);
    btnOk_ = buttonRow.ok;
    btnCancel_ = buttonRow.cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttonRow.row);
    connect(btnOk_, &QPushButton::clicked, this, &TfrmOwnShip::onOk);
    retranslate();
}

void TfrmOwnShip::retranslate() {
    setWindowTitle(Tx(texts_, TextId::OwnShipSettingManualPositioning));
    lblMmsi_->setText(Tx(texts_, TextId::OwnShipSettingMmsi));
    lblLon_->setText(Tx(texts_, TextId::OwnShipSettingLongitude));
    lblLat_->setText(Tx(texts_, TextId::OwnShipSettingLatitude));
    lblCog_->setText(Tx(texts_, TextId::OwnShipSettingCog));
    btnOk_->setText(Tx(texts_, TextId::OwnShipSettingOk));
    btnCancel_->setText(Tx(texts_, TextId::OwnShipSettingCancel));
}

void TfrmOwnShip::setValues(std::uint32_t mmsi, double lon, double lat) {
    edtMmsi_->setText(QString::asprintf("%09u", mmsi));
    lon_->setValue(lon);
    lat_->setValue(lat);
}

void TfrmOwnShip::onOk() {
    const std::optional<double> lon = lon_->value();
    const std::optional<double> lat = lat_->value();
    if (!lon || !lat) {
        dialogs_.message(this, Tx(texts_, TextId::OtherMsgWarning),
                         Tx(texts_, TextId::NavPositionsPositionInvalid), ui::MessageIcon::Warning,
                         ui::MessageButtons::Ok);
        return;
    }
    bool ok = false;
    const unsigned mmsi = edtMmsi_->text().trimmed().toUInt(&ok);
    taken_.mmsi = ok ? mmsi : 0;
    taken_.longitude = *lon;
    taken_.latitude = *lat;
    taken_.course = cogWhole_->value() + cogTenths_->value() / 10.0;
    accept();
}

}  // namespace norq::nav
