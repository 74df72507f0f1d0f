// The dispatch table of the codec: one row per formatter with its comma
// counts, its parser and its composer. Used only inside the codec.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "codec/SentenceRecord.h"
#include "codec/SentenceText.h"

namespace norq::codec {

// Why ParseSentence refused a line; the check tool counts these.
enum class ParseStatus : std::uint8_t {
    Ok,
    Framing,           // no CR LF, no start character, malformed address field
    Checksum,          // missing or wrong checksum
    Length,            // too long before or after empty-field marking
    UnknownFormatter,  // no parser for the formatter
    Commas,            // wrong number of fields
    Range,             // a field outside its allowed range
};

const char* ParseStatusName(ParseStatus status);

// The fields of one sentence after the address field, split by the
// tokenizer: every field but the last ends at ',', the last at '*'.
struct FieldList {
    static constexpr int kMaxFields = 24;
    std::array<std::string_view, kMaxFields> fields{};
    int count = 0;
    std::string_view operator[](int i) const {
        return i < count ? fields[static_cast<std::size_t>(i)] : std::string_view(" ");
    }
};

using Parser = ParseStatus (*)(const FieldList& fields, SentenceRecord& record);
using Composer = bool (*)(const SentenceRecord& record, SentenceText& out);

inline constexpr std::size_t kMaxCommaCounts = 10;

struct FormatterEntry {
    std::string_view name;
    // Accepted comma counts; -1 ends the list. An entry whose first count is
    // kAnyCommas takes any number of fields. A formatter whose layout grew
    // optional trailing fields over the dialects (NMEA 2.0 to 4.11) lists the
    // count of each layout.
    std::array<std::int8_t, kMaxCommaCounts> commas;
    Parser parse;
    Composer compose;
};

inline constexpr std::int8_t kAnyCommas = -2;

const FormatterEntry* FindFormatter(std::string_view name);

// Parsers and composers by group.
ParseStatus ParseGga(const FieldList&, SentenceRecord&);
ParseStatus ParseGll(const FieldList&, SentenceRecord&);
ParseStatus ParseRmc(const FieldList&, SentenceRecord&);
ParseStatus ParseVtg(const FieldList&, SentenceRecord&);
ParseStatus ParseGsa(const FieldList&, SentenceRecord&);
ParseStatus ParseGsv(const FieldList&, SentenceRecord&);
ParseStatus ParseGbs(const FieldList&, SentenceRecord&);
ParseStatus ParseDtm(const FieldList&, SentenceRecord&);
ParseStatus ParseZda(const FieldList&, SentenceRecord&);
ParseStatus ParseGrs(const FieldList&, SentenceRecord&);
ParseStatus ParseGst(const FieldList&, SentenceRecord&);
ParseStatus ParseHdt(const FieldList&, SentenceRecord&);
ParseStatus ParseRot(const FieldList&, SentenceRecord&);
ParseStatus ParseVbw(const FieldList&, SentenceRecord&);
ParseStatus ParseGns(const FieldList&, SentenceRecord&);
ParseStatus ParseOsd(const FieldList&, SentenceRecord&);
ParseStatus ParseRma(const FieldList&, SentenceRecord&);
ParseStatus ParseWpl(const FieldList&, SentenceRecord&);
ParseStatus ParseQuery(const FieldList&, SentenceRecord&);
bool ComposeRmc(const SentenceRecord&, SentenceText&);
bool ComposeGsa(const SentenceRecord&, SentenceText&);
bool ComposeGbs(const SentenceRecord&, SentenceText&);
bool ComposeHdt(const SentenceRecord&, SentenceText&);
bool ComposeHdg(const SentenceRecord&, SentenceText&);
bool ComposeRot(const SentenceRecord&, SentenceText&);

ParseStatus ParseVdm(const FieldList&, SentenceRecord&);
ParseStatus ParseAbm(const FieldList&, SentenceRecord&);
ParseStatus ParseBbm(const FieldList&, SentenceRecord&);
ParseStatus ParseAbk(const FieldList&, SentenceRecord&);
ParseStatus ParseAca(const FieldList&, SentenceRecord&);
ParseStatus ParseAcs(const FieldList&, SentenceRecord&);
ParseStatus ParseAlr(const FieldList&, SentenceRecord&);
ParseStatus ParseAck(const FieldList&, SentenceRecord&);
ParseStatus ParseSsd(const FieldList&, SentenceRecord&);
ParseStatus ParseVsd(const FieldList&, SentenceRecord&);
ParseStatus ParseTxt(const FieldList&, SentenceRecord&);
bool ComposeVdm(const SentenceRecord&, SentenceText&);
bool ComposeAbm(const SentenceRecord&, SentenceText&);
bool ComposeBbm(const SentenceRecord&, SentenceText&);
bool ComposeAbk(const SentenceRecord&, SentenceText&);
bool ComposeAca(const SentenceRecord&, SentenceText&);
bool ComposeAcs(const SentenceRecord&, SentenceText&);
bool ComposeAlr(const SentenceRecord&, SentenceText&);
bool ComposeAck(const SentenceRecord&, SentenceText&);
bool ComposeSsd(const SentenceRecord&, SentenceText&);
bool ComposeVsd(const SentenceRecord&, SentenceText&);

ParseStatus ParseMid(const FieldList&, SentenceRecord&);
ParseStatus ParseBdy(const FieldList&, SentenceRecord&);
ParseStatus ParseTst(const FieldList&, SentenceRecord&);
ParseStatus ParseFrq(const FieldList&, SentenceRecord&);
ParseStatus ParseBth(const FieldList&, SentenceRecord&);
ParseStatus ParseDbg(const FieldList&, SentenceRecord&);
ParseStatus ParseTps(const FieldList&, SentenceRecord&);
ParseStatus ParseMrk(const FieldList&, SentenceRecord&);
ParseStatus ParseKrv(const FieldList&, SentenceRecord&);
ParseStatus ParseAiq(const FieldList&, SentenceRecord&);
ParseStatus ParseSmg(const FieldList&, SentenceRecord&);
ParseStatus ParseMob(const FieldList&, SentenceRecord&);
bool ComposeMid(const SentenceRecord&, SentenceText&);
bool ComposeBdy(const SentenceRecord&, SentenceText&);
bool ComposeTst(const SentenceRecord&, SentenceText&);
bool ComposeFrq(const SentenceRecord&, SentenceText&);
bool ComposeBth(const SentenceRecord&, SentenceText&);
bool ComposeDbg(const SentenceRecord&, SentenceText&);
bool ComposeTps(const SentenceRecord&, SentenceText&);
bool ComposeMrk(const SentenceRecord&, SentenceText&);
bool ComposeMob(const SentenceRecord&, SentenceText&);

ParseStatus ParseAtonConfig(const FieldList&, SentenceRecord&);
bool ComposeAtonConfig(const SentenceRecord&, SentenceText&);
// Index of an AtoN configuration formatter in the store, or -1.
int AtonFormatterIndex(std::string_view name);

// Shared helpers of the parsers.
inline bool InRange(std::int64_t v, std::int64_t lo, std::int64_t hi) {
    return v >= lo && v <= hi;
}
inline bool InRangeOrEmpty(std::int64_t v, std::int64_t lo, std::int64_t hi, std::int64_t empty) {
    return v == empty || InRange(v, lo, hi);
}
LatLon ReadPosition(const FieldList& f, int first);  // lat, N/S, lon, E/W

// Composer helpers: each prints an optional value followed by nothing.
void AppendHeader(const SentenceRecord& record, SentenceText& out);
void AppendPosition(SentenceText& out, const LatLon& pos);  // "ddmm.mmmmm,N,dddmm.mmmmm,E"
void AppendTime(SentenceText& out, const TimeOfDay& t);     // "hhmmss.ss" or empty

}  // namespace norq::codec
