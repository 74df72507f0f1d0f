#include <QButtonGroup>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

#include "messaging/forms/BroadcastForms.h"

namespace norq::messaging {

using base::TextId;

namespace {

QString Text(const base::TextStore& texts, TextId id) {
    return QString::fromStdString(texts.text(id));
}

constexpr std::array<int, 8> kDurations{60, 720, 1440, 4320, 10080, 20160, 43200, 129600};

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

}  // namespace

QString FairwayTypeName(const base::TextStore& texts, const Fairway& f) {
    return Text(texts, f.fi == 27 ? TextId::BroadcastTypeRoute : TextId::BroadcastTypeAreaNotice);
}

QString FairwayShapeName(const base::TextStore& texts, const Fairway& f) {
    if (f.fi == 27) return QStringLiteral("N/A");
    return Text(texts, f.areaShape == 0   ? TextId::BroadcastShapeCircle
                       : f.areaShape == 4 ? TextId::BroadcastShapePolygon
                                          : TextId::BroadcastShapePolyline);
}

QString FairwayNoticeName(const base::TextStore& texts, int notice) {
    return Text(texts, notice == kNoticeRecommendRoute ? TextId::BroadcastNoticeRecommend
                                                       : TextId::BroadcastNoticeClosed);
}

// ---- Setting Binary Message ------------------------------------------------

TfrmBinmsgFairwayCreation::TfrmBinmsgFairwayCreation(const base::TextStore& texts, QWidget* parent)
    : QDialog(parent), texts_(texts) {
    setObjectName(QStringLiteral("frmBinmsgFairwayCreation"));
    setWindowTitle(Text(texts, TextId::BroadcastCreationCaption));
    auto* type = new QGroupBox(Text(texts, TextId::BroadcastType), this);
    areaNotice_ = new QRadioButton(Text(texts, TextId::BroadcastAreaNotice), type);
    route_ = new QRadioButton(Text(texts, TextId::BroadcastRoute), type);
    auto* typeRow = new QHBoxLayout(type);
    typeRow->addWidget(areaNotice_);
    typeRow->addWidget(route_);
    auto* functions = new QGroupBox(Text(texts, TextId::BroadcastNotice), this);
    functions_ = new QButtonGroup(this);
    auto* column = new QVBoxLayout(functions);
    int id = 0;
    for (TextId t : {TextId::BroadcastClosedOutside, TextId::BroadcastClosedInside,
                     TextId::BroadcastOpenCircle}) {
        auto* b = new QRadioButton(Text(texts, t), functions);
        functions_->addButton(b, id++);
        column->addWidget(b);
    }
    functions_->button(0)->setChecked(true);
    connect(route_, &QRadioButton::toggled, functions, &QWidget::setDisabled);
    routes_ = new QComboBox(this);
    routes_->setObjectName(QStringLiteral("cbBoxFromRoute"));
    auto* from = new QFormLayout;
    from->addRow(Text(texts, TextId::BroadcastFromRoute), routes_);
    auto* start = Button(this, "btnStart", Text(texts, TextId::BroadcastStart));
    auto* cancel = Button(this, "btnCancel", Text(texts, TextId::BroadcastCancel));
    connect(start, &QPushButton::clicked, this, &TfrmBinmsgFairwayCreation::onStart);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(start);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(type);
    layout->addWidget(functions);
    layout->addLayout(from);
    layout->addLayout(buttons);
}

void TfrmBinmsgFairwayCreation::setRoutes(const std::vector<std::string>& names) {
    routes_->clear();
    for (const std::string& n : names)
        routes_->addItem(QString::fromStdString(n));
}

void TfrmBinmsgFairwayCreation::showEvent(QShowEvent* event) {
    areaNotice_->setChecked(true);
    QDialog::showEvent(event);
}

FairwayChoice TfrmBinmsgFairwayCreation::choice() const {
    FairwayChoice c;
    c.routeIndex = routes_->currentIndex();
    if (route_->isChecked()) {
        c.fi = 27;
        c.noticeDescription = kNoticeRecommendRoute;
        c.areaShape = 0;
        return c;
    }
    switch (functions_->checkedId()) {
        case 1:
            c.areaShape = 4;
            break;
        case 2:
            c.areaShape = 0;
            c.noticeDescription = kNoticeRecommendRoute;
            c.maxPoints = 2;
            break;
        default:
            c.areaShape = 3;
    }
    return c;
}

void TfrmBinmsgFairwayCreation::onStart() {
    const FairwayChoice c = choice();
    accept();
    if (onStart_) onStart_(c);
}

// ---- Fairway Properties ----------------------------------------------------

TfrmBinmsgFairwayProperties::TfrmBinmsgFairwayProperties(const base::TextStore& texts,
                                                         FairwayList& list, QWidget* parent)
    : QDialog(parent), texts_(texts), list_(list) {
    setObjectName(QStringLiteral("frmBinmsgFairwayProperties"));
    setWindowTitle(Text(texts, TextId::BroadcastPropertiesCaption));
    name_ = new QLineEdit(this);
    name_->setMaxLength(static_cast<int>(kFairwayNameLength));
    linkId_ = new QLineEdit(this);
    linkId_->setObjectName(QStringLiteral("edtLinkID"));
    idMark_ = new QLabel(this);
    idMark_->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    kind_ = new QLabel(this);
    start_ = new QDateTimeEdit(this);
    start_->setTimeSpec(Qt::UTC);
    start_->setDisplayFormat(QStringLiteral("yyyy/MM/dd HH:mm"));
    durationChoice_ = new QComboBox(this);
    durationChoice_->addItems(Text(texts, TextId::BroadcastDurations).split(QLatin1Char(',')));
    durationChoice_->addItem(Text(texts, TextId::BroadcastOther));
    duration_ = new QLineEdit(this);
    duration_->setObjectName(QStringLiteral("edtDuration"));
    strGridBinWaypointInfo_ = new QTableWidget(0, 5, this);
    strGridBinWaypointInfo_->setObjectName(QStringLiteral("strGridBinWaypointInfo"));
    strGridBinWaypointInfo_->setHorizontalHeaderLabels(
        {QStringLiteral("NO"), QStringLiteral("LAT"), QStringLiteral("LON"),
         QStringLiteral("DISTANCE"), QStringLiteral("BEARING")});
    auto* idRow = new QHBoxLayout;
    idRow->addWidget(linkId_);
    idRow->addWidget(idMark_);
    auto* durationRow = new QHBoxLayout;
    durationRow->addWidget(durationChoice_);
    durationRow->addWidget(duration_);
    auto* form = new QFormLayout;
    form->addRow(Text(texts, TextId::BroadcastName), name_);
    form->addRow(Text(texts, TextId::BroadcastLinkId), idRow);
    form->addRow(Text(texts, TextId::BroadcastType), kind_);
    form->addRow(Text(texts, TextId::BroadcastStartDate), start_);
    form->addRow(Text(texts, TextId::BroadcastDuration), durationRow);
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(Text(texts, TextId::BroadcastOk), QDialogButtonBox::AcceptRole);
    buttons->addButton(Text(texts, TextId::BroadcastCancel), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &TfrmBinmsgFairwayProperties::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(linkId_, &QLineEdit::textChanged, this, [this] { checkId(); });
    connect(duration_, &QLineEdit::textEdited, this,
            [this](const QString& t) { setDurationText(t); });
    connect(durationChoice_, &QComboBox::activated, this,
            &TfrmBinmsgFairwayProperties::onDurationChoice);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(strGridBinWaypointInfo_);
    layout->addWidget(buttons);
    resize(480, 440);
}

void TfrmBinmsgFairwayProperties::onDurationChoice(int item) {
    const bool other = item >= static_cast<int>(kDurations.size());
    duration_->setReadOnly(!other);
    duration_->setText(QString::number(other ? kFairwayMaxDuration : kDurations[item]));
    checkId();
}

void TfrmBinmsgFairwayProperties::setDurationText(const QString& minutes) {
    bool ok = false;
    const long long v = minutes.trimmed().toLongLong(&ok);
    if (ok && v > kFairwayMaxDuration)
        duration_->setText(QString::number(kFairwayMaxDuration));
    else if (ok && v < 1)
        duration_->setText(QStringLiteral("1"));
    else if (duration_->text() != minutes)
        duration_->setText(minutes);
    checkId();
}

QString TfrmBinmsgFairwayProperties::durationText() const {
    return duration_->text();
}

void TfrmBinmsgFairwayProperties::setLinkId(const QString& id) {
    linkId_->setText(id);
}

bool TfrmBinmsgFairwayProperties::okEnabled() const {
    return ok_->isEnabled();
}

void TfrmBinmsgFairwayProperties::checkId() {
    bool ok = false;
    const int id = linkId_->text().toInt(&ok);
    const bool valid = ok && list_.IdAvailable(id, isNew_ ? -1 : static_cast<int>(index_));
    idMark_->setText(valid ? QString() : QStringLiteral("X"));
    ok_->setEnabled(valid && !duration_->text().trimmed().isEmpty());
}

bool TfrmBinmsgFairwayProperties::edit(std::size_t index, bool isNew) {
    if (index >= list_.count()) return false;
    index_ = index;
    isNew_ = isNew;
    Fairway& f = list_[index];
    ComputeLegs(f);
    name_->setText(QString::fromStdString(f.name));
    kind_->setText(FairwayTypeName(texts_, f) + QStringLiteral(" / ") +
                   FairwayShapeName(texts_, f) + QStringLiteral(" / ") +
                   (f.fi == 27 ? Text(texts_, TextId::BroadcastMandatory)
                               : FairwayNoticeName(texts_, f.noticeDescription)));
    const QDateTime start(QDate(f.year, f.month, f.day), QTime(f.hour, f.minute), Qt::UTC);
    start_->setDateTime(start.isValid() ? start : QDateTime::currentDateTimeUtc());
    int item = static_cast<int>(kDurations.size());
    for (std::size_t i = 0; i < kDurations.size(); ++i) {
        if (kDurations[i] == f.duration) item = static_cast<int>(i);
    }
    durationChoice_->setCurrentIndex(item);
    duration_->setReadOnly(item < static_cast<int>(kDurations.size()));
    duration_->setText(QString::number(f.duration));
    linkId_->setText(QString::number(f.linkageId));
    const int rows = static_cast<int>(f.waypoints.size());
    strGridBinWaypointInfo_->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        const FairwayWaypoint& w = f.waypoints[static_cast<std::size_t>(r)];
        const QStringList cells{QString::number(r + 1), QString::number(w.latitude, 'f', 5),
                                QString::number(w.longitude, 'f', 5),
                                QStringLiteral("%1 m").arg(w.legMetres, 10, 'f', 2),
                                QString::number(w.bearing)};
        for (int c = 0; c < cells.size(); ++c) {
            strGridBinWaypointInfo_->setItem(r, c, new QTableWidgetItem(cells[c]));
        }
    }
    checkId();
    return exec() == QDialog::Accepted;
}

void TfrmBinmsgFairwayProperties::accept() {
    Fairway& f = list_[index_];
    if (!list_.SetLinkageId(index_, linkId_->text().toInt())) return checkId();
    f.name = name_->text().toStdString();
    const QDateTime start = start_->dateTime().toUTC();
    f.year = start.date().year();
    f.month = start.date().month();
    f.day = start.date().day();
    f.hour = start.time().hour();
    f.minute = start.time().minute();
    f.duration = std::clamp(duration_->text().toInt(), 1, kFairwayMaxDuration);
    QDialog::accept();
}

}  // namespace norq::messaging
