#include "app/forms/CpaSettingForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "app/BaseNames.h"
#include "base/Settings.h"
#include "ui/Dialogs.h"

namespace norq::app {

TfrmCpaSetting::TfrmCpaSetting(const TextStore& texts, QWidget* parent)
    : QDialog(parent),
      texts_(texts),
      lblCpa_(new QLabel(this)),
      lblTcpa_(new QLabel(this)),
      spnCpa_(new QSpinBox(this)),
      spnTcpa_(new QSpinBox(this)),
      btnOk_(new QPushButton(this)),
      btnCancel_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmCpaSetting"));
    spnCpa_->setObjectName(QStringLiteral("spnCPA"));
    spnTcpa_->setObjectName(QStringLiteral("spnTCPA"));
    btnOk_->setObjectName(QStringLiteral("btnOK"));
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    spnCpa_->setRange(kCpaRange.min, kCpaRange.max);
    spnTcpa_->setRange(kTcpaRange.min, kTcpaRange.max);

    auto* grid = new QGridLayout;
    grid->addWidget(lblCpa_, 0, 0);
    grid->addWidget(spnCpa_, 0, 1);
    grid->addWidget(lblTcpa_, 1, 0);
    grid->addWidget(spnTcpa_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk_);
    buttons->addWidget(btnCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    btnOk_->setDefault(true);
    connect(btnOk_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
    retranslate();
}

void TfrmCpaSetting::retranslate() {
    auto text = [this](TextId id) { return QString::fromStdString(texts_.text(id)); };
    setWindowTitle(text(TextId::CpaTcpaSettingCpaTcpaSetting));
    ui::KeepCaptionVisible(this);
    lblCpa_->setText(text(TextId::CpaTcpaSettingCpaNm));
    lblTcpa_->setText(text(TextId::CpaTcpaSettingTcpaNm));
    btnOk_->setText(text(TextId::CpaTcpaSettingOk));
    btnCancel_->setText(text(TextId::CpaTcpaSettingCancel));
}

bool TfrmCpaSetting::edit(int& cpaLimit, int& tcpaLimit) {
    spnCpa_->setValue(cpaLimit);
    spnTcpa_->setValue(tcpaLimit);
    if (exec() != QDialog::Accepted) return false;
    cpaLimit = spnCpa_->value();
    tcpaLimit = spnTcpa_->value();
    return true;
}

}  // namespace norq::app
