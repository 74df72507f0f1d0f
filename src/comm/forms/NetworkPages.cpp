#include "comm/forms/NetworkPages.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>

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

QGroupBox* BuildUdpPage(QWidget* parent, QLabel*& portLabel, QLineEdit*& port) {
    auto* page = new QGroupBox(parent);
    page->setObjectName(QStringLiteral("pageUdp"));
    portLabel = new QLabel(page);
    port = NumberField(page, "edtUdpPort", 65535, 72);
    auto* form = new QFormLayout(page);
    form->addRow(portLabel, port);
    return page;
}

}  // namespace norq::comm
