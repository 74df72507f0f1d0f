// One decoded AIS message as one line of JSON in gpsd's AIS dialect
// (class "AIS", gpsd's field names), values in natural units and null for
// every not-available value. docs/decode-json.md describes the schema.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "ais/AisMessage.h"

namespace norq::ais {

// Enough for every message the decoder produces (the longest is a message 14
// of 220 characters that all need escaping).
inline constexpr std::size_t kAisJsonMaxLength = 1024;

// Writes the JSON object of `message` followed by '\n' into `out` and returns
// the number of characters written. Returns 0, with `out` holding no usable
// line, when `out` is too small; never writes beyond it. Allocates nothing.
// A receive time (Unix seconds, from a file's tag block or station fields)
// of 0 or more is written last as "rxtime".
std::size_t WriteAisJson(const AisMessage& message, std::span<char> out,
                         std::int64_t receiveTime = -1);

}  // namespace norq::ais
