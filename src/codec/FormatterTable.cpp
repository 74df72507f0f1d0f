#include "codec/FormatterTable.h"

namespace norq::codec {

namespace {

template <typename... Counts>
constexpr std::array<std::int8_t, kMaxCommaCounts> C(Counts... counts) {
    static_assert(sizeof...(Counts) >= 1 && sizeof...(Counts) <= kMaxCommaCounts);
    std::array<std::int8_t, kMaxCommaCounts> out{};
    out.fill(-1);
    std::size_t i = 0;
    ((out[i++] = static_cast<std::int8_t>(counts)), ...);
    return out;
}

// One row per formatter: name, accepted comma counts, parser, composer.
constexpr FormatterEntry kFormatters[] = {
    // GNSS. The dialects differ only by trailing fields:
    //   GLL, VTG   mode indicator from NMEA 2.3 (6 / 8 commas before)
    //   RMC        mode indicator from 2.3, navigational status from 4.1
    //   GSA        system id from 4.1
    //   GSV        signal id from 4.1, after zero to four satellites
    //   GBS, GRS   system id and signal id from 4.1
    {"GGA", C(14), ParseGga, nullptr},
    {"GLL", C(6, 7), ParseGll, nullptr},
    {"RMC", C(11, 12, 13), ParseRmc, ComposeRmc},
    {"VTG", C(8, 9), ParseVtg, nullptr},
    {"GSA", C(17, 18), ParseGsa, ComposeGsa},
    {"GSV", C(3, 4, 7, 8, 11, 12, 15, 16, 19, 20), ParseGsv, nullptr},
    {"GBS", C(8, 10), ParseGbs, ComposeGbs},
    {"DTM", C(8), ParseDtm, nullptr},
    {"ZDA", C(6), ParseZda, nullptr},
    {"GRS", C(14, 16), ParseGrs, nullptr},
    {"GST", C(8), ParseGst, nullptr},
    // Heading and speed
    {"HDT", C(2), ParseHdt, ComposeHdt},
    {"HDG", C(-1), nullptr, ComposeHdg},
    {"ROT", C(2), ParseRot, ComposeRot},
    {"VBW", C(6), ParseVbw, nullptr},
    {"GNS", C(12, 13), ParseGns, nullptr},  // navigational status from 4.1
    // AIS transponder
    {"VDM", C(6), ParseVdm, ComposeVdm},
    {"VDO", C(6), ParseVdm, ComposeVdm},
    {"ABM", C(8), ParseAbm, ComposeAbm},
    {"BBM", C(7), ParseBbm, ComposeBbm},
    {"ABK", C(5), ParseAbk, ComposeAbk},
    {"ACA", C(19), ParseAca, ComposeAca},
    {"ACS", C(6), ParseAcs, ComposeAcs},
    {"ALR", C(5), ParseAlr, ComposeAlr},
    {"ACK", C(1), ParseAck, ComposeAck},
    {"SSD", C(8), ParseSsd, ComposeSsd},
    {"VSD", C(9), ParseVsd, ComposeVsd},
    {"TXT", C(4), ParseTxt, nullptr},
    // Proprietary
    {"MID", C(2), ParseMid, ComposeMid},
    {"BDY", C(5), ParseBdy, ComposeBdy},
    {"TST", C(5), ParseTst, ComposeTst},
    {"FRQ", C(4), ParseFrq, ComposeFrq},
    {"BTH", C(7), ParseBth, ComposeBth},
    {"DBG", C(8), ParseDbg, ComposeDbg},
    {"TPS", C(2), ParseTps, ComposeTps},
    {"MRK", C(8), ParseMrk, ComposeMrk},
    {"KRV", C(4), ParseKrv, nullptr},
    {"AIQ", C(2), ParseAiq, nullptr},
    {"Smg", C(2), ParseSmg, nullptr},
    {"MOB", C(5), ParseMob, ComposeMob},
    // AtoN configuration
    {"AAR", C(13), ParseAtonConfig, ComposeAtonConfig},
    {"ACE", C(9), ParseAtonConfig, ComposeAtonConfig},
    {"ACF", C(15), ParseAtonConfig, ComposeAtonConfig},
    {"AFB", C(8), ParseAtonConfig, ComposeAtonConfig},
    {"AFC", C(2), ParseAtonConfig, ComposeAtonConfig},
    {"AID", C(5), ParseAtonConfig, ComposeAtonConfig},
    {"AKE", C(4), ParseAtonConfig, ComposeAtonConfig},
    {"ARW", C(7), ParseAtonConfig, ComposeAtonConfig},
    {"MCR", C(3), ParseAtonConfig, ComposeAtonConfig},
    {"MPR", C(8), ParseAtonConfig, ComposeAtonConfig},
    {"TSP", C(13), ParseAtonConfig, ComposeAtonConfig},
    {"VER", C(10), ParseAtonConfig, ComposeAtonConfig},
    // Parsed, not stored
    {"OSD", C(9), ParseOsd, nullptr},
    {"RMA", C(kAnyCommas), ParseRma, nullptr},
    {"WPL", C(5), ParseWpl, nullptr},
    {"Q", C(1), ParseQuery, nullptr},
};

}  // namespace

const FormatterEntry* FindFormatter(std::string_view name) {
    for (const FormatterEntry& e : kFormatters) {
        if (e.name == name) return &e;
    }
    return nullptr;
}

const char* ParseStatusName(ParseStatus status) {
    switch (status) {
        case ParseStatus::Ok:
            return "ok";
        case ParseStatus::Framing:
            return "framing";
        case ParseStatus::Checksum:
            return "checksum";
        case ParseStatus::Length:
            return "length";
        case ParseStatus::UnknownFormatter:
            return "formatter";
        case ParseStatus::Commas:
            return "commas";
        case ParseStatus::Range:
            return "range";
    }
    return "?";
}

}  // namespace norq::codec
