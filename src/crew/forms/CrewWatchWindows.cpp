#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <ctime>

#include "crew/forms/CrewWatchForms.h"
#include "ui/GridPalette.h"

namespace norq::crew {

using base::TextId;

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The C library's asctime form of the local time, without its line feed.
QString AscTime(std::int64_t unixSeconds) {
    const std::time_t t = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
    localtime_r(&t, &local);
    char buf[32] = {};
    asctime_r(&local, buf);
    QString text = QString::fromLatin1(buf);
    return text.trimmed();
}

constexpr int kEventColumns = 9;
// A little wider than the classic grid: coordinates and IDs are shown whole.
constexpr std::array<int, kEventColumns> kEventWidths = {32, 170, 90, 110, 76, 96, 96, 110, 110};
constexpr std::array<TextId, kEventColumns> kEventTitles = {
    TextId::MobEventNo,   TextId::MobEventTime,     TextId::MobEventId,
    TextId::MobEventName, TextId::MobEventEvent,    TextId::MobEventLon,
    TextId::MobEventLat,  TextId::MobEventZoneName, TextId::MobEventZoneDevId};

// An arrow of the rescue guide, dark or lit.
QPixmap Arrow(GuideArrow direction, bool lit) {
    QPixmap pixmap(34, 34);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(20, 20, 20));
    p.setBrush(lit ? QColor(0xFF, 0x30, 0x20) : QColor(0x55, 0x55, 0x55));
    QPolygonF shape;
    switch (direction) {
        case GuideArrow::Left:
            shape << QPointF(3, 17) << QPointF(20, 4) << QPointF(20, 30);
            break;
        case GuideArrow::Up:
            shape << QPointF(17, 3) << QPointF(30, 20) << QPointF(4, 20);
            break;
        case GuideArrow::Right:
            shape << QPointF(31, 17) << QPointF(14, 4) << QPointF(14, 30);
            break;
    }
    p.drawPolygon(shape);
    return pixmap;
}

}  // namespace

// ---- TfrmMobEventLog -----------------------------------------------------

TfrmMobEventLog::TfrmMobEventLog(const base::TextStore& texts, const CrewWatch& watch,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), texts_(texts), watch_(watch) {
    setObjectName(QStringLiteral("frmMobEventLog"));
    auto* layout = new QVBoxLayout(this);
    grid_ = new QTableWidget(1, kEventColumns, this);
    grid_->setObjectName(QStringLiteral("StringGridMOBEvent"));
    grid_->verticalHeader()->hide();
    grid_->setWordWrap(false);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int c = 0; c < kEventColumns; ++c)
        grid_->setColumnWidth(c, kEventWidths[static_cast<std::size_t>(c)]);
    grid_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(grid_);
    resize(940, 380);
    retranslate();
}

void TfrmMobEventLog::retranslate() {
    setWindowTitle(Q(texts_.text(TextId::MobEventMobEventLog)));
    for (int c = 0; c < kEventColumns; ++c) {
        grid_->setHorizontalHeaderItem(
            c, new QTableWidgetItem(Q(texts_.text(kEventTitles[static_cast<std::size_t>(c)]))));
    }
}

void TfrmMobEventLog::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ShowCrewEvents();
}

void TfrmMobEventLog::ShowCrewEvents() {
    const CrewEventLog& log = watch_.events();
    // The grid grows as needed and never shrinks; the newest event is row 1.
    if (grid_->rowCount() < log.count()) grid_->setRowCount(log.count());
    const ui::GridPalette palette;
    for (int n = 0; n < log.count(); ++n) {
        const CrewEvent& e = log.newest(n);
        const std::array<QString, kEventColumns> cells = {
            QString::number(n + 1),
            AscTime(e.time),
            e.isGps() ? QStringLiteral("-----------") : Q(e.deviceId.text()),
            e.isGps() ? QStringLiteral("GPS") : Q(e.name),
            QString::fromLatin1(CrewEventName(e.type).data(),
                                static_cast<int>(CrewEventName(e.type).size())),
            Q(CrewLongitudeText(e.longitude)),
            Q(CrewLatitudeText(e.latitude)),
            Q(e.zoneName),
            Q(e.zoneIdText)};
        for (int c = 0; c < kEventColumns; ++c) {
            auto* item = new QTableWidgetItem(cells[static_cast<std::size_t>(c)]);
            item->setBackground(n % 2 == 0 ? palette.whiteFill : palette.panel);
            grid_->setItem(n, c, item);
        }
    }
}

// ---- TfrmMobRescueGuide --------------------------------------------------

