// Icons drawn by the project as SVG files (data/icons), compiled into the
// program as resources under ":/icons/" and rendered with QtSvg.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace norq::ui {

// The icon ":/icons/<name>.svg" rendered at the usual tool-bar sizes; an empty
// icon when the resource is missing.
QIcon SvgIcon(const QString& name);
// The same picture as one pixmap of the given size (status images).
QPixmap SvgPixmap(const QString& name, int width, int height);

}  // namespace norq::ui
