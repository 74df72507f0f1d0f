// The sentence codec: framing and checksum of received lines, parsing into a
// SentenceRecord, classification into a SentenceGroup, the group stores, and
// composing outgoing sentences from the stores.
#pragma once

#include <string_view>

#include "codec/FormatterTable.h"
#include "codec/GroupStores.h"
#include "codec/ProductInfoBlock.h"
#include "codec/SentenceRecord.h"
#include "codec/SentenceText.h"

namespace norq::codec {

SentenceGroup ClassifyFormatter(std::string_view formatter);

// Checks the framing and checksum of one line (ending in CR LF, at most 100
// characters), marks its empty fields, reads the address field and parses
// the fields with the formatter's parser. Pure: the record is the only output.
ParseStatus ParseSentence(std::string_view line, SentenceRecord& record);

// Prints the record with its formatter's format and appends the checksum.
bool ComposeSentence(const SentenceRecord& record, SentenceText& out);

// Appends "*hh" (upper-case hex) and CR LF; false when the text would not fit.
bool AppendChecksum(SentenceText& text);

// True when the line's checksum is "*hh" with two hexadecimal digits (either
// case) directly before CR LF and equals the XOR of the characters between
// the start character and the '*'.
bool ChecksumValid(std::string_view line);

class SentenceCodec {
  public:
    // Parses a received line into the received record.
    ParseStatus parse(std::string_view line) { return ParseSentence(line, received_); }
    const SentenceRecord& received() const { return received_; }
    SentenceRecord& received() { return received_; }

    // Classifies the record, writes its group and copies its values into the
    // group's store (a query goes to the first free pending-query slot).
    void StoreSentence(SentenceRecord& record);

    // Fills the compose record from the store that the formatter's group
    // names and composes it. Used with the composed formatters only.
    bool ComposeFromStore(std::string_view talker, std::string_view formatter, SentenceText& out);

    GnssStore& gnss() { return gnss_; }
    HeadingStore& heading() { return heading_; }
    LongRangeStore& longRange() { return longRange_; }
    TransponderStore& transponder() { return transponder_; }
    DscStore& dsc() { return dsc_; }
    ProprietaryStore& proprietary() { return proprietary_; }
    AtonConfigStore& atonConfig() { return atonConfig_; }
    PendingQueries& pendingQueries() { return pending_; }
    ProductInfoBlock& productInfo() { return productInfo_; }
    const GnssStore& gnss() const { return gnss_; }
    const TransponderStore& transponder() const { return transponder_; }
    const ProprietaryStore& proprietary() const { return proprietary_; }

  private:
    void storeGnss(const SentenceRecord& record);
    void storeHeading(const SentenceRecord& record);
    void storeTransponder(const SentenceRecord& record);
    void storeProprietary(const SentenceRecord& record);
    bool fillFromStore(SentenceRecord& record);

    SentenceRecord received_;
    SentenceRecord compose_;
    GnssStore gnss_;
    HeadingStore heading_;
    LongRangeStore longRange_;
    TransponderStore transponder_;
    DscStore dsc_;
    ProprietaryStore proprietary_;
    AtonConfigStore atonConfig_;
    PendingQueries pending_;
    ProductInfoBlock productInfo_;
};

}  // namespace norq::codec