TfrmMobRescueGuide::TfrmMobRescueGuide(const base::TextStore& texts, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      texts_(texts) {
    setObjectName(QStringLiteral("frmMobRescueGuide"));
    setAttribute(Qt::WA_TranslucentBackground);
    const auto label = [this](const char* name, int size = 0, bool bold = false) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        QFont f = l->font();
        if (size > 0) f.setPointSize(size);
        f.setBold(bold);
        l->setFont(f);
        l->setStyleSheet(QStringLiteral("color: #f0f0f0;"));
        return l;
    };
    lblDevID_ = label("lblDevID");
    lblName_ = label("lblName", 13, true);
    lblStatus_ = label("lblStatus", 13, true);
    lblStatus_->setStyleSheet(QStringLiteral("color: #ff4030;"));
    lblLon_ = label("lblLon");
    lblLat_ = label("lblLat");
    labelRange_ = label("labelRange");
    lblEdtMobRange_ = label("lblEdtMobRange", 15, true);
    labelBearing_ = label("labelBearing");
    lblEdtMobBearing_ = label("lblEdtMobBearing", 15, true);
    labelZone_ = label("labelZone");
    lblRptName_ = label("lblRptName");
    lblRptDevID_ = label("lblRptDevID");
    labelSince_ = label("labelSince");
    lblEdtMobLostTime_ = label("lblEdtMobLostTime", 0, true);
    labelElapsed_ = label("labelElapsed");
    lblEdtLostTimeTotal_ = label("lblEdtLostTimeTotal", 0, true);
    lblMobDirection_ = label("lblMobDirection", 14, true);
    const std::array<const char*, 3> arrowNames = {"ImageLeft", "ImageUp", "ImageRight"};
    for (std::size_t i = 0; i < arrows_.size(); ++i)
        arrows_[i] = label(arrowNames[i]);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 14, 16, 14);
    grid->addWidget(lblName_, 0, 0, 1, 2);
    grid->addWidget(lblDevID_, 0, 2, 1, 2, Qt::AlignRight);
    grid->addWidget(lblStatus_, 1, 0, 1, 2);
    auto* position = new QVBoxLayout;
    position->addWidget(lblLat_);
    position->addWidget(lblLon_);
    grid->addLayout(position, 1, 2, 1, 2, Qt::AlignRight);
    grid->addWidget(labelRange_, 2, 0);
    grid->addWidget(lblEdtMobRange_, 2, 1);
    grid->addWidget(labelBearing_, 2, 2);
    grid->addWidget(lblEdtMobBearing_, 2, 3);
    auto* arrowsRow = new QHBoxLayout;
    arrowsRow->addStretch(1);
    arrowsRow->addWidget(arrows_[0]);
    arrowsRow->addWidget(arrows_[1]);
    arrowsRow->addWidget(arrows_[2]);
    arrowsRow->addSpacing(8);
    arrowsRow->addWidget(lblMobDirection_);
    arrowsRow->addStretch(1);
    grid->addLayout(arrowsRow, 3, 0, 1, 4);
    grid->addWidget(labelZone_, 4, 0);
    grid->addWidget(lblRptName_, 4, 1);
    grid->addWidget(lblRptDevID_, 4, 2, 1, 2);
    grid->addWidget(labelSince_, 5, 0);
    grid->addWidget(lblEdtMobLostTime_, 5, 1);
    grid->addWidget(labelElapsed_, 5, 2);
    grid->addWidget(lblEdtLostTimeTotal_, 5, 3);
    retranslate();
}

void TfrmMobRescueGuide::retranslate() {
    labelRange_->setText(Q(texts_.text(TextId::MobAlarmRange)));
    labelBearing_->setText(Q(texts_.text(TextId::MobAlarmBearing)));
    labelZone_->setText(Q(texts_.text(TextId::MobAlarmNearestRpt)));
    labelSince_->setText(Q(texts_.text(TextId::MobAlarmSince)));
    labelElapsed_->setText(Q(texts_.text(TextId::MobAlarmTotal)));
    labelElapsed_->setText(Q(texts_.text(TextId::MobAlarmElapsed)));
}

void TfrmMobRescueGuide::ShowRescueGuide(const RescueGuide& g) {
    lblDevID_->setText(Q(g.deviceId));
    lblName_->setText(Q(g.name));
    lblStatus_->setText(Q(g.status));
    lblLon_->setText(Q(g.longitude));
    lblLat_->setText(Q(g.latitude));
    lblEdtMobRange_->setText(Q(g.range));
    lblEdtMobBearing_->setText(Q(g.bearing));
    lblRptName_->setText(Q(g.zoneName));
    lblRptDevID_->setText(Q(g.zoneId));
    lblEdtMobLostTime_->setText(Q(g.alarmTime));
    lblEdtLostTimeTotal_->setText(Q(g.elapsed));
    for (QLabel* a : arrows_)
        a->setVisible(g.arrowsShown);
    lblMobDirection_->setVisible(g.arrowsShown);
    if (g.arrowsShown) {
        const std::array<GuideArrow, 3> order = {GuideArrow::Left, GuideArrow::Up,
                                                 GuideArrow::Right};
        for (std::size_t i = 0; i < arrows_.size(); ++i)
            arrows_[i]->setPixmap(Arrow(order[i], order[i] == g.blinking && g.lit));
        lblMobDirection_->setText(Q(g.angle));
    }
    adjustSize();
}

