#include "chart/forms/GpsStatusForm.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadialGradient>
#include <QToolTip>
#include <QVBoxLayout>

#include "ais/TargetTexts.h"
#include "chart/paint/QtChartCanvas.h"

namespace norq::chart {

namespace {

constexpr int kSkySize = 200;
constexpr int kClientWidth = 482;
constexpr int kClientHeight = 403;

bool Placeable(const ais::SatelliteEntry& s) {
    return s.elevation >= 0 && s.elevation <= 90 && s.azimuth >= 0 && s.azimuth < 360;
}

QColor Role(const ChartPalette& palette, PaletteRole role) {
    return ToQColor(palette[role]);
}

}  // namespace

// ---- Sky plot ---------------------------------------------------------------------------

TPaintSatelliteChart::TPaintSatelliteChart(const SatelliteSet& set, const ChartPalette& palette,
                                           QWidget* parent)
    : QWidget(parent), set_(set), palette_(palette) {
    setObjectName(QStringLiteral("PaintSatelliteChart"));
    setFixedSize(kSkySize, kSkySize);
    setMouseTracking(true);
}

void TPaintSatelliteChart::placeMarkers() {
    const SkyPlotGeometry plot = SkyPlotFor(width(), height());
    markers_ = 0;
    for (int i = 0; i < set_.size() && markers_ < kMaxSkyMarkers; ++i) {
        const ais::SatelliteEntry& s = set_.satellite(i);
        if (!Placeable(s) || !set_.firstOfItsSatellite(i)) continue;
        placed_[static_cast<std::size_t>(markers_)] =
            SatelliteMarkerTopLeft(plot, s.azimuth, s.elevation);
        markerSatellite_[static_cast<std::size_t>(markers_)] = i;
        ++markers_;
    }
    update();
}

void TPaintSatelliteChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeMarkers();
}

void TPaintSatelliteChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const SkyPlotGeometry g = SkyPlotFor(width(), height());
    p.fillRect(rect(), Role(palette_, PaletteRole::DialogBackground));
    // The earth behind the plot, in the scheme's sky and sea colours.
    QRadialGradient earth(QPointF(g.cx - g.radius / 3.0, g.cy - g.radius / 3.0), g.radius * 1.4);
    earth.setColorAt(0.0, Role(palette_, PaletteRole::Sky));
    earth.setColorAt(1.0, Role(palette_, PaletteRole::Hatch));
    p.setPen(Qt::NoPen);
    p.setBrush(earth);
    p.drawEllipse(QPoint(g.cx, g.cy), g.radius, g.radius);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 1));
    for (int i = 0; i < g.circleCount; ++i) {
        const int r = g.circles[static_cast<std::size_t>(i)];
        p.drawEllipse(QPoint(g.cx, g.cy), r, r);
    }
    p.setPen(QPen(Role(palette_, PaletteRole::WhiteFill), 1));
    p.drawLine(g.cx - g.radius, g.cy, g.cx + g.radius, g.cy);
    p.drawLine(g.cx, g.cy - g.radius, g.cx, g.cy + g.radius);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    p.setFont(font);
    auto letter = [&](const char* text, QRect box, QPoint at) {
        p.setPen(Role(palette_, PaletteRole::Outline));
        p.setBrush(Role(palette_, PaletteRole::Grey));
        p.drawRect(box);
        p.setPen(Role(palette_, PaletteRole::WhiteFill));
        p.drawText(QRect(at, QSize(14, 16)), Qt::AlignLeft | Qt::AlignTop,
                   QString::fromLatin1(text));
    };
    const int R = g.radius;
    letter("N", QRect(g.cx - 7, g.cy - R - 5, 15, 17), QPoint(g.cx - 4, g.cy - R - 4));
    letter("S", QRect(g.cx - 8, g.cy + R - 10, 15, 17), QPoint(g.cx - 4, g.cy + R - 8));
    letter("E", QRect(g.cx + R - 12, g.cy - 6, 15, 17), QPoint(g.cx + R - 8, g.cy - 4));
    letter("W", QRect(g.cx - R - 8, g.cy - 6, 15, 17), QPoint(g.cx - R - 6, g.cy - 4));
    // The satellites.
    p.setRenderHint(QPainter::Antialiasing, true);
    font.setPixelSize(10);
    p.setFont(font);
    for (int m = 0; m < markers_; ++m) {
        const ais::SatelliteEntry& s =
            set_.satellite(markerSatellite_[static_cast<std::size_t>(m)]);
        const PixelXY at = placed_[static_cast<std::size_t>(m)];
        const int half = kSatelliteMarkerSize / 2;
        const QPoint c(at.x + half, at.y + half);
        p.setPen(Qt::NoPen);
        p.setBrush(Role(palette_, s.used ? PaletteRole::SelectedLeg : PaletteRole::Lost));
        p.drawEllipse(c, half - 1, half - 1);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Role(palette_, PaletteRole::Outline), 2));
        p.drawEllipse(c, half - 1, half - 1);
        p.setPen(Role(palette_, s.used ? PaletteRole::Outline : PaletteRole::WhiteFill));
        p.drawText(QRect(at.x - 4, at.y, kSatelliteMarkerSize + 8, kSatelliteMarkerSize),
                   Qt::AlignCenter, QString::fromStdString(SatelliteLabel(s.system, s.prn)));
    }
}

