// The symbols drawn offscreen through QPainter, against control images with a
// colour tolerance. NORQ_UPDATE_CONTROL_IMAGES=1 writes the control images anew
// (look at them before committing).
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <vector>

#include "chart/ChartSymbols.h"
#include "chart/paint/QtChartCanvas.h"

namespace norq::chart {
namespace {

struct Variant {
    const char* name;
    ShipSymbol symbol;
};

std::vector<Variant> Variants() {
    auto ship = [](float heading, float course, auto set) {
        ShipSymbol s;
        s.heading = heading;
        s.course = course;
        set(s.flags);
        return s;
    };
    auto none = [](SymbolFlags&) {};
    return {
        {"class-a", ship(90, 45, none)},
        {"no-heading", ship(511, 135, none)},
        {"no-course", ship(300, 360, none)},
        {"dangerous", ship(200, 210, [](SymbolFlags& f) { f.dangerous = true; })},
        {"lost", ship(30, 30, [](SymbolFlags& f) { f.lost = true; })},
        {"selected", ship(0, 10, [](SymbolFlags& f) { f.selected = true; })},
        {"friend", ship(120, 120, [](SymbolFlags& f) { f.friendShip = true; })},
        {"own", ship(45, 50, [](SymbolFlags& f) { f.ownShip = true; })},
        {"own-unknown", ship(45, 50,
                             [](SymbolFlags& f) {
                                 f.ownShip = true;
                                 f.ownPositionUnknown = true;
                             })},
        {"aton", ship(0, 90, [](SymbolFlags& f) { f.realAton = true; })},
        {"virtual-aton", ship(0, 90, [](SymbolFlags& f) { f.virtualAton = true; })},
        {"aton-off", ship(0, 90,
                          [](SymbolFlags& f) {
                              f.realAton = true;
                              f.atonOffPosition = true;
                          })},
        {"sart", ship(0, 120, [](SymbolFlags& f) { f.sartOrMob = true; })},
        {"base", ship(0, 0, [](SymbolFlags& f) { f.baseStation = true; })},
        {"sar", ship(0, 0, [](SymbolFlags& f) { f.sarAircraft = true; })},
        {"dangerous-lost", ship(270, 260,
                                [](SymbolFlags& f) {
                                    f.dangerous = true;
                                    f.lost = true;
                                })},
    };
}

// All variants side by side on the sea colour, in one scheme.
QImage RenderStrip(ColourScheme scheme) {
    ChartPalette palette;
    palette.apply(scheme);
    const std::vector<Variant> variants = Variants();
    QImage image(kSymbolSize * static_cast<int>(variants.size()), kSymbolSize,
                 QImage::Format_RGB32);
    image.fill(ToQColor(palette[PaletteRole::Sea]));
    QPainter painter(&image);
    QtChartCanvas canvas(painter, palette);
    for (std::size_t i = 0; i < variants.size(); ++i)
        DrawShipSymbol(canvas, variants[i].symbol, {static_cast<int>(i) * kSymbolSize, 0});
    return image;
}

// Pixels whose colour differs by more than the tolerance in any channel.
int DifferentPixels(const QImage& a, const QImage& b, int tolerance) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            if (std::abs(p.red() - q.red()) > tolerance ||
                std::abs(p.green() - q.green()) > tolerance ||
                std::abs(p.blue() - q.blue()) > tolerance) {
                ++count;
            }
        }
    }
    return count;
}

void CheckAgainstControl(const QImage& image, const char* name) {
    const QString path = QStringLiteral(NORQ_FIXTURES "/chart/symbols/%1.png").arg(name);
    if (std::getenv("NORQ_UPDATE_CONTROL_IMAGES") != nullptr) {
        ASSERT_TRUE(image.save(path)) << path.toStdString();
        return;
    }
    QImage control(path);
    ASSERT_FALSE(control.isNull()) << "missing control image " << path.toStdString();
    control = control.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(control.size(), image.size());
    // Tolerance for the platform's rasteriser: colours within 24 per channel,
    // and at most 2% of the pixels off.
    const int allowed = image.width() * image.height() / 50;
    EXPECT_LE(DifferentPixels(image, control, 24), allowed) << name;
}

TEST(SymbolImages, DayBrightMatchesTheControlImage) {
    CheckAgainstControl(RenderStrip(ColourScheme::DayBright), "day-bright");
}

TEST(SymbolImages, NightMatchesTheControlImage) {
    CheckAgainstControl(RenderStrip(ColourScheme::Night), "night");
}

TEST(SymbolImages, TheKeyPixelsOfAClassATarget) {
    ChartPalette palette;
    const QImage strip = RenderStrip(ColourScheme::DayBright);
    const QColor sea = ToQColor(palette[PaletteRole::Sea]);
    // Inside the hull: the target fill; far corner: untouched sea.
    EXPECT_EQ(strip.pixelColor(17, 15), ToQColor(palette[PaletteRole::TargetFill]));
    EXPECT_EQ(strip.pixelColor(0, 30), sea);
    // The dangerous target (fourth) carries the alarm colour on its ring.
    bool alarm = false;
    for (int x = 3 * kSymbolSize; x < 4 * kSymbolSize; ++x)
        alarm = alarm || strip.pixelColor(x, 4) == ToQColor(palette[PaletteRole::Alarm]) ||
                strip.pixelColor(x, 5) == ToQColor(palette[PaletteRole::Alarm]);
    EXPECT_TRUE(alarm);
    // The lost target (fifth) is crossed in the lost colour near its corners.
    const int lost = 4 * kSymbolSize;
    EXPECT_EQ(strip.pixelColor(lost + 3, 3), ToQColor(palette[PaletteRole::Lost]));
}

}  // namespace
}  // namespace norq::chart
