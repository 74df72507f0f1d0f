// The marker exchange with a transponder that keeps markers: the device-side
// list (at most 99 markers, kept only while the navigation manager shows it),
// the MRK commands and queries sent on the AIS port, and the reports the
// transponder answers with.
//
// Positions travel as integer millionths of a degree. The device-side records
// keep the integers of their report, and a viewer marker is the same point as
// a device marker when its position, truncated to millionths as it is sent,
// gives the same integers: comparing the 32-bit floats instead fails for most
// coordinates, which left markers unlinked and let ">>" add them again.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "codec/SentenceBodies.h"
#include "nav/Markmanage.h"

namespace norq::nav {

inline constexpr int kMaxDeviceMarkers = 99;

// MRK operation codes.
enum class MarkerOperation : int {
    List = 0,
    Add = 1,
    Modify = 2,
    Delete = 3,
    ListEntry = 5,
    End = 9,
};

struct DeviceMarker {
    MarkerRecord record;        // its device index: the marker's index in the transponder
    std::int64_t latitude = 0;  // millionths, as reported
    std::int64_t longitude = 0;
};

// Where the exchange sends its sentences (the AIS port); false when not sent.
class MarkerLinePort {
  public:
    virtual ~MarkerLinePort() = default;
    virtual bool sendMarkerLine(std::string_view lineCrLf) = 0;
};

// What a report changed.
struct MarkerReportResult {
    bool deviceChanged = false;  // the device-side list
    bool viewerChanged = false;  // device indices of viewer markers
    bool listComplete = false;   // the last entry of a list answer arrived
};

class MarkerExchange {
  public:
    explicit MarkerExchange(MarkerList& viewer) : viewer_(viewer) { clearDevice(); }

    void setPort(MarkerLinePort* port) { port_ = port; }

    int deviceCount() const { return count_; }
    const DeviceMarker& device(int row) const { return device_[static_cast<std::size_t>(row)]; }
    bool deviceValid(int row) const { return row >= 0 && row < count_; }
    // Count 0, every record zero with device index -1.
    void clearDevice();

    // "Refresh": empties the device list and asks for the transponder's list.
    bool queryList();
    // ">>": adds the viewer marker to the transponder, or modifies it there when
    // it is linked already.
    bool sendToDevice(int viewerIndex);
    // True when ">>" can do something for the viewer marker: modify a linked
    // one, or add while the transponder has room.
    bool canSendToDevice(int viewerIndex) const;
    // Delete on the device side, and a device marker edited in the editor.
    bool deleteOnDevice(int row);
    bool modifyOnDevice(int row, const MarkerRecord& edited);
    // "<<": the device marker into the viewer list (replacing the viewer marker
    // linked to it). The viewer index changed, or -1 when the list is full.
    int copyToViewer(int row);

    // A received MRK sentence (letter and body as the codec parsed them).
    MarkerReportResult onSentence(char subtype, const codec::Mrk& mrk);

    // The sentence the exchange sends for one command (without sending it).
    static std::string_view Compose(char subtype, MarkerOperation operation, int count, int index,
                                    std::int64_t latitude, std::int64_t longitude,
                                    std::string_view name, char (&buffer)[128]);

  private:
    bool sendCommand(MarkerOperation operation, int count, int index, const MarkerRecord& r);
    bool send(char subtype, MarkerOperation operation, int count, int index, std::int64_t lat,
              std::int64_t lon, std::string_view name);
    bool linkViewerMarkers(std::int64_t lat, std::int64_t lon, int index);
    MarkerReportResult onAdded(const DeviceMarker& m);
    MarkerReportResult onModified(const DeviceMarker& m);
    MarkerReportResult onDeleted(const DeviceMarker& m);
    MarkerReportResult onListEntry(const DeviceMarker& m, int count);

    MarkerList& viewer_;
    MarkerLinePort* port_ = nullptr;
    std::array<DeviceMarker, kMaxDeviceMarkers> device_{};
    std::int16_t count_ = 0;
};

}  // namespace norq::nav
