// The TCP/IP and UDP pages that the start wizard and the port dialog share: the
// four address fields and the port of the transponder, or the port to listen on.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <array>

namespace norq::comm {

// A centred field of whole numbers from 0 to max.
QLineEdit* NumberField(QWidget* parent, const char* name, int max, int width);

// "pageTcp": the address as four fields of 0-255 ("edtIp1".."edtIp4", octetWidth
// pixels wide) and the port ("edtTcpPort"). The labels' texts are the caller's.
QGroupBox* BuildTcpPage(QWidget* parent, int octetWidth, QLabel*& ipLabel, QLabel*& portLabel,
                        std::array<QLineEdit*, 4>& octets, QLineEdit*& port);
// "pageUdp": the port to listen on ("edtUdpPort").
QGroupBox* BuildUdpPage(QWidget* parent, QLabel*& portLabel, QLineEdit*& port);

}  // namespace norq::comm
