// Qt's own texts (message-box buttons, file dialogs, context menus) in the
// interface language, from the translations Qt ships (Debian
// qt6-translations-l10n).
#pragma once

#include <QString>

namespace norq::app {

// Qt's catalogue locale of a language index: "zh_TW", "zh_CN", or empty for
// English (Qt's built-in texts).
QString QtCatalogueLocale(int languageIndex);

// Installs Qt's catalogue of the language in the application, replacing the
// one installed before; English removes it. False when the catalogue could not
// be loaded (Qt's English texts stay).
bool ApplyQtTranslations(int languageIndex);

}  // namespace norq::app
