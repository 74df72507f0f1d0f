#include "chart/paint/ApplicationPalette.h"

#include <QApplication>

#include "chart/paint/QtChartCanvas.h"

namespace norq::chart {

namespace {

Rgb ToRgb(const QColor& c) {
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue())};
}

}  // namespace

const QPalette& StartupApplicationPalette() {
    static const QPalette startup = QApplication::palette();
    return startup;
}

DesktopColours DesktopColoursOf(const QPalette& p) {
    DesktopColours d;
    d.window = ToRgb(p.color(QPalette::Base));
    d.windowFrame = ToRgb(p.color(QPalette::Dark));
    d.activeCaption = ToRgb(p.color(QPalette::Active, QPalette::Highlight));
    d.inactiveCaption = ToRgb(p.color(QPalette::Inactive, QPalette::Window));
    d.windowText = ToRgb(p.color(QPalette::WindowText));
    d.highlight = ToRgb(p.color(QPalette::Highlight));
    return d;
}

QPalette ApplicationPaletteFor(const ChartPalette& palette) {
    const QPalette& startup = StartupApplicationPalette();
    if (!IsDarkScheme(palette.scheme())) return startup;
    auto role = [&palette](InterfaceElement e) {
        return ToQColor(palette[InterfaceElementRole(e)]);
    };
    QPalette p = startup;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Window, role(InterfaceElement::Window));
        p.setColor(group, QPalette::Base, role(InterfaceElement::Window));
        p.setColor(group, QPalette::AlternateBase, role(InterfaceElement::ButtonFace));
        p.setColor(group, QPalette::WindowText, role(InterfaceElement::WindowText));
        p.setColor(group, QPalette::Text, role(InterfaceElement::WindowText));
        p.setColor(group, QPalette::Button, role(InterfaceElement::ButtonFace));
        p.setColor(group, QPalette::ButtonText, role(InterfaceElement::ButtonText));
        p.setColor(group, QPalette::Highlight, role(InterfaceElement::Highlight));
        p.setColor(group, QPalette::HighlightedText, role(InterfaceElement::HighlightText));
        p.setColor(group, QPalette::ToolTipBase, role(InterfaceElement::TooltipBackground));
        p.setColor(group, QPalette::ToolTipText, role(InterfaceElement::TooltipText));
        p.setColor(group, QPalette::Dark, role(InterfaceElement::ButtonShadow));
        p.setColor(group, QPalette::Shadow, role(InterfaceElement::DarkShadow3D));
        p.setColor(group, QPalette::Light, role(InterfaceElement::Light3D));
        p.setColor(group, QPalette::Mid, role(InterfaceElement::WindowFrame));
        p.setColor(group, QPalette::PlaceholderText, role(InterfaceElement::GreyText));
    }
    p.setColor(QPalette::Disabled, QPalette::WindowText, role(InterfaceElement::GreyText));
    p.setColor(QPalette::Disabled, QPalette::Text, role(InterfaceElement::GreyText));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, role(InterfaceElement::GreyText));
    return p;
}

void ApplyApplicationPalette(const ChartPalette& palette) {
    StartupApplicationPalette();  // kept before the first change
    QApplication::setPalette(ApplicationPaletteFor(palette));
}

}  // namespace norq::chart