bool TPaintSatelliteChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        for (int m = markers_ - 1; m >= 0; --m) {
            const PixelXY at = placed_[static_cast<std::size_t>(m)];
            if (QRect(at.x, at.y, kSatelliteMarkerSize, kSatelliteMarkerSize)
                    .contains(help->pos())) {
                const ais::SatelliteEntry& s =
                    set_.satellite(markerSatellite_[static_cast<std::size_t>(m)]);
                QToolTip::showText(help->globalPos(),
                                   QStringLiteral("%1 PRN %2\nAzimuth %3\nElevation %4")
                                       .arg(QString::fromLatin1(ais::GnssSystemName(s.system)))
                                       .arg(s.prn)
                                       .arg(s.azimuth)
                                       .arg(s.elevation),
                                   this);
                return true;
            }
        }
        QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

// ---- Signal bars --------------------------------------------------------------------------

TSignalBars::TSignalBars(const SatelliteSet& set, const ChartPalette& palette, QWidget* parent)
    : QWidget(parent), set_(set), palette_(palette) {
    setObjectName(QStringLiteral("ChartSignal"));
    setMinimumSize(240, 200);
}

void TSignalBars::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Role(palette_, PaletteRole::DialogBackground));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(10);
    p.setFont(font);
    // Labels wider than their bar ("R65", "C12" of a receiver with many
    // satellites) go on two staggered rows instead of running together.
    const int n = set_.size();
    const QFontMetrics metrics(font);
    int widest = 0;
    for (int i = 0; i < n; ++i) {
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(
                                      SatelliteLabel(set_.bar(i).system, set_.bar(i).prn))));
    }
    const int plotWidth = width() - 36;
    const bool stagger = n > 0 && widest + 2 > std::max(plotWidth / n, 4);
    const QRect plot = rect().adjusted(30, 16, -6, stagger ? -30 : -18);
    p.setPen(Role(palette_, PaletteRole::Outline));
    p.drawText(QRect(0, 0, 40, 14), Qt::AlignLeft, QStringLiteral("(dB)"));
    p.drawLine(plot.bottomLeft(), plot.topLeft());
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    for (int db = 0; db <= kSignalAxisMaxDb; db += 10) {
        const int y = plot.bottom() - db * plot.height() / kSignalAxisMaxDb;
        p.drawLine(plot.left() - 3, y, plot.left(), y);
        p.drawText(QRect(0, y - 7, plot.left() - 4, 14), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(db));
    }
    if (n == 0) return;
    const int slot = std::max(plot.width() / n, 4);
    for (int i = 0; i < n; ++i) {
        const SignalBar& bar = set_.bar(i);
        const int h = std::min(bar.snr, kSignalAxisMaxDb) * plot.height() / kSignalAxisMaxDb;
        const QRect r(plot.left() + i * slot + 2, plot.bottom() - h, slot - 4, h);
        p.fillRect(r, Role(palette_, bar.used ? PaletteRole::SelectedLeg : PaletteRole::Lost));
        p.setPen(Role(palette_, PaletteRole::Outline));
        p.drawText(QRect(r.left() - 4, r.top() - 13, slot, 12), Qt::AlignHCenter,
                   QString::number(bar.snr));
        const int row = stagger && i % 2 == 1 ? 12 : 0;
        p.drawText(QRect(plot.left() + i * slot - 8, plot.bottom() + 2 + row, slot + 16, 14),
                   Qt::AlignHCenter, QString::fromStdString(SatelliteLabel(bar.system, bar.prn)));
    }
}

