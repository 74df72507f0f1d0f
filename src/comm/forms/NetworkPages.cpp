#include "comm/forms/NetworkPages.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>

#include "comm/UdpInput.h"

namespace norq::comm {

QLineEdit* NumberField(QWidget* parent, const char* name, int max, int width) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setValidator(new QIntValidator(0, max, field));
    field->setMaxLength(max > 999 ? 5 : 3);
    field->setFixedWidth(width);
    field->setAlignment(Qt::AlignCenter);
    return field;
}

QGroupBox* BuildTcpPage(QWidget* parent, int octetWidth, QLabel*& ipLabel, QLabel*& portLabel,
                        std::array<QLineEdit*, 4>& octets, QLineEdit*& port) {
    auto* page = new QGroupBox(parent);
    page->setObjectName(QStringLiteral("pageTcp"));
    ipLabel = new QLabel(page);
    portLabel = new QLabel(page);
    auto* address = new QHBoxLayout;
    const std::array<const char*, 4> names{"edtIp1", "edtIp2", "edtIp3", "edtIp4"};
    for (std::size_t i = 0; i < octets.size(); ++i) {
        octets[i] = NumberField(page, names[i], 255, octetWidth);
        if (i > 0) address->addWidget(new QLabel(QStringLiteral("."), page));
        address->addWidget(octets[i]);
    }
    address->addStretch(1);
    port = NumberField(page, "edtTcpPort", 65535, 72);
    auto* form = new QFormLayout(page);
    form->addRow(ipLabel, address);
    form->addRow(portLabel, port);
    return page;
}

UdpPage BuildUdpPage(QWidget* parent) {
    UdpPage u;
    u.page = new QGroupBox(parent);
    u.page->setObjectName(QStringLiteral("pageUdp"));
    u.portLabel = new QLabel(u.page);
    u.port = NumberField(u.page, "edtUdpPort", 65535, 72);
    u.groupLabel = new QLabel(u.page);
    u.group = new QLineEdit(u.page);
    u.group->setObjectName(QStringLiteral("edtUdpGroup"));
    u.group->setMaxLength(45);  // the longest IPv6 literal
    u.group->setMinimumWidth(200);
    u.interfaceLabel = new QLabel(u.page);
    u.interfaceName = new QComboBox(u.page);
    u.interfaceName->setObjectName(QStringLiteral("cbxUdpInterface"));
    u.interfaceName->setEditable(true);
    u.interfaceName->setMinimumWidth(200);
    auto* form = new QFormLayout(u.page);
    form->addRow(u.portLabel, u.port);
    form->addRow(u.groupLabel, u.group);
    form->addRow(u.interfaceLabel, u.interfaceName);
    return u;
}

void UdpPage::show(const UdpChoice& stored) {
    port->setText(QString::number(stored.port));
    group->setText(QString::fromStdString(stored.group));
    interfaceName->clear();
    interfaceName->addItem(QString());
    for (const std::string& name : MulticastInterfaces())
        interfaceName->addItem(QString::fromStdString(name));
    interfaceName->setEditText(QString::fromStdString(stored.interfaceName));
}

void UdpPage::retranslate(const base::TextStore& texts) {
    auto text = [&texts](base::TextId id) { return QString::fromStdString(texts.text(id)); };
    portLabel->setText(text(base::TextId::QuickStartUdpPort));
    groupLabel->setText(text(base::TextId::QuickStartUdpGroup));
    group->setPlaceholderText(text(base::TextId::QuickStartUdpGroupHint));
    interfaceLabel->setText(text(base::TextId::QuickStartUdpInterface));
    if (QLineEdit* edit = interfaceName->lineEdit())
        edit->setPlaceholderText(text(base::TextId::QuickStartUdpInterfaceHint));
}

void UdpPage::setEnabled(bool enabled) {
    port->setEnabled(enabled);
    group->setEnabled(enabled);
    interfaceName->setEnabled(enabled);
}

UdpFields UdpPage::fields() const {
    UdpFields f;
    f.port = port->text().toStdString();
    f.group = group->text().toStdString();
    f.interfaceName = interfaceName->currentText().toStdString();
    return f;
}

}  // namespace norq::comm
