// Everything the user reads about a target: the ship-list line, the 23 cells of the
// alphanumeric grid, the dynamic, static and AtoN detail panes, the fixed texts of
// navigational status, ship type, cargo, EPFD and AtoN properties, and the shared
// coordinate and time formatting.
//
// Texts are UTF-8 and are written into fixed-capacity values (FixedText): the grid
// is rewritten for up to 500 targets at a time and nothing here allocates. Captions
// and column titles come from the language files; their (section, key, built-in
// text) triples are listed here for the windows and for the language-file check.
#pragma once

#include <array>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ais/Geometry.h"
#include "ais/TargetRecord.h"

namespace norq::ais {

namespace detail {
// Append to a buffer of capacity + 1 bytes holding `used` bytes; the result is
// cut at the capacity on a UTF-8 character boundary and always NUL-terminated.
// Both return the new length.
std::size_t AppendText(char* buffer, std::size_t capacity, std::size_t used, std::string_view text);
std::size_t AppendFormat(char* buffer, std::size_t capacity, std::size_t used, const char* format,
                         std::va_list args);
}  // namespace detail

// A string of at most Capacity bytes kept inline; longer text is cut.
template <std::size_t Capacity>
class FixedText {
  public:
    static constexpr std::size_t kCapacity = Capacity;

    FixedText() = default;
    explicit FixedText(std::string_view text) { append(text); }

    FixedText& append(std::string_view text) {
        size_ = detail::AppendText(data_.data(), Capacity, size_, text);
        return *this;
    }
    [[gnu::format(printf, 2, 3)]] FixedText& appendf(const char* format, ...) {
        std::va_list args;
        va_start(args, format);
        size_ = detail::AppendFormat(data_.data(), Capacity, size_, format, args);
        va_end(args);
        return *this;
    }
    void clear() {
        size_ = 0;
        data_[0] = '\0';
    }

