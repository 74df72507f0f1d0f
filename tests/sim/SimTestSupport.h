// Shared pieces of the simulator tests: a small scenario with one station of
// every kind, and helpers to run it and to read its output back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "DeviceLines.h"
#include "Scenario.h"
#include "Simulator.h"
#include "ais/AisMessage.h"

namespace norq::sim::test {

// One station of every kind near 51N 1.5E; no loss, no damage, fragments
// not interleaved. Keys appended in `extra` (full sections) are added at the end.
inline constexpr std::string_view kSmallScenario = R"(
[scenario]
name = test
seed = 7
start = 2025-01-02T03:04:00Z
duration = 400
interleave = no

[transponder]
identification = product-info
model = NQ-TEST
serial = 12345678
firmware = 9.8.7
baud = 38400

[gnss]
satellites = 12
fix_loss = 100-130

[crew_watch]
report_interval = 5

[pendant p1]
id = 93FA2F
battery = 0xD2
events = 50 sos; 80 cancel_sos; 120 low_battery; 200 lost

[repeater r1]
id = 5A0001
battery = 0xE6

[own_ship]
mmsi = 235000001
name = OWN SHIP
callsign = MOWN1
imo = 9000008
type = 70
dimensions = 100 20 10 10
draught = 7.5
destination = NL RTM
eta = 01-03 12:00
position = 51.0000 1.5000
course = 45
speed = 12

[lane main]
points = 50.90 1.30; 51.10 1.70
width = 1

[fleet lane]
class = A
count = 3
lane = main
speed = 15-18
types = 70

[vessel straight]
mmsi = 244000001
name = STRAIGHT RUNNER
callsign = PBST
imo = 9111118
type = 80
dimensions = 120 30 12 12
draught = 9.1
destination = BE ANR
eta = 01-04 06:30
position = 51.0500 1.4000
course = 90
speed = 10

[vessel anchored]
mmsi = 244000002
name = AT ANCHOR
nav_status = 1
position = 51.0200 1.4500
course = 10
speed = 0

[vessel yacht]
class = B
mmsi = 235000003
name = LITTLE YACHT
callsign = MLY3
type = 37
dimensions = 8 4 2 2
position = 50.9800 1.5200
course = 180
speed = 6

[encounter head on]
mmsi = 538000004
name = HEAD ON
type = 70
from = 45
meet_at = 300
miss = 0.4
speed = 14

[base SHORE]
mmsi = 002320001
position = 51.1300 1.3400

[aton BUOY ONE]
mmsi = 992350001
aton_type = 22
position = 51.0100 1.5500
status = 1

[aton VIRTUAL WRECK MARK WITH A LONG NAME]
mmsi = 992350002
aton_type = 28
virtual = yes
position = 51.0300 1.5600

[sar HELI]
mmsi = 111232001
position = 51.0000 1.4000
route = 51.0200 1.4300; 51.0000 1.4600
loop = yes
speed = 100
altitude = 250
max_rot = 180

[sart test sart]
mmsi = 970000001
mode = test
position = 51.0400 1.4800

[mob man overboard]
mmsi = 972000001
mode = active
position = 51.0050 1.5050
start = 30

[srm broadcast]
from = 002320001
at = 10
text = NAVIGATIONAL WARNING TEST

[srm addressed]
from = 244000001
to = 235000001
at = 20
text = HELLO OWN SHIP

[channel_management zone]
from = 002320001
north_east = 51.50 2.00
south_west = 50.50 1.00
channel_a = 2087
channel_b = 2088
interval = 60
)";

Scenario SmallScenario(std::string_view extra = {});

// Runs the simulator to `seconds` and returns every line put out.
LineBatch RunFor(Simulator& sim, double seconds);
std::vector<std::string> Texts(const LineBatch& batch, Device device);

struct Decoded {
    ais::AisMessage message;
    bool own = false;  // from a VDO sentence
    double time = 0.0;
};
// Decodes the VDM and VDO sentences of the batch (fragments in order).
std::vector<Decoded> DecodeAis(const LineBatch& batch);

// A decoded text without its '@' padding and trailing spaces.
std::string Strip(std::string_view text);

// A sentence with its checksum and CR LF.
std::string Sentence(std::string_view body);

}  // namespace norq::sim::test
