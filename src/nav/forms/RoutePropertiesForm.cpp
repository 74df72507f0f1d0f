#include "nav/forms/RoutePropertiesForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ais/TargetTexts.h"
#include "nav/forms/NavFormTexts.h"

namespace norq::nav {

namespace {
using base::TextId;
constexpr int kColumns = 6;

QLabel* Value(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setFrameShape(QFrame::StyledPanel);
    label->setMinimumWidth(160);
    return label;
}
}  // namespace

TfrmRouteProperties::TfrmRouteProperties(const base::TextStore& texts, QWidget* parent)
    : QDialog(parent), texts_(texts) {
    setObjectName(QStringLiteral("frmRouteProperties"));
    auto* fields = new QGridLayout;
    auto addRow = [&](int row, QLabel*& label, QWidget* field, QWidget* extra = nullptr) {
        label = new QLabel(this);
        fields->addWidget(label, row, 0);
        fields->addWidget(field, row, 1);
        if (extra != nullptr) fields->addWidget(extra, row, 2);
    };
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxLength(static_cast<int>(kRouteTextLimit));
        return e;
    };
    edtName_ = edit("edtName");
    edtDepart_ = edit("edtDepart");
    edtDestination_ = edit("edtDestination");
    edtSpeed_ = new QLineEdit(this);
    edtSpeed_->setObjectName(QStringLiteral("edtPlanSpeed"));
    edtSpeed_->setMaximumWidth(80);
    auto* speedRow = new QWidget(this);
    auto* speedLayout = new QHBoxLayout(speedRow);
    speedLayout->setContentsMargins(0, 0, 0, 0);
    lblKnots_ = new QLabel(speedRow);
    btnCal_ = new QPushButton(speedRow);
    btnCal_->setObjectName(QStringLiteral("btnCal"));
    speedLayout->addWidget(edtSpeed_);
    speedLayout->addWidget(lblKnots_);
    speedLayout->addWidget(btnCal_);
    speedLayout->addStretch();
    valCreated_ = Value(this);
    valTotal_ = Value(this);
    valTotal_->setObjectName(QStringLiteral("lblTotalDistance"));
    valTime_ = Value(this);
    valTime_->setObjectName(QStringLiteral("lblRouteTime"));
    addRow(0, lblName_, edtName_);
    addRow(1, lblDepart_, edtDepart_);
    addRow(2, lblDestination_, edtDestination_);
    addRow(3, lblSpeed_, speedRow);
    addRow(4, lblCreated_, valCreated_);
    addRow(5, lblTotal_, valTotal_);
    addRow(6, lblTime_, valTime_);

    grid_ = new QTableWidget(0, kColumns, this);
    grid_->setObjectName(QStringLiteral("StringGridWaypoints"));
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setAlternatingRowColors(true);
    grid_->horizontalHeader()->setStretchLastSection(true);
    const int widths[kColumns] = {36, 110, 110, 90, 80, 110};
    for (int c = 0; c < kColumns; ++c)
        grid_->setColumnWidth(c, widths[c]);

