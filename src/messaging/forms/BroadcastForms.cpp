#include "messaging/forms/BroadcastForms.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace norq::messaging {

using base::TextId;

namespace {

QLineEdit* Edit(QWidget* parent, const char* name, const QString& value) {
    auto* e = new QLineEdit(value, parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

std::uint32_t Number(const QLineEdit* e, std::uint32_t hi) {
    bool ok = false;
    const double v = e->text().trimmed().toDouble(&ok);
    if (!ok || !(v >= 0)) return 0;
    return static_cast<std::uint32_t>(std::min<double>(std::trunc(v), hi));
}

}  // namespace

TfrmBinaryMsgAppData::TfrmBinaryMsgAppData(const base::TextStore& texts,
                                           BinaryMessageSender& sender, QWidget* parent)
    : QDialog(parent), texts_(texts), sender_(sender) {
    setObjectName(QStringLiteral("frmBinaryMsgAppData"));
    setWindowTitle(text(TextId::BroadcastAppDataCaption));
    pages_ = new QTabWidget(this);
    pages_->addTab(buildTxPage(), text(TextId::BroadcastTxPage));
    pages_->addTab(buildCheckPage(), text(TextId::BroadcastCheckPage));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    resize(560, 560);
}

QString TfrmBinaryMsgAppData::text(TextId id) const {
    return QString::fromStdString(texts_.text(id));
}

QWidget* TfrmBinaryMsgAppData::buildTxPage() {
    auto* page = new QWidget(pages_);
    page->setObjectName(QStringLiteral("TabSheet_TxBinAppData"));
    // Times of a broadcast are UTC, as the receivers read them.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    cBoxFi_ = new QComboBox(page);
    cBoxFi_->setObjectName(QStringLiteral("CBoxFI"));
    cBoxFi_->addItems({QStringLiteral("22"), QStringLiteral("27")});
    shape_ = new QComboBox(page);
    shape_->setObjectName(QStringLiteral("CBox_FI22_AreaShape"));
    shape_->addItems({text(TextId::BroadcastShapeCircle), text(TextId::BroadcastShapePolyline),
                      text(TextId::BroadcastShapePolygon), text(TextId::BroadcastShapeCancel)});
    linkId_ = Edit(page, "LEdit_FI22_LinkID", QStringLiteral("1"));
    notice_ = Edit(page, "LEdit_FI22_NoticeSes", QStringLiteral("0"));
    month_ = Edit(page, "LEdit_Mon", QString::number(now.date().month()));
    day_ = Edit(page, "LEdit_Day", QString::number(now.date().day()));
    hour_ = Edit(page, "LEdit_Hour", QString::number(now.time().hour()));
    minute_ = Edit(page, "LEdit_Min", QString::number(now.time().minute()));
    duration_ = Edit(page, "LEdit_Duration", QStringLiteral("262143"));
    radius_ = Edit(page, "LEdit_FI22_Radius", QStringLiteral("1"));
    pointCount_ = new QSpinBox(page);
    pointCount_->setObjectName(QStringLiteral("CBox_PointNumber"));
    pointCount_->setRange(1, kMaxCorners);
    points_ = new QTableWidget(0, 2, page);
    points_->setObjectName(QStringLiteral("StringGrid_Area_GPSpoint"));
    points_->setHorizontalHeaderLabels(
        {text(TextId::BroadcastLongitude), text(TextId::BroadcastLatitude)});
    points_->horizontalHeader()->setStretchLastSection(true);
    connect(pointCount_, &QSpinBox::valueChanged, this, [this](int n) { setPointRows(n); });
    pointCount_->setValue(3);

    auto* when = new QHBoxLayout;
    for (QLineEdit* e : {month_, day_, hour_, minute_})
        when->addWidget(e);
    auto* form = new QFormLayout;
    form->addRow(text(TextId::BroadcastFi), cBoxFi_);
    form->addRow(text(TextId::BroadcastAreaShape), shape_);
    form->addRow(text(TextId::BroadcastLinkId), linkId_);
    form->addRow(text(TextId::BroadcastNotice), notice_);
    form->addRow(text(TextId::BroadcastStartUtc), when);
    form->addRow(text(TextId::BroadcastDuration), duration_);
    form->addRow(text(TextId::BroadcastRadius), radius_);
    form->addRow(text(TextId::BroadcastPoints), pointCount_);
    auto* send = new QPushButton(text(TextId::BroadcastSend), page);
    send->setObjectName(QStringLiteral("SButton_FI22_Send"));
    connect(send, &QPushButton::clicked, this, &TfrmBinaryMsgAppData::onSend);
    memo1_ = new QPlainTextEdit(page);
    memo1_->setObjectName(QStringLiteral("Memo1"));
    memo1_->setReadOnly(true);
    memo1_->setMaximumHeight(90);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addWidget(points_);
    layout->addWidget(send);
    layout->addWidget(memo1_);
    return page;
}

QWidget* TfrmBinaryMsgAppData::buildCheckPage() {
    auto* page = new QWidget(pages_);
    page->setObjectName(QStringLiteral("TabSheet_CheckTxInfo"));
    checkInfo_ = new QLabel(page);
    checkInfo_->setObjectName(QStringLiteral("lblCheckTxInfo"));
    checkGrid_ = new QTableWidget(0, 4, page);
    checkGrid_->setObjectName(QStringLiteral("strGridBinWPInfo"));
    checkGrid_->setHorizontalHeaderLabels(
        {text(TextId::BroadcastLatitude), text(TextId::BroadcastLongitude),
         text(TextId::BroadcastDistance), text(TextId::BroadcastBearing)});
    cbBoxTxChannel_ = new QComboBox(page);
    cbBoxTxChannel_->setObjectName(QStringLiteral("cbBoxTxChannel"));
    cbBoxTxChannel_->addItems({QStringLiteral("Defalt"), QStringLiteral("0 (Channel A)"),
                               QStringLiteral("1 (Channel B)")});
    auto* buttons = new QDialogButtonBox(page);
    buttons->addButton(text(TextId::BroadcastOk), QDialogButtonBox::AcceptRole);
    buttons->addButton(text(TextId::BroadcastCancel), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* row = new QFormLayout;
    row->addRow(text(TextId::BroadcastChannel), cbBoxTxChannel_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(checkInfo_);
    layout->addWidget(checkGrid_);
    layout->addLayout(row);
    layout->addWidget(buttons);
    return page;
}

void TfrmBinaryMsgAppData::setPointRows(int rows) {
    const int old = points_->rowCount();
    points_->setRowCount(rows);
    for (int r = old; r < rows; ++r) {
        points_->setItem(r, 0, new QTableWidgetItem(QString::number(121.5 + 0.01 * r, 'f', 5)));
        points_->setItem(r, 1,
                         new QTableWidgetItem(QString::number(25.1 + 0.004 * (r % 2), 'f', 5)));
    }
}

NoticeHeader TfrmBinaryMsgAppData::typedHeader() const {
    NoticeHeader h;
    h.linkageId = static_cast<std::uint16_t>(Number(linkId_, 1023));
    h.noticeDescription = static_cast<std::uint8_t>(Number(notice_, 127));
    h.month = static_cast<std::uint8_t>(Number(month_, 15));
    h.day = static_cast<std::uint8_t>(Number(day_, 31));
    h.hour = static_cast<std::uint8_t>(Number(hour_, 31));
    h.minute = static_cast<std::uint8_t>(Number(minute_, 63));
    h.duration = Number(duration_, kDefaultDuration);
    return h;
}

std::vector<Corner> TfrmBinaryMsgAppData::typedPoints() const {
    std::vector<Corner> out;
    for (int r = 0; r < points_->rowCount(); ++r) {
        bool okLon = false, okLat = false;
        const double lon = points_->item(r, 0) ? points_->item(r, 0)->text().toDouble(&okLon) : 0;
        const double lat = points_->item(r, 1) ? points_->item(r, 1)->text().toDouble(&okLat) : 0;
        if (okLon && okLat) out.push_back({lon, lat});
    }
    return out;
}

void TfrmBinaryMsgAppData::onSend() {
    const NoticeHeader h = typedHeader();
    const std::vector<Corner> points = typedPoints();
    const int channel = cbBoxTxChannel_->currentIndex();
    if (cBoxFi_->currentIndex() == 1) {
        if (points.empty()) return report(false);
        return report(sender_.Send(BuildRoute(h, 1, 1, points), channel));
    }
    NoticeSeries series;
    switch (shape_->currentIndex()) {
        case 0:
            if (!points.empty()) {
                series = BuildCircleNotice(h, points[0], radius_->text().toDouble());
            }
            break;
        case 1:
        case 2:
            series = BuildShapeNotice(
                h, shape_->currentIndex() == 1 ? AreaShape::Polyline : AreaShape::Polygon, points);
            break;
        default:
            series = BuildCancelNotice(h);
    }
    if (!series.error.empty()) memo1_->appendPlainText(QString::fromStdString(series.error));
    if (series.count == 0) {
        memo1_->appendPlainText(text(TextId::BroadcastNotBuilt));
        return;
    }
    report(sender_.Send(series, channel));
}

void TfrmBinaryMsgAppData::report(bool sent) {
    memo1_->appendPlainText(sent ? text(TextId::BroadcastSent).arg(sender_.sentencesSent())
                                 : text(TextId::BroadcastPortFailed));
}

void TfrmBinaryMsgAppData::fillCheckPage(const Fairway& f) {
    QString info = text(TextId::BroadcastLinkId) +
                   QStringLiteral(": %1   FI: %2\n").arg(f.linkageId).arg(f.fi);
    info += text(TextId::BroadcastStartUtc) + QStringLiteral(": %1/%2 %3:%4\n")
                                                  .arg(f.month)
                                                  .arg(f.day)
                                                  .arg(f.hour, 2, 10, QLatin1Char('0'))
                                                  .arg(f.minute, 2, 10, QLatin1Char('0'));
    info += text(TextId::BroadcastDuration) + QStringLiteral(": %1\n").arg(f.duration);
    if (f.fi == 22) {
        info += text(TextId::BroadcastAreaShape) + QStringLiteral(": ") +
                FairwayShapeName(texts_, f) + QStringLiteral("\n");
        info += text(TextId::BroadcastNotice) + QStringLiteral(": ") +
                FairwayNoticeName(texts_, f.noticeDescription) + QStringLiteral("\n");
        const QString radius = f.areaShape == 0 && f.waypoints.size() > 1
                                   ? QString::number(f.waypoints[1].legMetres, 'f', 0)
                                   : QStringLiteral("N/A");
        info += text(TextId::BroadcastRadius) + QStringLiteral(": ") + radius;
    } else {
        info += text(TextId::BroadcastMandatory);
    }
    checkInfo_->setText(info);
    const int rows = static_cast<int>(std::min<std::size_t>(f.waypoints.size(), kMaxCorners));
    checkGrid_->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        const FairwayWaypoint& w = f.waypoints[static_cast<std::size_t>(r)];
        checkGrid_->setItem(r, 0, new QTableWidgetItem(QString::number(w.latitude, 'f', 5)));
        checkGrid_->setItem(r, 1, new QTableWidgetItem(QString::number(w.longitude, 'f', 5)));
        checkGrid_->setItem(
            r, 2, new QTableWidgetItem(QStringLiteral("%1 m").arg(w.legMetres, 0, 'f', 2)));
        checkGrid_->setItem(r, 3, new QTableWidgetItem(QString::number(w.bearing)));
    }
}

bool TfrmBinaryMsgAppData::confirmBroadcast(Fairway& f) {
    ComputeLegs(f);
    fillCheckPage(f);
    pages_->setCurrentIndex(1);
    if (exec() != QDialog::Accepted) return false;
    std::string error;
    const BroadcastResult r = BroadcastFairway(f, sender_, cbBoxTxChannel_->currentIndex(), error);
    if (r == BroadcastResult::Sent) return true;
    std::string shown =
        error.empty() ? texts_.text(r == BroadcastResult::NotBuilt ? TextId::BroadcastNotBuilt
                                                                   : TextId::BroadcastPortFailed)
                      : error;
    memo1_->appendPlainText(QString::fromStdString(shown));
    if (notify_) notify_(shown);
    return false;
}

}  // namespace norq::messaging
