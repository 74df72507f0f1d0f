#include "ais/TargetTexts.h"

#include <algorithm>
#include <cmath>

#include "ais/MidTable.h"

namespace norq::ais {

namespace {

int DegreeLength(std::string_view degree) {
    return static_cast<int>(degree.size());
}

// A fixed-size character field up to its first NUL.
template <std::size_t N>
std::string_view FieldText(const std::array<char, N>& field) {
    const auto end = std::find(field.begin(), field.end(), '\0');
    return {field.data(), static_cast<std::size_t>(end - field.begin())};
}

// Text up to its first '@', the AIS padding character.
std::string_view UntilAt(std::string_view text) {
    return text.substr(0, text.find('@'));
}

CellText NotAvailable() {
    return CellText(kNotAvailableText);
}

bool IsClassAOrB(TargetKind kind) {
    return kind == TargetKind::ClassA || kind == TargetKind::ClassB;
}

bool IsFixedStation(TargetKind kind) {
    return kind == TargetKind::Base || kind == TargetKind::Aton;
}

bool HasDimensions(TargetKind kind) {
    return kind != TargetKind::Base && kind != TargetKind::SarAircraft;
}

}  // namespace

// ---- Fixed value texts ------------------------------------------------------

const char* NavigationalStatusText(int status) {
    static constexpr std::array<const char*, 9> kTexts{"Under way using engine",
                                                       "At anchor",
                                                       "Not under command",
                                                       "Restricted manoeuvrability",
                                                       "Constrained by her draught",
                                                       "Moored",
                                                       "Aground",
                                                       "Engaged in fishing",
                                                       "Under way sailing"};
    if (status < 0 || status >= static_cast<int>(kTexts.size())) return "Undefined!";
    return kTexts[static_cast<std::size_t>(status)];
}

FixedText<40> ShipTypeText(int type) {
    struct Row {
        int code;
        const char* text;
    };
    static constexpr std::array<Row, 23> kRows{{
        {10, "N/A;No ship"},
        {20, "WIG"},
        {30, "Vessel-Fishing"},
        {31, "Vessel-Towing"},
        {32, "Vessel-Tow>200m,breadth>25m"},
        {33, "Vessel-Dredge,Underwater OP"},
        {34, "Vessel-Diving OP"},
        {35, "Vessel-Military OP"},
        {36, "Vessel-Sailing"},
        {37, "Vessel-Pleasure craft"},
        {40, "HSC"},
        {50, "Pilot vessel"},
        {51, "Search & rescue vessel"},
        {52, "Tug"},
        {53, "Port tender"},
        {54, "Anti-pollution vessel"},
        {55, "Law enforcement vessel"},
        {58, "Medical transport"},
        {59, "Resolution 18(Mob-83)"},
        {60, "Passenger ship"},
        {70, "Cargo ship"},
        {80, "Tanker"},
        {90, "Other"},
    }};
    const char* text = "Unknown ship type!";
    if (type < 10 || type > 99) {
        text = "Undefined ship type!";
    } else if (type == 38 || type == 39) {
        text = "Vessel-Future type";
    } else if (type == 56 || type == 57) {
        text = "Local assigned vessel";
    } else {
        const int firstDigit = type / 10;
        const int key = (firstDigit == 3 || firstDigit == 5) ? type : firstDigit * 10;
        for (const Row& row : kRows) {
            if (row.code == key) {
                text = row.text;
                break;
            }
        }
    }
    FixedText<40> result;
    result.appendf("%-28s", text);
    return result;
}

FixedText<40> CargoText(int type) {
    static constexpr std::array<const char*, 5> kTexts{
        "N/A; Harmless", "DG,HS or MP(Pollutant A)", "DG,HS or MP(Pollutant B)",
        "DG,HS or MP(Pollutant C)", "DG,HS or MP(Pollutant D)"};
    const int firstDigit = type < 10 ? type : type / 10;
    const int lastDigit = type % 10;
    const char* text = "Unknown Cargo!";
    if (type >= 0 && type < 100 && firstDigit != 3 && firstDigit != 5 && lastDigit <= 4) {
        text = kTexts[static_cast<std::size_t>(lastDigit)];
    }
    FixedText<40> result;
    result.appendf("%-28s", text);
    return result;
}

const char* EpfdText(int type) {
    static constexpr std::array<const char*, 8> kTexts{"Undefined",   "GPS",     "GLONASS",
                                                       "GPS+GLONASS", "Loran-C", "Chayka",
                                                       "Integrated",  "Surveyed"};
    if (type < 0 || type >= static_cast<int>(kTexts.size())) type = 0;
    return kTexts[static_cast<std::size_t>(type)];
}

const char* AtonRealVirtualText(bool isVirtual) {
    return kAtonRealVirtualTexts[isVirtual ? 1 : 0];
}

const char* AtonHealthText(std::uint8_t regional) {
    return (regional & 0x01) ? "Alarm" : "Good health";
}

const char* AtonPositionIndicatorText(bool offPosition) {
    return offPosition ? "Off position" : "On position";
}

const char* AtonLightText(std::uint8_t regional) {
    static constexpr std::array<const char*, 4> kTexts{"No Light", "ON", "OFF", "Error"};
    return kTexts[(regional >> 1) & 0x03];
}

const char* AtonRaconText(std::uint8_t regional) {
    static constexpr std::array<const char*, 4> kTexts{"Not installed", "Not monitored",
                                                       "Operational", "Error"};
    return kTexts[(regional >> 3) & 0x03];
}

const char* AtonAidTypeText(int aidType) {
    static constexpr std::array<const char*, 32> kTexts{
        "Not Specified",
        "Reference point",
        "RACON",
        "Fixed structures off-shore",
        "Spare, Reserved for future use",
        "Light, without sectors",
        "Light, with sectors",
        "Leading Light Front",
        "Leading Light Rear",
        "Beacon, Cardinal N",
        "Beacon, Cardinal E",
        "Beacon, Cardinal S",
        "Beacon, Cardinal W",
        "Beacon, Port hand",
        "Beacon, Starboard hand",
        "Beacon, Preferred Channel port hand",
        "Beacon, Preferred Channel starboard hand",
        "Beacon, Isolated danger",
        "Beacon, Safe water",
        "Beacon, Special mark",
        "Cardinal Mark N",
        "Cardinal Mark E",
        "Cardinal Mark S",
        "Cardinal Mark W",
        "Port hand Mark",
        "Starboard hand Mark",
        "Preferred Channel Port hand",
        "Preferred Channel Starboard hand",
        "Isolated danger",
        "Safe Water",
        "Special Mark",
        "Light Vessel/LANBY/Rigs",
    };
    if (aidType < 0 || aidType >= static_cast<int>(kTexts.size())) aidType = 0;
    return kTexts[static_cast<std::size_t>(aidType)];
}

// ---- Field values -------------------------------------------------------------

CellText RangeText(float range) {
    if (!(range >= 0.0f)) return NotAvailable();
    CellText text;
    text.appendf("%6.2f nm", range);
    return text;
}

CellText BearingText(float bearing, std::string_view degree) {
    // Below 0 is the "not yet computed" value of a fresh entry.
    if (!(bearing >= 0.0f && bearing < kBearingNotAvailable)) return NotAvailable();
    CellText text;
    text.appendf("%5.1f%.*s", bearing, DegreeLength(degree), degree.data());
    return text;
}

CellText SogText(float sog) {
    if (!(sog >= 0.0f && sog <= kMaxSog)) return NotAvailable();
    CellText text;
    text.appendf("%5.2f Kn", sog);
    return text;
}

CellText CogText(float cog, std::string_view degree) {
    if (!(cog >= 0.0f && cog < 360.0f)) return NotAvailable();
    CellText text;
    text.appendf("%5.1f%.*s", cog, DegreeLength(degree), degree.data());
    return text;
}

CellText RateOfTurnText(float rateOfTurn, std::string_view degree) {
    if (std::isnan(rateOfTurn) || rateOfTurn >= 9990.0f) return NotAvailable();
    const int n = DegreeLength(degree);
    CellText text;
    if (rateOfTurn >= 1000.0f) {
        text.appendf(">5%.*s/30s(R)", n, degree.data());
    } else if (rateOfTurn >= -1000.0f) {
        text.appendf("%6.1f%.*s", rateOfTurn, n, degree.data());
    } else {
        text.appendf(">5%.*s/30s(L)", n, degree.data());
    }
    return text;
}

// CPA -1 means not computed (no position or motion on either side) and reads
// "N/A"; a negative TCPA means the closest point lies behind: "Pass".
CellText CpaText(float cpa, float tcpa, bool ownPositionValid) {
    if (!ownPositionValid || !(cpa >= 0.0f)) return NotAvailable();
    if (tcpa < 0.0f) return CellText("Pass");
    CellText text;
    text.appendf("%6.2f nm", cpa);
    return text;
}

CellText TcpaText(float cpa, float tcpa, bool ownPositionValid) {
    if (!ownPositionValid || !(cpa >= 0.0f)) return NotAvailable();
    if (tcpa < 0.0f) return CellText("Pass");
    CellText text;
    text.appendf("%5.1f min", tcpa);
    return text;
}

CellText CpaText(const TargetRecord& record, bool ownPositionValid) {
    return CpaText(record.cpa, record.tcpa,
                   ownPositionValid && record.cpaStatus == CpaStatus::Computed);
}

CellText TcpaText(const TargetRecord& record, bool ownPositionValid) {
    return TcpaText(record.cpa, record.tcpa,
                    ownPositionValid && record.cpaStatus == CpaStatus::Computed);
}

CellText NavStatusText(const TargetRecord& record) {
    if (record.kind != TargetKind::ClassA) return NotAvailable();
    return CellText(NavigationalStatusText(record.navStatus()));
}

CellText HeadingText(const TargetRecord& record, std::string_view degree) {
    if (!IsClassAOrB(record.kind)) return NotAvailable();
    return CogText(record.heading, degree);
}

CellText DimensionText(const TargetRecord& record) {
    if (!HasDimensions(record.kind)) return NotAvailable();
    CellText text;
    text.appendf("A:%um,B:%um,C:%um,D:%um", static_cast<unsigned>(record.toBow),
                 static_cast<unsigned>(record.toStern), static_cast<unsigned>(record.toPort),
                 static_cast<unsigned>(record.toStarboard));
    return text;
}

CellText AtonNameText(const TargetRecord& record) {
    CellText text(UntilAt(FieldText(record.name)));
    text.append(UntilAt(FieldText(record.nameExtension)));
    return text;
}

namespace {

CellText Number(long long value) {
    CellText text;
    text.appendf("%lld", value);
    return text;
}

CellText MmsiText(std::uint32_t mmsi) {
    CellText text;
    text.appendf("%09u", static_cast<unsigned>(mmsi));
    return text;
}

CellText LengthText(const TargetRecord& record) {
    if (!HasDimensions(record.kind)) return NotAvailable();
    return Number(record.toBow + record.toStern);
}

CellText BeamText(const TargetRecord& record) {
    if (!HasDimensions(record.kind)) return NotAvailable();
    return Number(record.toPort + record.toStarboard);
}

CellText ClassAText(const TargetRecord& record, std::string_view text) {
    return record.kind == TargetKind::ClassA ? CellText(text) : NotAvailable();
}

CellText EtaText(const TargetRecord& record) {
    if (record.kind != TargetKind::ClassA) return NotAvailable();
    CellText text;
    text.appendf("%d/%d %02d:%02d", record.etaMonth, record.etaDay, record.etaHour,
                 record.etaMinute);
    return text;
}

CellText TypeText(const TargetRecord& record, bool cargo) {
    if (!IsClassAOrB(record.kind)) return NotAvailable();
    CellText text;
    text.appendf("(%d)", record.shipType);
    text.append((cargo ? CargoText(record.shipType) : ShipTypeText(record.shipType)).view());
    return text;
}

CellText CallSignText(const TargetRecord& record) {
    if (!IsClassAOrB(record.kind)) return NotAvailable();
    return CellText(FieldText(record.callSign));
}

CellText PositionAccuracyText(const TargetRecord& record) {
    return CellText(record.positionAccuracy() ? "High" : "Low");
}

// The own ship's row shows decimal minutes; every other row the chart's text.
CellText GridLatitude(const TargetRecord& record, int index, std::string_view degree) {
    if (!(std::fabs(record.latitude) <= 90.0f)) return NotAvailable();
    if (index == 0) {
        return CellText(
            FormatCoordinate(record.latitude, CoordinateAxis::Latitude, 3, degree).view());
    }
    return CellText(ChartLatitudeText(record.latitude, degree).view());
}

CellText GridLongitude(const TargetRecord& record, int index, std::string_view degree) {
    if (!(std::fabs(record.longitude) <= 180.0f)) return NotAvailable();
    if (index == 0) {
        return CellText(
            FormatCoordinate(record.longitude, CoordinateAxis::Longitude, 3, degree).view());
    }
    return CellText(ChartLongitudeText(record.longitude, degree).view());
}

}  // namespace

CellText GridCellText(const TargetRecord& record, int index, GridColumn column,
                      const TextOptions& options) {
    const std::string_view degree = options.degree;
    switch (column) {
        case GridColumn::No: {
            if (index == 0) return CellText("Own");
            CellText text;
            text.appendf("%3d", index);
            return text;
        }
        case GridColumn::Mmsi:
            return MmsiText(record.mmsi);
        case GridColumn::Class:
            return CellText(TargetKindLabel(record.kind));
        case GridColumn::RxCount:
            return Number(record.receivedMessages);
        case GridColumn::RxMsgId:
            return Number(record.lastMessageType);
        case GridColumn::Name:
            return CellText(FieldText(record.name));
        case GridColumn::CallSign:
            return CallSignText(record);
        case GridColumn::Range:
            return RangeText(record.range);
        case GridColumn::Bearing:
            return BearingText(record.bearing, degree);
        case GridColumn::Sog:
            return IsFixedStation(record.kind) ? NotAvailable() : SogText(record.sog);
        case GridColumn::Cog:
            return IsFixedStation(record.kind) ? NotAvailable() : CogText(record.cog, degree);
        case GridColumn::Heading:
            return HeadingText(record, degree);
        case GridColumn::Cpa:
            return CpaText(record, options.ownPositionValid);
        case GridColumn::Tcpa:
            return TcpaText(record, options.ownPositionValid);
        case GridColumn::Lat:
            return GridLatitude(record, index, degree);
        case GridColumn::Lon:
            return GridLongitude(record, index, degree);
        case GridColumn::Rot:
            return record.kind == TargetKind::ClassA ? RateOfTurnText(record.rateOfTurn, degree)
                                                     : NotAvailable();
        case GridColumn::Length:
            return LengthText(record);
        case GridColumn::Beam:
            return BeamText(record);
        case GridColumn::Destination:
            return ClassAText(record, FieldText(record.destination));
        case GridColumn::Eta:
            return EtaText(record);
        case GridColumn::ShipType:
            return TypeText(record, false);
        case GridColumn::Cargo:
            return TypeText(record, true);
    }
    return CellText();
}

void FillGridRow(const TargetRecord& record, int index, const TextOptions& options, GridRow& row) {
    for (std::size_t c = 0; c < kGridColumnCount; ++c) {
        row[c] = GridCellText(record, index, static_cast<GridColumn>(c), options);
    }
}

ShipListText ShipListLine(const TargetRecord& record, int index) {
    FixedText<8> number;
    if (index == 0) {
        number.append("Own");
    } else {
        number.appendf("%03d", index);
    }
    const std::string_view name = FieldText(record.name);
    ShipListText line;
    line.appendf("(%s)  %09u %6s     %.*s", number.c_str(), static_cast<unsigned>(record.mmsi),
                 TargetKindLabel(record.kind), static_cast<int>(name.size()), name.data());
    return line;
}

CellText ShipListCaption(std::string_view caption, int targetCount) {
    CellText text(caption);
    text.appendf(" : %d", targetCount);
    return text;
}

// ---- Detail panes ---------------------------------------------------------------

DynamicDetailTexts DynamicDetails(const TargetRecord& record, int index,
                                  const TextOptions& options) {
    const std::string_view degree = options.degree;
    DynamicDetailTexts t;
    t.mmsi = MmsiText(record.mmsi);
    // The country is always shown in English, whatever the language.
    t.country = CellText(CountryOfMmsi(record.mmsi, CountryLanguage::English).text);
    t.navStatus = NavStatusText(record);
    t.rateOfTurn = GridCellText(record, index, GridColumn::Rot, options);
    t.positionAccuracy = PositionAccuracyText(record);
    // Without a current fix the own ship has no position, speed or course to show:
    // the chart's stand-in position (the manual or last known one) is no measurement.
    const bool ownUnknown = index == 0 && !record.ownPositionValid;
    if (ownUnknown) {
        t.longitude = NotAvailable();
        t.latitude = NotAvailable();
        t.sog = NotAvailable();
        t.cog = NotAvailable();
    } else {
        t.longitude = CellText(ChartLongitudeText(record.longitude, degree).view());
        t.latitude = CellText(ChartLatitudeText(record.latitude, degree).view());
        t.sog = GridCellText(record, index, GridColumn::Sog, options);
        t.cog = GridCellText(record, index, GridColumn::Cog, options);
    }
    t.heading = HeadingText(record, degree);
    t.range = ownUnknown ? NotAvailable() : RangeText(record.range);
    t.bearing = (index != 0 && !options.ownPositionValid) ? NotAvailable()
                                                          : BearingText(record.bearing, degree);
    t.cpa = CpaText(record, options.ownPositionValid);
    t.tcpa = TcpaText(record, options.ownPositionValid);
    t.receiveTime =
        DateTimeText(record.lastMessageDate, record.lastMessageTime, options.datePattern);
    return t;
}

StaticDetailTexts StaticDetails(const TargetRecord& record, const TextOptions& options) {
    StaticDetailTexts t;
    t.imo = record.kind == TargetKind::ClassA ? Number(record.imo) : NotAvailable();
    t.callSign = CallSignText(record);
    t.name = CellText(FieldText(record.name));
    t.shipType = TypeText(record, false);
    t.cargo = TypeText(record, true);
    t.destination = ClassAText(record, FieldText(record.destination));
    t.eta = EtaText(record);
    t.epfs = CellText(EpfdText(record.epfdType()));
    if (record.kind == TargetKind::ClassA && record.draught > 0.0f) {
        t.draught.appendf("%4.1fm", record.draught);
    } else {
        t.draught.append("N/A ");
    }
    t.dimension = DimensionText(record);
    t.length = LengthText(record);
    t.beam = BeamText(record);
    t.receiveTime =
        DateTimeText(record.lastMessageDate, record.lastMessageTime, options.datePattern);
    return t;
}

AtonDetailTexts AtonDetails(const TargetRecord& record, const TextOptions& options) {
    const std::uint8_t regional = record.atonRegional;
    const bool offPosition = record.atonFlags & 0x01;
    AtonDetailTexts t;
    t.mmsi = MmsiText(record.mmsi);
    t.realVirtual = CellText(AtonRealVirtualText(record.atonFlags & 0x40));
    t.aidType = CellText(AtonAidTypeText(record.aidType()));
    t.health = CellText(AtonHealthText(regional));
    t.positionIndicator = CellText(AtonPositionIndicatorText(offPosition));
    t.status = t.health;
    t.status.append(", ").append(t.positionIndicator.view());
    t.light = CellText(AtonLightText(regional));
    t.racon = CellText(AtonRaconText(regional));
    t.name = AtonNameText(record);
    t.dimension = DimensionText(record);
    t.positionAccuracy = PositionAccuracyText(record);
    t.longitude = CellText(ChartLongitudeText(record.longitude, options.degree).view());
    t.latitude = CellText(ChartLatitudeText(record.latitude, options.degree).view());
    t.epfs = CellText(EpfdText(record.epfdType()));
    return t;
}

}  // namespace norq::ais
