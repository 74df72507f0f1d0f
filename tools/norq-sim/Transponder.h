// The AIS transponder: puts out VDM for every message it receives from the
// traffic and VDO for the own ship; answers the detection and identification
// queries with its identification block, reports its transmitter state after
// a DBG 30, keeps markers exchanged with MRK, and transmits what it is given
// in BBM and ABM sentences, reporting the own transmission back as VDO.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "DeviceLines.h"
#include "Prng.h"
#include "Scenario.h"
#include "SentenceWriter.h"
#include "StationMessages.h"
#include "TrafficModel.h"

namespace norq::sim {

inline constexpr std::size_t kMaxDeviceMarkers = 99;

class Transponder {
  public:
    Transponder(const Scenario& scenario, const TrafficModel& traffic);

    // A message transmitted by another station: VDM unless lost on the way.
    void receive(const AisTransmission& tx, LineBatch& out);
    // Once a second: the own ship's VDO, and on its reporting schedule the
    // own static data.
    void tick(double t, const Kinematics& own, LineBatch& out);
    // Appends fragments still held back for interleaving.
    void flush(double t, LineBatch& out);
    // A line sent to the transponder.
    void handleLine(std::string_view line, double t, LineBatch& out);

    bool silent() const { return silent_; }
    int lanternMode() const { return lanternMode_; }
    const std::vector<MarkerSetup>& markers() const { return markers_; }
    std::int64_t lostMessages() const { return lost_; }
    std::int64_t damagedLines() const { return damaged_; }

  private:
    struct Fragments {
        int total = 0;
        int next = 1;
        int sequence = -1;
        int channel = 0;
        int messageId = 0;
        std::int64_t destination = 0;
        std::string payload;
        int fillBits = 0;
    };

    void emit(double t, const std::string& text, LineBatch& out);
    void emitAll(double t, std::vector<std::string>& lines, bool damageable, LineBatch& out);
    void identify(double t, LineBatch& out);
    void productInfo(double t, LineBatch& out);
    void staticData(double t, LineBatch& out);
    void onDebug(int command, std::int64_t value, double t, LineBatch& out);
    void onMarker(char subtype, int operation, int index, std::int64_t lat, std::int64_t lon,
                  std::string_view name, double t, LineBatch& out);
    void reportMarker(int operation, int count, int index, const MarkerSetup& m, double t,
                      LineBatch& out);
    void onEncapsulated(bool addressed, int total, int number, int sequence, std::int64_t dest,
                        int channel, int messageId, std::string_view payload, int fill, double t,
                        LineBatch& out);
    void transmitOwn(const Fragments& f, double t, LineBatch& out);
    void acknowledge(std::int64_t dest, int channel, int messageId, int sequence, int type,
                     double t, LineBatch& out);

    const Scenario& scenario_;
    const TrafficModel& traffic_;
    SentenceWriter writer_;
    Prng lossRng_;
    Prng damageRng_;
    bool silent_ = false;
    int lanternMode_ = 3;
    double lastIdentification_ = -1e9;
    double nextOwnTransmission_ = 0.0;
    double nextOwnStatic_ = 0.0;
    int ownChannel_ = 0;
    std::vector<MarkerSetup> markers_;
    std::array<Fragments, 2> fragments_{};  // 0 BBM, 1 ABM
    std::int64_t lost_ = 0;
    std::int64_t damaged_ = 0;
};

}  // namespace norq::sim
