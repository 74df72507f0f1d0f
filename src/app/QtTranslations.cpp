#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/BaseNames.h"
#include "base/LanguageTable.h"

namespace norq::app {

namespace {
// The one translator the viewer installs, a child of the application.
constexpr const char* kTranslatorName = "NorqQtTranslator";
}  // namespace

QString QtCatalogueLocale(int languageIndex) {
    switch (NormalisedLanguage(languageIndex)) {
        case kLanguageTraditionalChinese:
            return QStringLiteral("zh_TW");
        case kLanguageSimplifiedChinese:
            return QStringLiteral("zh_CN");
        default:
            return {};
    }
}

bool ApplyQtTranslations(int languageIndex) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) return false;
    auto* translator =
        app->findChild<QTranslator*>(QLatin1String(kTranslatorName), Qt::FindDirectChildrenOnly);
    if (translator != nullptr) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    const QString locale = QtCatalogueLocale(languageIndex);
    if (locale.isEmpty()) return true;
    auto* loaded = new QTranslator(app);
    loaded->setObjectName(QLatin1String(kTranslatorName));
    // "qt_<locale>" is Qt's meta catalogue: qtbase and the other modules.
    if (!loaded->load(QStringLiteral("qt_") + locale,
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete loaded;
        return false;
    }
    QCoreApplication::installTranslator(loaded);
    return true;
}

}  // namespace norq::app
