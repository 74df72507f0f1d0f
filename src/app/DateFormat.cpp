#include "app/DateFormat.h"

#include <QRegularExpression>

namespace norq::app {

QString UserShortDateFormat(const QLocale& locale) {
    if (locale.language() == QLocale::C) return QStringLiteral("yyyy-MM-dd");
    QString format = locale.dateFormat(QLocale::ShortFormat);
    format.replace(QStringLiteral("MMMM"), QStringLiteral("MM"))
        .replace(QStringLiteral("MMM"), QStringLiteral("MM"))
        .remove(QRegularExpression(QStringLiteral("dddd?[,.]?\\s*")));
    static const QRegularExpression kShortYear(QStringLiteral("(?<!y)y{1,3}(?!y)"));
    format.replace(kShortYear, QStringLiteral("yyyy"));
    return format.trimmed();
}

}  // namespace norq::app
