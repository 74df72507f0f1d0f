// The delivered language files against the language key catalogue.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "base/IniFile.h"
#include "base/LanguageCatalogue.h"
#include "base/LanguageTable.h"

namespace norq::base {
namespace {

const std::string kLangFolder = std::string(NORQ_SOURCE_DIR) + "/data/lang/";

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80    ? 1
                             : lead >= 0xF0 ? 4
                             : lead >= 0xE0 ? 3
                             : lead >= 0xC2 ? 2
                                            : 0;
        if (length == 0 || lead > 0xF4 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += length;
    }
    return true;
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

TEST(LanguageCatalogue, EveryEntryIsUniqueAndIndexedByItsId) {
    std::set<std::pair<std::string, std::string>> seen;
    std::size_t index = 0;
    for (const CatalogueEntry& entry : LanguageCatalogue()) {
        EXPECT_EQ(CatalogueIndex(entry.id), index++);
        EXPECT_TRUE(seen.emplace(lower(entry.section), lower(entry.key)).second)
            << entry.section << "/" << entry.key;
        EXPECT_FALSE(entry.english.empty());
    }
    EXPECT_EQ(CatalogueEntryFor(TextId::ExitQueryQueryExit).english, "Are you sure to exit?");
}

class LanguageFile : public testing::TestWithParam<int> {};

TEST_P(LanguageFile, HoldsEveryCatalogueKeyAndNothingElse) {
    const std::string path =
        kLangFolder + std::string(LanguageFilesFor(GetParam()).languageFile.substr(5));
    IniFile file;
    ASSERT_EQ(file.load(path), IniFile::LoadResult::Loaded) << path;
    const std::string text = file.toString();
    EXPECT_TRUE(isValidUtf8(text)) << path;

    std::set<std::pair<std::string, std::string>> catalogue;
    for (const CatalogueEntry& entry : LanguageCatalogue()) {
        catalogue.emplace(lower(entry.section), lower(entry.key));
        const std::optional<std::string> value = file.value(entry.section, entry.key);
        ASSERT_TRUE(value.has_value()) << path << ": [" << entry.section << "] " << entry.key;
        EXPECT_FALSE(value->empty()) << path << ": [" << entry.section << "] " << entry.key;
        if (GetParam() == kLanguageEnglish) {
            // The English file holds exactly the built-in texts.
            EXPECT_EQ(*value, entry.english) << "[" << entry.section << "] " << entry.key;
        }
    }
    std::set<std::pair<std::string, std::string>> inFile;
    file.forEachKey([&](std::string_view section, std::string_view key, std::string_view) {
        const auto name = std::make_pair(lower(section), lower(key));
        EXPECT_TRUE(inFile.insert(name).second) << path << ": repeated " << section << "/" << key;
        EXPECT_TRUE(catalogue.count(name))
            << path << ": not in the catalogue " << section << "/" << key;
    });
}

TEST_P(LanguageFile, HasAReadMe) {
    const std::string path =
        kLangFolder + std::string(LanguageFilesFor(GetParam()).readMeFile.substr(5));
    const std::string text = LoadReadMe(path);
    EXPECT_FALSE(text.empty()) << path;
    EXPECT_TRUE(isValidUtf8(text)) << path;
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, LanguageFile,
                         testing::Values(kLanguageEnglish, kLanguageTraditionalChinese,
                                         kLanguageSimplifiedChinese));

TEST(LanguageFiles, ChineseFilesTranslateTheMenus) {
    LanguageTable traditional;
    LanguageTable simplified;
    ASSERT_TRUE(traditional.load(kLangFolder + "Lang-TW.ini"));
    ASSERT_TRUE(simplified.load(kLangFolder + "Lang-CN.ini"));
    TextStore texts;
    texts.apply(traditional);
    EXPECT_EQ(texts.text(TextId::MenuFileExit), "結束(&X)");
    texts.apply(simplified);
    EXPECT_EQ(texts.text(TextId::MenuFileExit), "退出(&X)");
    // Back to English: every text returns to its built-in value.
    LanguageTable english;
    ASSERT_TRUE(english.load(kLangFolder + "Lang-EN.ini"));
    texts.apply(english);
    for (const CatalogueEntry& entry : LanguageCatalogue()) {
        EXPECT_EQ(texts.text(entry.id), entry.english) << entry.section << "/" << entry.key;
    }
}

}  // namespace
}  // namespace norq::base
