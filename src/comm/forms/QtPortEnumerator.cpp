#include "comm/forms/QtPortEnumerator.h"

#include <QSerialPortInfo>

namespace norq::comm {

std::vector<PortInfo> QtPortEnumerator::presentPorts() {
    std::vector<PortInfo> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        PortInfo port;
        port.path = info.systemLocation().toStdString();
        QString description = info.description();
        if (!info.manufacturer().isEmpty() && !description.contains(info.manufacturer()))
            description += QStringLiteral(" (") + info.manufacturer() + QLatin1Char(')');
        port.description = description.toStdString();
        ports.push_back(std::move(port));
    }
    return ports;
}

}  // namespace norq::comm
