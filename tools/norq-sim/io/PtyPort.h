// A serial line on a pseudo-terminal: the simulator keeps the master side and
// the viewer opens the slave path like any serial port.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "io/LineBuffer.h"

namespace norq::sim {

class PtyPort {
  public:
    PtyPort() = default;
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;
    ~PtyPort();

    bool open(std::string& error);
    // The rate the device's UART runs at (0: any). While the viewer has the
    // line set to another rate, what the device sends arrives as noise and
    // what the viewer sends is not understood, as on a real serial line.
    void setLineRate(int baud) { lineRate_ = baud; }
    const std::string& path() const { return path_; }
    int fd() const { return master_; }

    // Writes without blocking; what the line cannot take now is dropped, as
    // a device's UART drops it when nobody reads.
    void write(std::string_view text);
    // Reads what is waiting and appends the complete lines.
    void read(std::vector<std::string>& lines);

  private:
    bool rateMatches() const;

    int lineRate_ = 0;
    int master_ = -1;
    int slave_ = -1;  // kept open so the line stays up while no peer has it open
    std::string path_;
    LineBuffer input_;
};

}  // namespace norq::sim
