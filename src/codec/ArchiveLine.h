// Lines of recordings and shore-network archives: what logging programs and
// shore networks write around a sentence.
//
//   \g:1-2-1604,s:r003669945,c:1418169601*37\!AIVDM,2,1,4,A,...,0*4C
//   !AIVDM,1,1,,A,15N1u<PP1FJuvSRHOE6QIwwh0HQ6,0*30,d-080,S2118,t050056.00,r003669946,1325394060
//
// A leading tag block ("\...*hh\", one or more) and station fields after the
// sentence's checksum are split off; the sentence itself is left exactly as it
// was received, so that its own checksum still decides. Of the added text only
// the receive time is read (the "c:" field of a tag block whose checksum holds,
// or a trailing Unix time); nothing else in it is trusted. Used for file input
// only: live links keep strict framing.
#pragma once

#include <cstdint>
#include <string_view>

namespace norq::codec {

inline constexpr std::int64_t kNoReceiveTime = -1;

struct ArchiveLine {
    // From the start character up to and including the two checksum digits,
    // without CR LF; empty when the line holds no such sentence.
    std::string_view sentence;
    // Unix seconds of reception, or kNoReceiveTime.
    std::int64_t receiveTime = kNoReceiveTime;
    // The same in milliseconds, as exact as the line gives it (a 13-digit
    // time keeps its milliseconds), or kNoReceiveTime.
    std::int64_t receiveTimeMs = kNoReceiveTime;
    // Characters between the tag blocks (or the line's start) and the sentence.
    std::size_t prefixLength = 0;
    bool tagBlock = false;        // a tag block stood before the sentence
    bool trailingFields = false;  // text followed the checksum
};

// Splits one file line (with or without CR LF). The sentence is the text from
// the first '$' or '!' after any tag blocks to the first '*' and the two
// characters after it. False when there is no start character or no '*' with
// two characters after it.
bool SplitArchiveLine(std::string_view line, ArchiveLine& out);

// Forms the sentence of `line` as a received line ending in CR LF in `out`
// (at least `capacity` bytes). Returns its length, or 0 when the line has no
// sentence or it does not fit. The receive time is stored in `receiveTime`.
std::size_t FormArchiveSentence(std::string_view line, char* out, std::size_t capacity,
                                std::int64_t& receiveTime);

}  // namespace norq::codec
