// The date format of every time stamp the viewer shows: the user's short date
// format, numeric and with a four-digit year.
#pragma once

#include <QLocale>
#include <QString>

namespace norq::app {

// Month names become numbers, day names are left out and a two-digit year
// becomes four digits, so every stamp is numeric, of one width and unambiguous
// across centuries. Under the C locale (no user format) the ISO "yyyy-MM-dd".
QString UserShortDateFormat(const QLocale& locale);

}  // namespace norq::app
