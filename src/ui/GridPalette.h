// The colour roles the lists and grids are drawn with. The chart palette owns
// the five colour schemes; until it is built these are the day-bright values.
#pragma once

#include <QColor>

namespace norq::ui {

struct GridPalette {
    QColor outline{0x00, 0x00, 0x00};        // role 6: cell text
    QColor alarm{0xFF, 0x00, 0x00};          // role 7: alarm rows
    QColor whiteFill{0xFF, 0xFF, 0xFF};      // role 11: odd rows, selected text
    QColor grey{0x80, 0x80, 0x80};           // role 12: selected row
    QColor panel{0xEC, 0xEC, 0xEC};          // role 14: even rows
    QColor sea{0xA7, 0xE0, 0xE9};            // role 25
    QColor land{0xCC, 0xC5, 0x7B};           // role 26
    QColor rangeRing{0xFF, 0xFF, 0x00};      // role 15
    QColor targetFill{0x00, 0xFF, 0x00};     // role 42
    QColor dangerousFill{0xEE, 0x5A, 0x6C};  // role 41
    QColor warningFill{0xFF, 0xB8, 0x6C};    // CPA warning rows
    QColor cautionFill{0xFF, 0xF0, 0x8C};    // CPA caution rows
    QColor ownShipFill{0xC0, 0xC0, 0xC0};    // role 40
    QColor atonFill{0x00, 0xFF, 0x00};       // role 46
    QColor sartFill{0xFF, 0x00, 0x00};       // role 44
    QColor lost{0x00, 0x00, 0xFF};           // role 9
};

}  // namespace norq::ui
