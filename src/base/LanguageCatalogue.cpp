#include "base/LanguageCatalogue.h"

#include <span>

namespace norq::base {

namespace {

constexpr CatalogueEntry kEntries[] = {
#define NORQ_TEXT(id, section, key, english) CatalogueEntry{TextId::id, section, key, english},
#include "base/LanguageKeys.inc"
#undef NORQ_TEXT
};
constexpr std::span<const CatalogueEntry> kCatalogue(kEntries);

// The table is indexed by the enumerators' values.
constexpr bool isInEnumOrder() {
    for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
        if (static_cast<std::size_t>(kCatalogue[i].id) != i) return false;
    }
    return true;
}
static_assert(isInEnumOrder());

}  // namespace

std::span<const CatalogueEntry> LanguageCatalogue() {
    return kCatalogue;
}

std::size_t CatalogueIndex(TextId id) {
    return static_cast<std::size_t>(id);
}

const CatalogueEntry& CatalogueEntryFor(TextId id) {
    return kCatalogue[CatalogueIndex(id)];
}

}  // namespace norq::base