    const char* c_str() const { return data_.data(); }
    std::string_view view() const { return {data_.data(), size_}; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    friend bool operator==(const FixedText& text, std::string_view other) {
        return text.view() == other;
    }

  private:
    std::array<char, Capacity + 1> data_{};
    std::size_t size_ = 0;
};

using CellText = FixedText<80>;
using CoordinateText = FixedText<32>;
using ShipListText = FixedText<96>;

inline constexpr std::string_view kDegreeSign = "°";
inline constexpr std::string_view kNotAvailableText = "N/A";

// What the texts depend on beyond the record.
struct TextOptions {
    std::string_view degree = kDegreeSign;  // the current language's degree text
    bool ownPositionValid = false;          // CPA and TCPA read "N/A" while false
    // The user's short date format (tokens y, M, d as in "yyyy/MM/dd"; quoted
    // text literal) for receive times, which add " hh:mm:ss".
    std::string_view datePattern = "yyyy/MM/dd";
};

// ---- Language texts -------------------------------------------------------

// A text of the interface: its language-file section and key and its built-in
// English value. key is null for a text that has no key.
struct LanguageText {
    const char* section;
    const char* key;
    const char* builtIn;
};

// A labelled field of a detail pane.
struct FieldCaption {
    const char* component;
    LanguageText text;
};

enum class GridColumn : std::uint8_t {
    No,
    Mmsi,
    Class,
    RxCount,
    RxMsgId,
    Name,
    CallSign,
    Range,
    Bearing,
    Sog,
    Cog,
    Heading,
    Cpa,
    Tcpa,
    Lat,
    Lon,
    Rot,
    Length,
    Beam,
    Destination,
    Eta,
    ShipType,
    Cargo,
};
inline constexpr std::size_t kGridColumnCount = 23;
using GridRow = std::array<CellText, kGridColumnCount>;

inline constexpr std::array<LanguageText, kGridColumnCount> kGridColumnTitles{{
    {"ALPHA_VIEW", "NO", "NO"},
    {"ALPHA_VIEW", "MMSI", "MMSI"},
    {"ALPHA_VIEW", "CLASS", "CLASS"},
    {"ALPHA_VIEW", "RX_COUNT", "RX COUNT"},
    {"ALPHA_VIEW", "RX_MSG_ID", "RX MSG ID"},
    {"ALPHA_VIEW", "NAME", "NAME"},
    {"ALPHA_VIEW", "CALLSIGN", "CALLSIGN"},
    {"ALPHA_VIEW", "RANGE", "RANGE"},
    {"ALPHA_VIEW", "BEARING", "BEARING"},
    {"ALPHA_VIEW", "SOG", "SOG"},
    {"ALPHA_VIEW", "COG", "COG"},
    {"ALPHA_VIEW", "HEADING", "HEADING"},
    {"ALPHA_VIEW", "CPA", "CPA"},
    {"ALPHA_VIEW", "TCPA", "TCPA"},
    {"ALPHA_VIEW", "LAT", "LAT"},
    {"ALPHA_VIEW", "LON", "LON"},
    {"ALPHA_VIEW", "ROT", "ROT"},
    {"ALPHA_VIEW", "LENGTH", "LENGTH"},
    {"ALPHA_VIEW", "BEAM", "BEAM"},
    {"ALPHA_VIEW", "DESTINATION", "DESTINATION"},
    {"ALPHA_VIEW", "ETA", "ETA"},
    {"ALPHA_VIEW", "SHIPTYPE", "SHIPTYPE"},
    {"ALPHA_VIEW", "CARGO", "CARGO"},
}};

// The group caption (followed by " : " and the target count) and the four headings.
inline constexpr LanguageText kShipListCaption{"SHIP_LIST", "Ship_List", "SHIP LIST"};
inline constexpr std::array<FieldCaption, 4> kShipListHeadings{{
    {"StaticTextNO", {"SHIP_LIST", "NO", "NO"}},
    {"StaticTextMMSI", {"SHIP_LIST", "MMSI", "MMSI"}},
    {"StaticTextClass", {"SHIP_LIST", "CLASS", "CLASS"}},
    {"StaticTextName", {"SHIP_LIST", "NAME", "NAME"}},
}};

inline constexpr std::array<FieldCaption, 3> kDetailTabCaptions{{
    {"TabVessel", {"TAB_INFO", "Vessel_Info", "Vessel Info."}},
    {"TabAton", {"TAB_INFO", "Aton_Info", "AtoN Info."}},
    {"TabGps", {"TAB_INFO", "GPS_Info", "GPS Info."}},
}};

inline constexpr FieldCaption kDynamicPageCaption{"TabDynamic",
                                                  {"DETAIL_DYNAMIC", "Dynamic", "DYNAMIC"}};
inline constexpr std::array<FieldCaption, 14> kDynamicFieldCaptions{{
    {"lblEdtMMSI", {"DETAIL_DYNAMIC", "MMSI", "MMSI "}},
    {"lblEdtNavStatus", {"DETAIL_DYNAMIC", "Nav_Status", "Nav. Status "}},
    {"lblEdtROT", {"DETAIL_DYNAMIC", "ROT", "ROT "}},
    {"lblEdtTrueHeading", {"DETAIL_DYNAMIC", "Heading", "Heading "}},
    {"lblEdtSOG", {"DETAIL_DYNAMIC", "SOG", "SOG "}},
    {"lblEdtCOG", {"DETAIL_DYNAMIC", "COG", "COG "}},
    {"lblEdtLongitude", {"DETAIL_DYNAMIC", "LON", "Longitude "}},
    {"lblEdtLatitude", {"DETAIL_DYNAMIC", "LAT", "Latitude "}},
    {"lblEdtRange", {"DETAIL_DYNAMIC", "Range", "Range "}},
    {"lblEdtBearing", {"DETAIL_DYNAMIC", "Bearing", "Bearing "}},
    {"lblEdtCPA", {"DETAIL_DYNAMIC", "CPA", "CPA "}},
    {"lblEdtTCPA", {"DETAIL_DYNAMIC", "TCPA", "TCPA "}},
    {"lblEdtPosAccuracy", {"DETAIL_DYNAMIC", "Pos_Accu", "Pos. Accu."}},
    {"lblEdtDynamicDataRecTime", {"DETAIL_DYNAMIC", "Receive_Time", "Receive Time "}},
}};

inline constexpr FieldCaption kStaticPageCaption{"TabRegistry",
                                                 {"DETAIL_STATIC", "Static", "STATIC"}};
inline constexpr std::array<FieldCaption, 13> kStaticFieldCaptions{{
    {"lblEdtIMO", {"DETAIL_STATIC", "IMO", "IMO "}},
    {"lblEdtCallSign", {"DETAIL_STATIC", "Call_Sign", "Call Sign"}},
    {"lblEdtName", {"DETAIL_STATIC", "Name", "Name"}},
    {"lblEdtShipType", {"DETAIL_STATIC", "Ship_Type", "Ship Type"}},
    {"lblEdtCargo", {"DETAIL_STATIC", "Cargo", "Cargo"}},
    {"lblEdtDestination", {"DETAIL_STATIC", "Destination", "Destination"}},
    {"lblEdtETA", {"DETAIL_STATIC", "ETA", "ETA "}},
    {"lblEdtEpfsType", {"DETAIL_STATIC", "EPFS_Type", "EPFS Type"}},
    {"lblEdtDraught", {"DETAIL_STATIC", "Draught", "Draught"}},
    {"lblEdtDimension", {"DETAIL_STATIC", "Dimension", "Dimension"}},
    {"lblEdtShipLength", {"DETAIL_STATIC", "Length", "Length"}},
    {"lblEdtShipBeam", {"DETAIL_STATIC", "Beam", "Beam"}},
    {"lblEdtStaticDataRecTime", {"DETAIL_STATIC", "Receive_Time", "Receive Time "}},
}};

inline constexpr FieldCaption kAtonPageCaption{"TabAtonDetail", {"DETAIL_ATON", "AtoN", "AtoN"}};
inline constexpr std::array<FieldCaption, 12> kAtonFieldCaptions{{
    {"lblEdtAtonMMSI", {"DETAIL_ATON", "MMSI", "MMSI "}},
    {"lblEdtAtonStatus", {"DETAIL_ATON", "Status", "Status"}},
    {"lblEdtAtonLightStatus", {"DETAIL_ATON", "Light", "Light"}},
    {"lblEdtAtonType", {"DETAIL_ATON", "Type", "Type"}},
    {"lblEdtAtonName", {"DETAIL_ATON", "Name", "Name"}},
    {"lblEdtAtonDimension", {"DETAIL_ATON", "Dimension", "Dimension"}},
    {"lblEdtAtonEPFSType", {"DETAIL_ATON", "EPFS_Type", "EPFS Type"}},
    {"lblEdtAtonPositionAccuracy", {"DETAIL_ATON", "Pos_Accu", "Pos. Accu."}},
    {"lblEdtAtonLongitude", {"DETAIL_ATON", "Longitude", "Longitude"}},
    {"lblEdtAtonLatitude", {"DETAIL_ATON", "Latitude", "Latitude"}},
    {"lblEdtAtonRACONStatus", {"DETAIL_ATON", nullptr, "RACON"}},
    {"ButtonAtonDetail", {"DETAIL_ATON", "Detail", "Detail"}},
}};

// Titles of the top information strip's value fields.
inline constexpr std::array<LanguageText, 6> kTopInfoTitles{{
    {"TOP_INFO", "Pos", "Pos."},
    {"TOP_INFO", "COG", "COG"},
    {"TOP_INFO", "SOG", "SOG"},
    {"TOP_INFO", "UTC", "UTC"},
    {"TOP_INFO", "Vessel", "Vessel"},
    {"TOP_INFO", "Passenger", "Passenger"},
}};

// The bearing mode's status-bar text, indexed by BearingMode.
inline constexpr std::array<LanguageText, 2> kBearingModeTexts{{
    {"STATUS_BAR", "TrueBearing", "True Bearing"},
    {"STATUS_BAR", "RelativeBearing", "Relative Bearing"},
}};
inline constexpr const LanguageText& BearingModeText(BearingMode mode) {
    return kBearingModeTexts[mode == BearingMode::True ? 0 : 1];
}

// The CPA/TCPA limits dialog: caption, the two labels, the two buttons.
inline constexpr std::array<LanguageText, 5> kCpaDialogTexts{{
    {"CPA_TCPA_SETTING", "CPA_TCPA_Setting", "CPA/TCPA Setting"},
    {"CPA_TCPA_SETTING", "CPA_NM", "CPA (nm)"},
    {"CPA_TCPA_SETTING", "TCPA_NM", "TCPA (min) "},
    {"CPA_TCPA_SETTING", "OK", "OK"},
    {"CPA_TCPA_SETTING", "CANCEL", "Cancel"},
}};

// Why CPA and TCPA read "N/A", for the status row: empty for Computed.
inline constexpr std::array<LanguageText, 6> kCpaStatusTexts{{
    {"STATUS_BAR", "CPA_Computed", ""},
    {"STATUS_BAR", "CPA_NoOwnPosition", "CPA N/A: no own position"},
    {"STATUS_BAR", "CPA_NoOwnSOG", "CPA N/A: own SOG not available"},
    {"STATUS_BAR", "CPA_NoOwnCOG", "CPA N/A: own COG not available"},
    {"STATUS_BAR", "CPA_NoTargetPosition", "CPA N/A: target position not available"},
    {"STATUS_BAR", "CPA_NoTargetMotion", "CPA N/A: target SOG or COG not available"},
}};
inline constexpr const LanguageText& CpaStatusText(CpaStatus status) {
    const auto i = static_cast<std::size_t>(status);
    return kCpaStatusTexts[i < kCpaStatusTexts.size() ? i : 1];
}

// ---- Fixed value texts ----------------------------------------------------

// Navigational status 0-8, "Undefined!" for 9-15 (and any other value).
const char* NavigationalStatusText(int status);
// Ship-type and cargo texts, both padded to 28 characters.
FixedText<40> ShipTypeText(int type);
FixedText<40> CargoText(int type);
// EPFD type 0-7; 8 and above read as 0 "Undefined".
const char* EpfdText(int type);

inline constexpr std::array<const char*, 3> kAtonRealVirtualTexts{"Real", "Virtual", "Synthetic"};
const char* AtonRealVirtualText(bool isVirtual);
const char* AtonHealthText(std::uint8_t regional);  // bit 0
const char* AtonPositionIndicatorText(bool offPosition);
const char* AtonLightText(std::uint8_t regional);  // bits 1-2
const char* AtonRaconText(std::uint8_t regional);  // bits 3-4
const char* AtonAidTypeText(int aidType);          // 0-31

// ---- Coordinates and times --------------------------------------------------

enum class CoordinateAxis : std::uint8_t { Longitude, Latitude };

struct Dms {
    std::int16_t degrees = 0;  // truncated toward zero, sign kept
    std::uint8_t minutes = 0;
    std::uint8_t seconds = 0;
};
struct DmsExact {
    std::int16_t degrees = 0;
    std::uint8_t minutes = 0;
    double seconds = 0.0;  // not rounded
};
Dms SplitDms(double degrees);
DmsExact SplitDmsExact(double degrees);
double DmsToDegrees(double degrees, double minutes, double seconds);

// Degrees and decimal minutes with the hemisphere letter (E and N for values above
// 0). Style 2 "ddd°mm.mm", 3 "ddd°mm.mmm", 4 "dd°mm.mm", others whole minutes.
CoordinateText FormatCoordinate(double value, CoordinateAxis axis, int style,
                                std::string_view degree = kDegreeSign);

struct LonLatTexts {
    CoordinateText longitude;
    CoordinateText latitude;
};
// Degrees, minutes and seconds with the hemisphere letter (W and S for negative
// values). Style 0 "12d3m4sE", 1 "ddd°mm'", 2 "ddd°mm'ss\"", others whole degrees.
LonLatTexts FormatLonLatPair(double lon, double lat, int style,
                             std::string_view degree = kDegreeSign);

// The chart's coordinate text, without sign or hemisphere letter: style 1
// "ddd°mm'", style 2 "ddd°mm'ss\"", others "ddd°".
CoordinateText ChartCoordinateText(double value, int style, std::string_view degree = kDegreeSign);
// The chart's style-2 text followed by E/W or N/S (E and N for 0 and above), or
// "N/A" for a value beyond 180 / 90.
CoordinateText ChartLongitudeText(double lon, std::string_view degree = kDegreeSign);
CoordinateText ChartLatitudeText(double lat, std::string_view degree = kDegreeSign);

// "hh:mm:ss" of a duration; negative durations read as 0.
FixedText<24> FormatSeconds(std::int64_t seconds);

// A date in the user's short date format followed by " hh:mm:ss"; "N/A" for an
// entry without a date (nothing received yet).
CellText DateTimeText(const DateStamp& date, const TimeStamp& time, std::string_view datePattern);

// ---- Field values shared by the grid, the panes and the top bar -------------

CellText RangeText(float range);
CellText BearingText(float bearing, std::string_view degree = kDegreeSign);
CellText SogText(float sog);
CellText CogText(float cog, std::string_view degree = kDegreeSign);
CellText RateOfTurnText(float rateOfTurn, std::string_view degree = kDegreeSign);
// "N/A" unless computed (ownPositionValid and a CPA of 0 or more); "Pass" only
// for a computed CPA whose TCPA is negative.
CellText CpaText(float cpa, float tcpa, bool ownPositionValid);
CellText TcpaText(float cpa, float tcpa, bool ownPositionValid);
// The same for a record, which also reads "N/A" unless its status is Computed.
CellText CpaText(const TargetRecord& record, bool ownPositionValid);
CellText TcpaText(const TargetRecord& record, bool ownPositionValid);
// The kind-dependent field texts of one record.
CellText NavStatusText(const TargetRecord& record);
CellText HeadingText(const TargetRecord& record, std::string_view degree = kDegreeSign);
CellText DimensionText(const TargetRecord& record);
CellText AtonNameText(const TargetRecord& record);

// One cell of the grid row of table entry `index` (row index + 1).
CellText GridCellText(const TargetRecord& record, int index, GridColumn column,
                      const TextOptions& options);
void FillGridRow(const TargetRecord& record, int index, const TextOptions& options, GridRow& row);

// "(NNN)  MMSI  [KIND]     NAME" of the ship list; "Own" stands for entry 0.
ShipListText ShipListLine(const TargetRecord& record, int index);
// The ship list's group caption: the language text, " : " and the target count.
CellText ShipListCaption(std::string_view caption, int targetCount);

// ---- Detail panes --------------------------------------------------------

struct DynamicDetailTexts {
    CellText mmsi, country, navStatus, rateOfTurn, heading, sog, cog, longitude, latitude;
    CellText range, bearing, cpa, tcpa, positionAccuracy, receiveTime;
};
struct StaticDetailTexts {
    CellText imo, callSign, name, shipType, cargo, destination, eta, epfs, draught;
    CellText dimension, length, beam, receiveTime;
};
struct AtonDetailTexts {
    CellText mmsi, realVirtual, aidType, status, health, positionIndicator, light, racon;
    CellText name, dimension, positionAccuracy, longitude, latitude, epfs;
};

DynamicDetailTexts DynamicDetails(const TargetRecord& record, int index,
                                  const TextOptions& options);
StaticDetailTexts StaticDetails(const TargetRecord& record, const TextOptions& options);
AtonDetailTexts AtonDetails(const TargetRecord& record, const TextOptions& options);

}  // namespace norq::ais
