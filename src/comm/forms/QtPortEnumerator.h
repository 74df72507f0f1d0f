// The machine's serial ports as Qt lists them (by device path, with what the
// system knows of each).
#pragma once

#include "comm/TSysSensorControl.h"

namespace norq::comm {

class QtPortEnumerator final : public PortEnumerator {
  public:
    std::vector<PortInfo> presentPorts() override;
};

}  // namespace norq::comm
