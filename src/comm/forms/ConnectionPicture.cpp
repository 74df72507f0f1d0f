#include "comm/forms/ConnectionPicture.h"

#include <QPainter>
#include <QPainterPath>

namespace norq::comm {

namespace {

const QColor kOutline(0x37, 0x47, 0x4f);
const QColor kScreen(0x4f, 0x8f, 0xc0);
const QColor kDeviceBody(0xe8, 0xea, 0xec);
const QColor kIdleDot(0xc4, 0xc9, 0xcc);
const QColor kActiveDot(0xf0, 0x8c, 0x00);
const QColor kConnected(0x2e, 0x9e, 0x4f);
const QColor kSilent(0xf9, 0xa8, 0x25);
const QColor kLost(0xe5, 0x39, 0x35);

void DrawComputer(QPainter& p, const QRectF& r) {
    const QRectF monitor(r.left(), r.top(), r.width(), r.height() * 0.72);
    p.setPen(QPen(kOutline, 2));
    p.setBrush(kDeviceBody);
    p.drawRoundedRect(monitor, 4, 4);
    p.setBrush(kScreen);
    p.setPen(Qt::NoPen);
    p.drawRect(monitor.adjusted(5, 5, -5, -5));
    p.setPen(QPen(kOutline, 2));
    const double cx = r.center().x();
    p.drawLine(QPointF(cx, monitor.bottom()), QPointF(cx, r.bottom() - 3));
    p.drawLine(QPointF(cx - r.width() * 0.25, r.bottom() - 2),
               QPointF(cx + r.width() * 0.25, r.bottom() - 2));
}

void DrawDevice(QPainter& p, const QRectF& r) {
    // A transponder box with its display and an antenna.
    const QRectF body(r.left(), r.top() + r.height() * 0.3, r.width(), r.height() * 0.7);
    p.setPen(QPen(kOutline, 2));
    p.setBrush(kDeviceBody);
    p.drawRoundedRect(body, 4, 4);
    p.setBrush(QColor(0x26, 0x32, 0x38));
    p.drawRect(QRectF(body.left() + 6, body.top() + 6, body.width() * 0.55, body.height() - 12));
    p.setBrush(kActiveDot);
    p.drawEllipse(QPointF(body.right() - 10, body.top() + 10), 3, 3);
    const double ax = body.right() - body.width() * 0.2;
    p.drawLine(QPointF(ax, body.top()), QPointF(ax, r.top()));
    p.drawLine(QPointF(ax - 6, r.top() + 4), QPointF(ax + 6, r.top() + 4));
}

}  // namespace

int ConnectionPicture::FrameFor(LinkHealth health, int usual) {
    switch (health) {
        case LinkHealth::Silent:
            return kSilentFrame;
        case LinkHealth::Lost:
        case LinkHealth::Reconnecting:
            return kLostFrame;
        default:
            return usual;
    }
}

ConnectionPicture::ConnectionPicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("imgConnection"));
    setMinimumSize(240, 70);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ConnectionPicture::setFrame(int frame) {
    if (frame == frame_) return;
    frame_ = frame;
    update();
}

void ConnectionPicture::setDeviceName(const QString& name) {
    deviceName_ = name;
    update();
}

void ConnectionPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double h = height() - 18.0;
    const double w = h * 1.15;
    const double left = width() / 2.0 - 130;
    const QRectF computer(left, 4, w, h);
    const QRectF device(width() / 2.0 + 130 - w, 4, w, h);
    DrawComputer(p, computer);
    DrawDevice(p, device);

    const double y = 4 + h * 0.55;
    const double x0 = computer.right() + 14;
    const double x1 = device.left() - 14;
    if (frame_ == 1) {
        p.setPen(QPen(kConnected, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x0, y), QPointF(x1, y));
    } else if (frame_ == kSilentFrame) {
        p.setPen(QPen(kSilent, 4, Qt::DashLine, Qt::RoundCap));
        p.drawLine(QPointF(x0, y), QPointF(x1, y));
    } else if (frame_ == kLostFrame) {
        const double mid = (x0 + x1) / 2;
        p.setPen(QPen(kLost, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x0, y), QPointF(mid - 14, y));
        p.drawLine(QPointF(mid + 14, y), QPointF(x1, y));
        p.drawLine(QPointF(mid - 6, y - 8), QPointF(mid + 6, y + 8));
        p.drawLine(QPointF(mid + 6, y - 8), QPointF(mid - 6, y + 8));
    } else {
        const int dots = 6;
        for (int i = 0; i < dots; ++i) {
            const double x = x0 + (x1 - x0) * i / (dots - 1);
            const bool lit = frame_ >= 2 && frame_ - 2 == i;
            p.setPen(Qt::NoPen);
            p.setBrush(lit ? kActiveDot : kIdleDot);
            p.drawEllipse(QPointF(x, y), lit ? 5.5 : 4.0, lit ? 5.5 : 4.0);
        }
    }
    p.setPen(palette().color(QPalette::WindowText));
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(device.left() - 20, device.bottom(), device.width() + 40, 16),
               Qt::AlignHCenter | Qt::AlignTop, deviceName_);
}

}  // namespace norq::comm
