#include "comm/SerialLine.h"

namespace norq::comm {

bool MakeLineFlags(const LineSettings& settings, termios& tio) {
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(CRTSCTS | CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | PARMRK | IGNPAR);

    switch (settings.dataBits) {
        case TDataBits::da4:
            return false;
        case TDataBits::da5:
            tio.c_cflag |= CS5;
            break;
        case TDataBits::da6:
            tio.c_cflag |= CS6;
            break;
        case TDataBits::da7:
            tio.c_cflag |= CS7;
            break;
        case TDataBits::da8:
            tio.c_cflag |= CS8;
            break;
    }
    switch (settings.parity) {
        case TParity::paNone:
            break;
        case TParity::paOdd:
            tio.c_cflag |= PARENB | PARODD;
            break;
        case TParity::paEven:
            tio.c_cflag |= PARENB;
            break;
        case TParity::paMark:
            tio.c_cflag |= PARENB | CMSPAR | PARODD;
            break;
        case TParity::paSpace:
            tio.c_cflag |= PARENB | CMSPAR;
            break;
    }
    // Two stop bits; with five data bits the UART sends one and a half.
    if (settings.stopBits != TStopBits::sb10) tio.c_cflag |= CSTOPB;
    if ((settings.options & OptionBit(TCommOption::coParityCheck)) != 0) {
        tio.c_iflag |= INPCK;
    } else {
        tio.c_iflag |= IGNPAR;
    }
    tio.c_cc[VSTART] = static_cast<cc_t>(settings.xOnChar);
    tio.c_cc[VSTOP] = static_cast<cc_t>(settings.xOffChar);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return true;
}

speed_t StandardSpeed(int rate) {
    switch (rate) {
        case 110:
            return B110;
        case 300:
            return B300;
        case 600:
            return B600;
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return 0;
    }
}

}  // namespace norq::comm
