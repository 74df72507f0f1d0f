#include "nav/forms/ChartCalibrationForm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "nav/ChartCalibration.h"
#include "nav/forms/NavFormTexts.h"
#include "ui/Dialogs.h"

namespace norq::nav {

namespace {
using base::TextId;
}

TfrmChartCalibration::TfrmChartCalibration(const base::TextStore& texts, ui::Dialogs& dialogs,
                                           QWidget* parent)
    : QDialog(parent), texts_(texts), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmChartCalibration"));
    cbxEnable_ = new QCheckBox(this);
    cbxEnable_->setObjectName(QStringLiteral("cbxEnableChartCalibration"));
    lblLat_ = new QLabel(this);
    lblLon_ = new QLabel(this);
    lblNote_ = new QLabel(this);
    edtLat_ = new QLineEdit(this);
    edtLat_->setObjectName(QStringLiteral("edtCalibrationLatitude"));
    edtLon_ = new QLineEdit(this);
    edtLon_->setObjectName(QStringLiteral("edtCalibrationLongitude"));
    auto* grid = new QGridLayout;
    grid->addWidget(lblLat_, 0, 0);
    grid->addWidget(edtLat_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("°"), this), 0, 2);
    grid->addWidget(lblLon_, 1, 0);
    grid->addWidget(edtLon_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("°"), this), 1, 2);
    const OkCancelRow buttonRow = MakeOkCancelRow(this);
    btnOk_ = buttonRow.ok;
    btnCancel_ = buttonRow.cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cbxEnable_);
    layout->addLayout(grid);
    layout->addWidget(lblNote_);
    layout->addLayout(buttonRow.row);
    connect(cbxEnable_, &QCheckBox::toggled, edtLat_, &QWidget::setEnabled);
    connect(cbxEnable_, &QCheckBox::toggled, edtLon_, &QWidget::setEnabled);
    // Digits, one '.' and one '-'.
    for (QLineEdit* edit : {edtLat_, edtLon_}) {
        edit->setValidator(new TypingRule(
            [](const std::string& t) { return FilterCalibrationText(std::string(), t) == t; },
            edit));
    }
    connect(btnOk_, &QPushButton::clicked, this, &TfrmChartCalibration::onOk);
    retranslate();
}

void TfrmChartCalibration::retranslate() {
    setWindowTitle(Tx(texts_, TextId::ChartCalibrationChartCalibration));
    cbxEnable_->setText(Tx(texts_, TextId::ChartCalibrationEnable));
    lblLat_->setText(Tx(texts_, TextId::ChartCalibrationLatitude));
    lblLon_->setText(Tx(texts_, TextId::ChartCalibrationLongitude));
    lblNote_->setText(Tx(texts_, TextId::ChartCalibrationNote));
    btnOk_->setText(Tx(texts_, TextId::ChartCalibrationOk));
    btnCancel_->setText(Tx(texts_, TextId::ChartCalibrationCancel));
}

void TfrmChartCalibration::setValues(const CalibrationValues& values) {
    taken_ = values;
    cbxEnable_->setChecked(values.active);
    edtLat_->setEnabled(values.active);
    edtLon_->setEnabled(values.active);
    edtLat_->setText(Utf8(values.latitude));
    edtLon_->setText(Utf8(values.longitude));
}

void TfrmChartCalibration::onOk() {
    const CalibrationCheck check =
        CheckCalibration(edtLat_->text().toStdString(), edtLon_->text().toStdString());
    if (!check.accepted) {
        dialogs_.message(this, Tx(texts_, TextId::OtherMsgWarning),
                         Tx(texts_, TextId::ChartCalibrationExceeding), ui::MessageIcon::Warning,
                         ui::MessageButtons::Ok);
        return;
    }
    taken_.active = cbxEnable_->isChecked();
    taken_.latitude = check.latitude;
    taken_.longitude = check.longitude;
    edtLat_->setText(Utf8(check.latitude));
    edtLon_->setText(Utf8(check.longitude));
    accept();
}

}  // namespace norq::nav