QString TfrmMobRescueGuide::rangeText() const {
    return lblEdtMobRange_->text();
}
QString TfrmMobRescueGuide::bearingText() const {
    return lblEdtMobBearing_->text();
}
QString TfrmMobRescueGuide::angleText() const {
    return lblMobDirection_->text();
}

void TfrmMobRescueGuide::paintEvent(QPaintEvent*) {
    // The instrument panel: a dark rounded plate with a thin rim.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 2));
    p.setBrush(QColor(0x1E, 0x26, 0x30, 235));
    p.drawRoundedRect(rect().adjusted(1, 1, -1, -1), 12, 12);
}

void TfrmMobRescueGuide::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* steer = menu.addAction(Q(texts_.text(TextId::PopupMenuAddDestination)));
    if (menu.exec(event->globalPos()) == steer) Q_EMIT steerRequested();
}

void TfrmMobRescueGuide::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) dragOffset_ = event->globalPosition().toPoint() - pos();
}

void TfrmMobRescueGuide::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) move(event->globalPosition().toPoint() - dragOffset_);
}

// ---- TfrmAlarmPopup ------------------------------------------------------

TfrmAlarmPopup::TfrmAlarmPopup(const base::TextStore& texts, const CrewWatch& watch,
                               QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), texts_(texts), watch_(watch) {
    setObjectName(QStringLiteral("frmAlarmPopup"));
    auto* layout = new QVBoxLayout(this);
    lblAlramTextMsg_ = new QLabel(this);
    lblAlramTextMsg_->setObjectName(QStringLiteral("lblAlramTextMsg"));
    QFont big = lblAlramTextMsg_->font();
    big.setPointSize(22);
    big.setBold(true);
    lblAlramTextMsg_->setFont(big);
    lblAlramTextMsg_->setStyleSheet(QStringLiteral("color: red;"));
    lblAlramTextMsg_->setAlignment(Qt::AlignCenter);
    lblAlramTextNote_ = new QLabel(this);
    lblAlramTextNote_->setObjectName(QStringLiteral("lblAlramTextNote"));
    lblAlramTextNote_->setAlignment(Qt::AlignCenter);
    groupBoxMobAlarmList_ = new QGroupBox(this);
    groupBoxMobAlarmList_->setObjectName(QStringLiteral("GroupBoxMobAlarmList"));
    auto* boxLayout = new QVBoxLayout(groupBoxMobAlarmList_);
    listBoxAlarm_ = new QListWidget(groupBoxMobAlarmList_);
    listBoxAlarm_->setObjectName(QStringLiteral("ListBoxAlarm"));
    boxLayout->addWidget(listBoxAlarm_);
    btnOk_ = new QPushButton(this);
    btnOk_->setObjectName(QStringLiteral("btnOK"));
    connect(btnOk_, &QPushButton::clicked, this, &TfrmAlarmPopup::onOk);
    layout->addWidget(lblAlramTextMsg_);
    layout->addWidget(lblAlramTextNote_);
    layout->addWidget(groupBoxMobAlarmList_);
    layout->addWidget(btnOk_, 0, Qt::AlignCenter);
    timer1_ = new QTimer(this);
    timer1_->setInterval(1000);
    connect(timer1_, &QTimer::timeout, this, &TfrmAlarmPopup::Timer1Timer);
    resize(360, 300);
    retranslate();
}

void TfrmAlarmPopup::retranslate() {
    lblAlramTextMsg_->setText(Q(texts_.text(TextId::MobAlarmPopupAlarmMsg)));
    lblAlramTextNote_->setText(Q(texts_.text(TextId::MobAlarmPopupSpecialAssistanceNeeded)));
    groupBoxMobAlarmList_->setTitle(Q(texts_.text(TextId::MobAlarmPopupMobList)));
    btnOk_->setText(Q(texts_.text(TextId::MobAlarmPopupOk)));
    setWindowTitle(Q(texts_.text(TextId::MobAlarmPopupAlarmMsg)));
}

void TfrmAlarmPopup::showPopup() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    tag_ = 0;
    lblAlramTextMsg_->setVisible(true);
    fillList();
    show();
    raise();
    timer1_->start();
}

void TfrmAlarmPopup::fillList() {
    listBoxAlarm_->clear();
    const CrewAlarmList& alarms = watch_.alarms();
    for (int i = 0; i < alarms.count() && i < 4; ++i) {
        const std::string_view name = watch_.table().nameOf(alarms[i].deviceId);
        listBoxAlarm_->addItem(name.empty() ? Q(alarms[i].deviceId.text()) : Q(std::string(name)));
    }
}

void TfrmAlarmPopup::Timer1Timer() {
    tag_ = (tag_ + 1) % 10;
    lblAlramTextMsg_->setVisible(tag_ % 2 == 0);
    fillList();
}

void TfrmAlarmPopup::onOk() {
    timer1_->stop();
    close();
}

bool TfrmAlarmPopup::alertTextShown() const {
    return !lblAlramTextMsg_->isHidden();
}

}  // namespace norq::crew
