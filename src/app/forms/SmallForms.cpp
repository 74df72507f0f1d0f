#include "app/forms/SmallForms.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace norq::app {

TfrmOptions::TfrmOptions(QWidget* parent)
    : QDialog(parent),
      rbOn_(new QRadioButton(QStringLiteral("ON"), this)),
      rbOff_(new QRadioButton(QStringLiteral("OFF"), this)) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    rbOn_->setObjectName(QStringLiteral("rbTxOn"));
    rbOff_->setObjectName(QStringLiteral("rbTxOff"));
    rbOn_->setChecked(true);
    auto* group = new QGroupBox(QStringLiteral("TX"), this);
    auto* row = new QHBoxLayout(group);
    row->addWidget(rbOn_);
    row->addWidget(rbOff_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    connect(rbOn_, &QRadioButton::clicked, this, [this] {
        if (onTransmit_) onTransmit_(true);
    });
    connect(rbOff_, &QRadioButton::clicked, this, [this] {
        if (onTransmit_) onTransmit_(false);
    });
}

TfrmPopupMessage::TfrmPopupMessage(const TextStore& texts, QWidget* parent)
    : QDialog(parent),
      texts_(texts),
      lblMessage_(new QLabel(this)),
      btnOk_(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("frmPopupMessage"));
    lblMessage_->setObjectName(QStringLiteral("lblMessage"));
    lblMessage_->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblMessage_, 1);
    layout->addLayout(buttons);
    resize(360, 140);
    connect(btnOk_, &QPushButton::clicked, this, &QDialog::close);
}

void TfrmPopupMessage::showMessage(const QString& text, int kind) {
    const TextId caption = kind == 1 ? TextId::OtherMsgError : TextId::OtherMsgWarning;
    setWindowTitle(QString::fromStdString(texts_.text(caption)));
    lblMessage_->setText(text);
    show();
    raise();
}

QString TfrmPopupMessage::messageText() const {
    return lblMessage_->text();
}

TfrmSpecificControl::TfrmSpecificControl(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSpecificControl"));
    setWindowTitle(QStringLiteral("Specific Control"));
}

}  // namespace norq::app
