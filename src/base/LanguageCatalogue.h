// The language key catalogue: the one list of every replaceable interface text, each with
// its section and key in the language files and its built-in English text. Windows name
// their texts by TextId; the language files are checked against this list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace norq::base {

enum class TextId : std::uint16_t {
#define NORQ_TEXT(id, section, key, english) id,
#include "base/LanguageKeys.inc"
#undef NORQ_TEXT
};

struct CatalogueEntry {
    TextId id;
    std::string_view section;
    std::string_view key;
    std::string_view english;
};

// Every entry, in the order the texts are loaded (the enumerators' order).
std::span<const CatalogueEntry> LanguageCatalogue();
const CatalogueEntry& CatalogueEntryFor(TextId id);
std::size_t CatalogueIndex(TextId id);

}  // namespace norq::base
