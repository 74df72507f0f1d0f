#include "app/forms/DemoParForm.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "ui/Dialogs.h"

namespace norq::app {

namespace {

QDoubleSpinBox* DegreesField(QWidget* parent, const char* name, double limit) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setDecimals(6);
    box->setRange(-limit, limit);
    box->setSingleStep(0.01);
    return box;
}

}  // namespace

TfrmDemoPar::TfrmDemoPar(QWidget* parent)
    : QDialog(parent),
      biasLon_(DegreesField(this, "edtBiasLon", 180.0)),
      biasLat_(DegreesField(this, "edtBiasLat", 90.0)),
      disableCalibration_(new QCheckBox(QStringLiteral("Disable Sea Chart Calibration"), this)),
      cruiseLon_(DegreesField(this, "edtCruiseLon", 180.0)),
      cruiseLat_(DegreesField(this, "edtCruiseLat", 90.0)) {
    setObjectName(QStringLiteral("frmDemoPar"));
    setWindowTitle(QStringLiteral("DEMO Parameters"));
    ui::KeepCaptionVisible(this);
    setModal(true);
    disableCalibration_->setObjectName(QStringLiteral("cbxDisableCalibration"));

    auto* bias = new QGroupBox(QStringLiteral("Position Bias"), this);
    auto* biasForm = new QFormLayout(bias);
    biasForm->addRow(QStringLiteral("Longitude"), biasLon_);
    biasForm->addRow(QStringLiteral("Latitude"), biasLat_);
    auto* cruise = new QGroupBox(QStringLiteral("Cruise Step"), this);
    auto* cruiseForm = new QFormLayout(cruise);
    cruiseForm->addRow(QStringLiteral("Longitude"), cruiseLon_);
    cruiseForm->addRow(QStringLiteral("Latitude"), cruiseLat_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bias);
    layout->addWidget(disableCalibration_);
    layout->addWidget(cruise);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool TfrmDemoPar::edit(DemoParameters& p, const QWidget* owner) {
    biasLon_->setValue(p.biasLongitude);
    biasLat_->setValue(p.biasLatitude);
    disableCalibration_->setChecked(p.disableSeaChartCalibration);
    cruiseLon_->setValue(p.cruiseStepLongitude);
    cruiseLat_->setValue(p.cruiseStepLatitude);
    if (owner != nullptr) move(owner->geometry().topLeft() + QPoint(50, 80));
    if (exec() != QDialog::Accepted) return false;
    p.biasLongitude = biasLon_->value();
    p.biasLatitude = biasLat_->value();
    p.disableSeaChartCalibration = disableCalibration_->isChecked();
    p.cruiseStepLongitude = cruiseLon_->value();
    p.cruiseStepLatitude = cruiseLat_->value();
    return true;
}

}  // namespace norq::app
