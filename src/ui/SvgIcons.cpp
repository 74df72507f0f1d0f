#include "ui/SvgIcons.h"

#include <QPainter>
#include <QSvgRenderer>

namespace norq::ui {

QPixmap SvgPixmap(const QString& name, int width, int height) {
    QSvgRenderer renderer(QStringLiteral(":/icons/%1.svg").arg(name));
    if (!renderer.isValid()) return {};
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QIcon SvgIcon(const QString& name) {
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap = SvgPixmap(name, size, size);
        if (pixmap.isNull()) return {};
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace norq::ui
