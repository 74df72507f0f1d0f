// The line settings of a serial port as POSIX termios flags. Kept apart from
// the port so that the mapping can be checked without a device.
#pragma once

#include <termios.h>

#include "comm/TComm.h"

namespace norq::comm {

struct LineSettings {
    TBaudRate baudRate = TBaudRate::br9600;
    TParity parity = TParity::paNone;
    TStopBits stopBits = TStopBits::sb10;
    TDataBits dataBits = TDataBits::da8;
    TCommOptions options = 0;
    char xOnChar = 17;
    char xOffChar = 19;
};

// Sets the flags of `tio` for the settings: a raw 8-bit clean line with the
// receiver on, no modem control, no flow control, the parity, data bits and
// stop bits asked for. The rate is set apart (SetLineRate). False for a data
// width the line cannot carry (four bits).
bool MakeLineFlags(const LineSettings& settings, termios& tio);

// The termios speed constant of a rate, or 0 for a rate that has none
// (14400, 56000, 128000, 256000).
speed_t StandardSpeed(int rate);

// Sets the rate of an open line: a standard rate through `tio` (which the
// caller then applies), any other directly on the device. False with errno set
// when the device refuses.
bool SetCustomRate(int fd, int rate);

}  // namespace norq::comm