// ---- The window ---------------------------------------------------------------------------

TfrmGpsStatus::TfrmGpsStatus(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmGpsStatus"));
    setWindowTitle(QStringLiteral("GPS Satellite View"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientWidth, kClientHeight);
    auto* layout = new QVBoxLayout(this);
    auto* fieldsGrid = new QGridLayout;
    static const char* kTitles[6] = {"UTC",      "Latitude", "Longitude",
                                     "Fix Mode", "No. SV",   "Altitude"};
    static const char* kNames[6] = {"lblEdtUtc",     "lblEdtLat",  "lblEdtLon",
                                    "lblEdtFixMode", "lblEdtNoSv", "lblEdtAltitude"};
    for (int i = 0; i < 6; ++i) {
        titles_[static_cast<std::size_t>(i)] = new QLabel(QString::fromLatin1(kTitles[i]), this);
        auto* field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(kNames[i]));
        field->setReadOnly(true);
        fields_[static_cast<std::size_t>(i)] = field;
        fieldsGrid->addWidget(titles_[static_cast<std::size_t>(i)], i / 3 * 2, i % 3);
        fieldsGrid->addWidget(field, i / 3 * 2 + 1, i % 3);
    }
    layout->addLayout(fieldsGrid);
    auto* row = new QHBoxLayout;
    bars_ = new TSignalBars(set_, palette_, this);
    sky_ = new TPaintSatelliteChart(set_, palette_, this);
    row->addWidget(bars_, 1);
    row->addWidget(sky_, 0, Qt::AlignTop);
    layout->addLayout(row, 1);
}

void TfrmGpsStatus::setTexts(const QString& caption, const std::array<QString, 6>& titles) {
    setWindowTitle(caption);
    for (std::size_t i = 0; i < titles.size(); ++i)
        titles_[i]->setText(titles[i]);
}

void TfrmGpsStatus::setScheme(const ChartPalette& palette) {
    palette_ = palette;
    QPalette p = this->palette();
    p.setColor(QPalette::Window, ToQColor(palette_[PaletteRole::DialogBackground]));
    setPalette(p);
    setAutoFillBackground(true);
    update();
    bars_->update();
    sky_->update();
}

void TfrmGpsStatus::showWindow(std::span<const ais::SatelliteEntry> satellites) {
    show();
    raise();
    if (!satellites.empty()) rebuildSatellites(satellites);
}

void TfrmGpsStatus::setTime(const QString& utc) {
    fields_[0]->setText(utc);
}

void TfrmGpsStatus::setPosition(const ais::GnssFixData& fix) {
    const ais::LonLatTexts texts = ais::FormatLonLatPair(fix.longitude, fix.latitude, 2);
    fields_[1]->setText(QString::fromUtf8(texts.latitude.c_str()));
    fields_[2]->setText(QString::fromUtf8(texts.longitude.c_str()));
    fields_[3]->setText(QString::fromStdString(FixModeText(fix.fixType, fix.valid)));
    fields_[4]->setText(
        QString::fromStdString(SatelliteCountText(fix.satellitesUsed, fix.satellitesInView)));
    fields_[5]->setText(QString::fromStdString(AltitudeText(fix.altitude)));
}

void TfrmGpsStatus::rebuildSatellites(std::span<const ais::SatelliteEntry> satellites) {
    set_.rebuild(satellites);
    sky_->placeMarkers();
    bars_->update();
}

QString TfrmGpsStatus::fieldText(int field) const {
    if (field < 0 || field >= 6) return {};
    return fields_[static_cast<std::size_t>(field)]->text();
}

}  // namespace norq::chart
