// The TCP/IP and UDP pages that the start wizard and the port dialog share: the
// four address fields and the port of the transponder, or the port to listen on
// with the multicast group to join and its interface.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <array>

#include "base/LanguageTable.h"
#include "comm/ConnectionChecks.h"

namespace norq::comm {

// A centred field of whole numbers from 0 to max.
QLineEdit* NumberField(QWidget* parent, const char* name, int max, int width);

// "pageTcp": the address as four fields of 0-255 ("edtIp1".."edtIp4", octetWidth
// pixels wide) and the port ("edtTcpPort"). The labels' texts are the caller's.
QGroupBox* BuildTcpPage(QWidget* parent, int octetWidth, QLabel*& ipLabel, QLabel*& portLabel,
                        std::array<QLineEdit*, 4>& octets, QLineEdit*& port);
// "pageUdp": the port to listen on ("edtUdpPort"), the multicast group
// ("edtUdpGroup", empty for datagrams sent to this computer) and the interface
// to join it on ("cbxUdpInterface": the machine's interfaces, or a typed name
// or IPv4 address; empty for the system's choice).
struct UdpPage {
    QGroupBox* page = nullptr;
    QLabel* portLabel = nullptr;
    QLineEdit* port = nullptr;
    QLabel* groupLabel = nullptr;
    QLineEdit* group = nullptr;
    QLabel* interfaceLabel = nullptr;
    QComboBox* interfaceName = nullptr;

    // Shows the stored choice, with the machine's interfaces in the list.
    void show(const UdpChoice& stored);
    void retranslate(const base::TextStore& texts);
    // The group and interface fields follow the port field.
    void setEnabled(bool enabled);
    UdpFields fields() const;
};
UdpPage BuildUdpPage(QWidget* parent);

}  // namespace norq::comm
