// Language tables: which language file and read-me file belong to a language index, the
// reading of a language file, and the store of the interface texts currently shown.
//
// Every read takes the text currently shown as its default: a language file that lacks a
// key, or is missing altogether, leaves that text as it is. Switching from Chinese back to
// English therefore restores every text the English file holds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/LanguageCatalogue.h"

namespace norq::base {

inline constexpr int kLanguageEnglish = 0;
inline constexpr int kLanguageTraditionalChinese = 1;
inline constexpr int kLanguageSimplifiedChinese = 2;

// All texts are UTF-8, so every language shows the same degree sign.
inline constexpr std::string_view kDegreeSign = "\u00B0";

struct LanguageFiles {
    int index;
    std::string_view languageFile;  // below the program folder
    std::string_view readMeFile;    // below the program folder
    int characterSet;               // the font character set the language asks for
};

// 0, 1 or 2 as given; any other index means English.
int NormalisedLanguage(int index);
const LanguageFiles& LanguageFilesFor(int index);

class LanguageTable {
  public:
    // Reads a language file; a missing or unreadable file leaves the table empty (every
    // read then returns its default) and returns false.
    bool load(const std::string& path);
    void parse(std::string_view text);
    void clear() { texts_.clear(); }
    bool empty() const { return texts_.empty(); }
    std::size_t size() const { return texts_.size(); }

    // The text of (section, key), names compared without regard to case; nullptr when the
    // table has none. The first of repeated keys or sections counts.
    const std::string* find(std::string_view section, std::string_view key) const;
    std::string read(std::string_view section, std::string_view key,
                     std::string_view current) const;

  private:
    std::unordered_map<std::string, std::string> texts_;
};

// The language file of the index (any other index: English) from the program folder.
bool LoadLanguageTable(std::string_view programFolder, int index, LanguageTable& table);

// A read-me file as one text (a leading byte order mark removed); empty when the file is
// missing, unreadable or larger than kMaxReadMeBytes.
inline constexpr std::size_t kMaxReadMeBytes = 1024 * 1024;
std::string LoadReadMe(const std::string& path);

// The interface texts currently shown, one per catalogue entry, starting as the built-in
// English texts.
class TextStore {
  public:
    TextStore();

    const std::string& text(TextId id) const { return texts_[CatalogueIndex(id)]; }
    void set(TextId id, std::string text) { texts_[CatalogueIndex(id)] = std::move(text); }
    void resetToBuiltIn();

    // Every text := table.read(section, key, current text).
    void apply(const LanguageTable& table) {
        apply(table, [](TextId) { return false; });
    }
    // The same, leaving out the texts for which skip(id) holds (for example a text that is
    // read only for some device kinds).
    template <typename Skip>
    void apply(const LanguageTable& table, Skip skip) {
        for (const CatalogueEntry& entry : LanguageCatalogue()) {
            if (skip(entry.id)) continue;
            if (const std::string* found = table.find(entry.section, entry.key)) {
                texts_[CatalogueIndex(entry.id)] = *found;
            }
        }
    }

  private:
    std::vector<std::string> texts_;
};

}  // namespace norq::base