    btnOk_ = new QPushButton(this);
    btnOk_->setObjectName(QStringLiteral("btnOk"));
    btnOk_->setDefault(true);
    btnCancel_ = new QPushButton(this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnManager_ = new QPushButton(this);
    btnManager_->setObjectName(QStringLiteral("btnRouteManager"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnManager_);
    buttons->addStretch();
    buttons->addWidget(btnOk_);
    buttons->addWidget(btnCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    resize(600, 460);

    // Digits and one decimal point.
    edtSpeed_->setValidator(new TypingRule(
        [](const std::string& t) { return FilterPlanSpeed(std::string(), t) == t; }, edtSpeed_));
    connect(btnCal_, &QPushButton::clicked, this, &TfrmRouteProperties::calculate);
    connect(btnOk_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnManager_, &QPushButton::clicked, this, [this] {
        reject();
        Q_EMIT managerRequested();
    });
    retranslate();
}

void TfrmRouteProperties::retranslate() {
    setWindowTitle(Tx(texts_, TextId::RoutePropertiesRouteProperties));
    lblName_->setText(Tx(texts_, TextId::RoutePropertiesName));
    lblDepart_->setText(Tx(texts_, TextId::RoutePropertiesDepart));
    lblDestination_->setText(Tx(texts_, TextId::RoutePropertiesDestination));
    lblSpeed_->setText(Tx(texts_, TextId::RoutePropertiesPlanSpeed));
    lblKnots_->setText(Tx(texts_, TextId::RoutePropertiesKnots));
    btnCal_->setText(Tx(texts_, TextId::RoutePropertiesCal));
    lblCreated_->setText(Tx(texts_, TextId::RoutePropertiesCreatedTime));
    lblTotal_->setText(Tx(texts_, TextId::RoutePropertiesTotalDistance));
    lblTime_->setText(Tx(texts_, TextId::RoutePropertiesRouteTime));
    btnOk_->setText(Tx(texts_, TextId::RoutePropertiesOk));
    btnCancel_->setText(Tx(texts_, TextId::RoutePropertiesCancel));
    btnManager_->setText(Tx(texts_, TextId::RoutePropertiesRouteManager));
    grid_->setHorizontalHeaderLabels(
        {Tx(texts_, TextId::RoutePropertiesNo), Tx(texts_, TextId::RoutePropertiesLat),
         Tx(texts_, TextId::RoutePropertiesLon), Tx(texts_, TextId::RoutePropertiesDistance),
         Tx(texts_, TextId::RoutePropertiesBearing), Tx(texts_, TextId::RoutePropertiesLegTime)});
}

void TfrmRouteProperties::showRoute(const Route& route) {
    route_ = route;
    edtName_->setText(Utf8(route.name));
    edtDepart_->setText(Utf8(route.depart));
    edtDestination_->setText(Utf8(route.destination));
    if (edtSpeed_->text().isEmpty()) edtSpeed_->setText(QStringLiteral("5"));
    valCreated_->setText(QLatin1Char(' ') + Utf8(route.createdTime));
    valTotal_->setText(QString::asprintf(" %.2f nm", route.totalDistance()));
    grid_->setRowCount(static_cast<int>(route.waypoints.size()));
    int row = 0;
    for (const Waypoint& w : route.waypoints) {
        const ais::LonLatTexts pos = ais::FormatLonLatPair(w.longitude, w.latitude, 2);
        const QString cells[kColumns - 1] = {
            QString::number(row + 1), Utf8(pos.latitude.view()), Utf8(pos.longitude.view()),
            QString::asprintf("%.2f nm", static_cast<double>(w.legDistance)),
            QString::asprintf("%.1f", static_cast<double>(w.legBearing)) + Utf8(ais::kDegreeSign)};
        for (int c = 0; c < kColumns - 1; ++c)
            grid_->setItem(row, c, new QTableWidgetItem(cells[c]));
        ++row;
    }
    calculate();
}

void TfrmRouteProperties::calculate() {
    const std::string speedText = edtSpeed_->text().toStdString();
    // An empty, zero or lone-point speed counts as 5 kn: never a division by zero.
    const double speed = PlanSpeedKnots(speedText);
    const std::string hour = texts_.text(base::TextId::NavManagerRouteHour);
    const std::string minute = texts_.text(base::TextId::NavManagerRouteMinute);
    valTime_->setText(
        Utf8(FormatRouteTime(RouteTimeSeconds(route_.totalDistance(), speed), hour, minute)));
    for (int row = 0; row < grid_->rowCount(); ++row) {
        const Waypoint& w = route_.waypoints[static_cast<std::size_t>(row)];
        const QString text =
            row == 0 ? Tx(texts_, TextId::RoutePropertiesStart)
                     : Utf8(FormatRouteTime(RouteTimeSeconds(w.legDistance, speed), hour, minute));
        grid_->setItem(row, kColumns - 1, new QTableWidgetItem(text));
    }
}

QString TfrmRouteProperties::name() const {
    return edtName_->text();
}
QString TfrmRouteProperties::depart() const {
    return edtDepart_->text();
}
QString TfrmRouteProperties::destination() const {
    return edtDestination_->text();
}
QString TfrmRouteProperties::routeTimeText() const {
    return valTime_->text();
}
QString TfrmRouteProperties::totalDistanceText() const {
    return valTotal_->text();
}

}  // namespace norq::nav
