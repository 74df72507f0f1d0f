#include "app/ElidingField.h"

#include <QFontMetrics>
#include <QResizeEvent>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

namespace norq::app {

ElidingField::ElidingField(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
}

void ElidingField::setFullText(const QString& text) {
    if (text == full_) return;
    full_ = text;
    setToolTip(full_);
    elide();
}

void ElidingField::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    elide();
}

void ElidingField::elide() {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const QMargins margins = textMargins();
    // Two pixels of the line edit's own padding on each side.
    const int room = contents.width() - margins.left() - margins.right() - 4;
    const QString shown = fontMetrics().elidedText(full_, Qt::ElideRight, std::max(room, 0));
    if (text() != shown) {
        setText(shown);
        setCursorPosition(0);
    }
}

}  // namespace norq::app
