#include "codec/SentenceCodec.h"

#include <cstring>

namespace norq::codec {

namespace {

struct GroupList {
    SentenceGroup group;
    std::array<std::string_view, 12> formatters;
};

// The classifier tries the lists in this order.
constexpr GroupList kGroups[] = {
    {SentenceGroup::Gnss, {"GGA", "GLL", "GBS", "GSA", "GSV", "RMC", "VTG", "ZDA", "DTM"}},
    {SentenceGroup::Heading, {"ROT", "HDT", "VBW", "GNS"}},
    {SentenceGroup::LongRange, {"LRI", "LRF", "LR1", "LR2", "LR3"}},
    {SentenceGroup::Transponder,
     {"ABK", "ACA", "ACK", "ACS", "ALR", "SSD", "VSD", "ABM", "BBM", "VDM", "VDO", "TXT"}},
    {SentenceGroup::Dsc, {"DSC", "DSE", "DSI", "DSR"}},
    {SentenceGroup::Proprietary,
     {"MID", "BDY", "TST", "FRQ", "BTH", "DBG", "TPS", "MOB", "MRK", "KRV"}},
    {SentenceGroup::AtonConfig,
     {"AAR", "ACE", "ACF", "AFB", "AFC", "AID", "AKE", "ARW", "MCR", "MPR", "TSP", "VER"}},
};

// The line must hold exactly one of the formatter's known comma counts.
bool CommasAccepted(const FormatterEntry& entry, std::string_view text) {
    if (entry.commas[0] == kAnyCommas) return true;
    int commas = 0;
    for (char c : text)
        commas += (c == ',');
    for (std::int8_t n : entry.commas) {
        if (n >= 0 && n == commas) return true;
    }
    return false;
}

bool IsAddressChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Reads the address field of a marked line into the record. Returns the
// offset at which the sentence continues ("$P<formatter>," for the long
// proprietary form, which is rewritten in place), or -1.
int ReadAddress(char* line, std::size_t length, SentenceRecord& r) {
    r.start = line[0];
    r.subtype = 0;
    std::memset(r.talker, 0, sizeof r.talker);
    std::memset(r.formatter, 0, sizeof r.formatter);
    if (length < 7) return -1;
    for (int i = 1; i <= 4; ++i) {
        if (!IsAddressChar(line[i])) return -1;
    }
    if (line[1] == 'P') {
        r.talker[0] = 'P';
        if (std::memcmp(line + 2, "KRV", 3) != 0) {
            std::memcpy(r.formatter, line + 2, 3);
            return line[5] == ',' ? 0 : -1;
        }
        // $PKRV,<subtype>,<formatter>,... continues as $P<formatter>,...
        if (length < 13 || line[5] != ',' || line[7] != ',') return -1;
        r.subtype = line[6];
        line[6] = '$';
        line[7] = 'P';
        for (int i = 8; i <= 10; ++i) {
            if (!IsAddressChar(line[i])) return -1;
        }
        std::memcpy(r.formatter, line + 8, 3);
        return line[11] == ',' ? 6 : -1;
    }
    if (!IsAddressChar(line[5])) return -1;
    r.talker[0] = line[1];
    r.talker[1] = line[2];
    if (line[5] == 'Q') {
        r.formatter[0] = 'Q';
    } else {
        std::memcpy(r.formatter, line + 3, 3);
    }
    return line[6] == ',' ? 0 : -1;
}

}  // namespace

SentenceGroup ClassifyFormatter(std::string_view formatter) {
    if (!formatter.empty() && formatter[0] == 'Q') return SentenceGroup::Query;
    for (const GroupList& list : kGroups) {
        for (std::string_view f : list.formatters) {
            if (!f.empty() && f == formatter) return list.group;
        }
    }
    return SentenceGroup::None;
}

int TalkerSystemCode(std::string_view talker) {
    if (talker == "GP") return 1;
    if (talker == "GL") return 2;
    if (talker == "GN") return 3;
    if (talker == "LC") return 4;
    if (talker == "IN") return 6;
    return 0;
}

bool ChecksumValid(std::string_view line) {
    const std::size_t star = line.find('*');
    if (star == std::string_view::npos || star == 0 || star + 5 != line.size()) return false;
    const int hi = HexValue(line[star + 1]);
    const int lo = HexValue(line[star + 2]);
    if (hi < 0 || lo < 0) return false;
    unsigned sum = 0;
    for (std::size_t i = 1; i < star; ++i)
        sum ^= static_cast<unsigned char>(line[i]);
    return sum == static_cast<unsigned>(hi * 16 + lo);
}

ParseStatus ParseSentence(std::string_view line, SentenceRecord& record) {
    if (line.size() > kMaxLineLength) return ParseStatus::Length;
    if (line.size() < 2 || line[line.size() - 2] != '\r' || line[line.size() - 1] != '\n') {
        return ParseStatus::Framing;
    }
    if (line[0] != '$' && line[0] != '!') return ParseStatus::Framing;
    if (!ChecksumValid(line)) return ParseStatus::Checksum;

    char marked[kMaxMarkedLength + 2];
    const std::size_t length = MarkEmptyFields(line, marked, sizeof marked);
    if (length == 0) return ParseStatus::Length;

    const int from = ReadAddress(marked, length, record);
    if (from < 0) return ParseStatus::Framing;
    const FormatterEntry* entry = FindFormatter(record.formatterText());
    if (entry == nullptr || entry->parse == nullptr) return ParseStatus::UnknownFormatter;

    const std::string_view text(marked + from, length - static_cast<std::size_t>(from));
    if (!CommasAccepted(*entry, text)) return ParseStatus::Commas;

    FieldTokenizer tokens(text);
    tokens.skip(',');  // the address field
    int commas = 0;
    for (char c : text)
        commas += (c == ',');
    if (commas > FieldList::kMaxFields) return ParseStatus::Commas;
    FieldList fields;
    for (int i = 0; i < commas; ++i) {
        const char delimiter = (i + 1 < commas) ? ',' : '*';
        if (!tokens.next(delimiter, fields.fields[i])) return ParseStatus::Framing;
        fields.count = i + 1;
    }
    record.group = SentenceGroup::None;
    return entry->parse(fields, record);
}

bool AppendChecksum(SentenceText& text) {
    if (text.overflowed() || text.size() < 1) return false;
    const std::string_view body = text.view();
    unsigned sum = 0;
    for (std::size_t i = 1; i < body.size(); ++i)
        sum ^= static_cast<unsigned char>(body[i]);
    text.appendf("*%02X\r\n", sum & 0xFF);
    return !text.overflowed();
}

bool ComposeSentence(const SentenceRecord& record, SentenceText& out) {
    out.clear();
    const FormatterEntry* entry = FindFormatter(record.formatterText());
    if (entry == nullptr || entry->compose == nullptr) return false;
    if (!entry->compose(record, out) || out.overflowed()) return false;
    return AppendChecksum(out);
}

}  // namespace norq::codec
