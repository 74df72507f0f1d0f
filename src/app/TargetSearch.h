// The search of the target table by MMSI digits or by name, as the search
// window's "Find Next" runs it.
#pragma once

#include <string_view>

#include "ais/TargetTable.h"

namespace norq::app {

enum class SearchMode { Mmsi = 0, Name = 1 };

// The entry after `selected` (wrapping at the end, at most one full pass, the
// selected entry itself last) whose MMSI written as nine digits contains the
// text (MMSI mode), or whose name contains it (name mode; both upper-cased
// unless caseSensitive). -1 when none matches or the text is empty.
int FindTarget(const ais::TargetTable& table, int selected, std::string_view text, SearchMode mode,
               bool caseSensitive);

}  // namespace norq::app
