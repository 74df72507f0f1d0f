#include "base/LanguageTable.h"

#include <array>

#include "base/DataFolder.h"
#include "base/IniFile.h"

namespace norq::base {

namespace {

constexpr std::array<LanguageFiles, 3> kLanguageFiles = {{
    {kLanguageEnglish, "Lang/Lang-EN.ini", "Lang/ReadMe-EN_ZEPHARO.txt", 238},
    {kLanguageTraditionalChinese, "Lang/Lang-TW.ini", "Lang/ReadMe-TW.txt", 136},
    {kLanguageSimplifiedChinese, "Lang/Lang-CN.ini", "Lang/ReadMe-CN.txt", 134},
}};

// Lower-case section and key joined by a line break, which no name can hold.
std::string tableKey(std::string_view section, std::string_view key) {
    std::string joined;
    joined.reserve(section.size() + key.size() + 1);
    for (char c : section)
        joined += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    joined += '\n';
    for (char c : key)
        joined += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return joined;
}

}  // namespace

int NormalisedLanguage(int index) {
    return index == kLanguageTraditionalChinese || index == kLanguageSimplifiedChinese
               ? index
               : kLanguageEnglish;
}

const LanguageFiles& LanguageFilesFor(int index) {
    return kLanguageFiles[static_cast<std::size_t>(NormalisedLanguage(index))];
}

bool LanguageTable::load(const std::string& path) {
    texts_.clear();
    IniFile file;
    if (file.load(path) != IniFile::LoadResult::Loaded) return false;
    file.forEachKey([this](std::string_view section, std::string_view key, std::string_view text) {
        texts_.emplace(tableKey(section, key), std::string(text));
    });
    return true;
}

void LanguageTable::parse(std::string_view text) {
    texts_.clear();
    IniFile file;
    file.parse(text);
    file.forEachKey([this](std::string_view section, std::string_view key, std::string_view value) {
        texts_.emplace(tableKey(section, key), std::string(value));
    });
}

const std::string* LanguageTable::find(std::string_view section, std::string_view key) const {
    const auto found = texts_.find(tableKey(section, key));
    return found == texts_.end() ? nullptr : &found->second;
}

std::string LanguageTable::read(std::string_view section, std::string_view key,
                                std::string_view current) const {
    const std::string* found = find(section, key);
    return found ? *found : std::string(current);
}

bool LoadLanguageTable(std::string_view programFolder, int index, LanguageTable& table) {
    return table.load(ProgramFilePath(programFolder, LanguageFilesFor(index).languageFile));
}

std::string LoadReadMe(const std::string& path) {
    std::optional<std::string> text = ReadFileLimited(path, kMaxReadMeBytes);
    if (!text) return {};
    if (text->starts_with("\xEF\xBB\xBF")) text->erase(0, 3);
    return std::move(*text);
}

TextStore::TextStore() {
    resetToBuiltIn();
}

void TextStore::resetToBuiltIn() {
    texts_.clear();
    texts_.reserve(LanguageCatalogue().size());
    for (const CatalogueEntry& entry : LanguageCatalogue())
        texts_.emplace_back(entry.english);
}

}  // namespace norq::base
