#include "messaging/forms/RegionForms.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <algorithm>

namespace norq::messaging {

namespace {

using base::TextId;

QString Text(const base::TextStore& texts, TextId id) {
    return QString::fromStdString(texts.text(id));
}

constexpr std::array<int, 6> kRegionColumnWidths{25, 155, 155, 50, 50, 130};

CivilDate FromQDate(const QDate& d) {
    return {d.year(), d.month(), d.day()};
}

int MinuteOf(const QTime& t) {
    return t.hour() * 60 + t.minute();
}

QString DateText(const CivilDate& d) {
    return QString::asprintf("%04d/%02d/%02d", d.year, d.month, d.day);
}

}  // namespace

// ---- Region list ---------------------------------------------------------------

TfrmRegionList::TfrmRegionList(const base::TextStore& texts, ChannelRegionList& regions,
                               std::function<std::string()> updateTime, QWidget* parent)
    : QDialog(parent), texts_(texts), regions_(regions), updateTime_(std::move(updateTime)) {
    setObjectName(QStringLiteral("frmRegionList"));
    grid_ = new QTableWidget(1, 6, this);
    grid_->setObjectName(QStringLiteral("StringGridRegionList"));
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int c = 0; c < 6; ++c)
        grid_->setColumnWidth(c, kRegionColumnWidths[static_cast<std::size_t>(c)]);
    btnRemove_ = new QPushButton(this);
    btnRemove_->setObjectName(QStringLiteral("spbRemove"));
    btnClose_ = new QPushButton(this);
    btnClose_->setObjectName(QStringLiteral("spbClose"));
    btnTest_ = new QPushButton(QStringLiteral("Button1"), this);
    btnTest_->setObjectName(QStringLiteral("Button1"));
    connect(btnRemove_, &QPushButton::clicked, this, &TfrmRegionList::onRemove);
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::close);
    connect(btnTest_, &QPushButton::clicked, this, &TfrmRegionList::onTestRegion);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnTest_);
    buttons->addStretch(1);
    buttons->addWidget(btnRemove_);
    buttons->addWidget(btnClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    resize(600, 300);
    retranslate();
}

void TfrmRegionList::retranslate() {
    setWindowTitle(Text(texts_, TextId::RegionListCaption));
    grid_->setHorizontalHeaderLabels(
        {Text(texts_, TextId::RegionListNo), Text(texts_, TextId::RegionListAmbitA),
         Text(texts_, TextId::RegionListAmbitB), Text(texts_, TextId::RegionListCh1),
         Text(texts_, TextId::RegionListCh2), Text(texts_, TextId::RegionListUpdateTime)});
    btnRemove_->setText(Text(texts_, TextId::RegionListRemove));
    btnClose_->setText(Text(texts_, TextId::RegionListClose));
}

void TfrmRegionList::setDegree(std::string degree) {
    degree_ = std::move(degree);
    refresh();
}

void TfrmRegionList::AddChannelRegion(const ais::ChannelRegion& region) {
    if (regions_.AddChannelRegion(region, updateTime_ ? updateTime_() : std::string())) refresh();
}

void TfrmRegionList::refresh() {
    grid_->clearContents();
    grid_->setRowCount(regions_.rowCount());
    for (int row = 0; row < regions_.count(); ++row) {
        const RegionRowTexts texts = RegionRow(regions_[row], row, degree_);
        for (int c = 0; c < 6; ++c) {
            grid_->setItem(row, c,
                           new QTableWidgetItem(
                               QString::fromStdString(texts.cells[static_cast<std::size_t>(c)])));
        }
    }
}

void TfrmRegionList::onRemove() {
    const int row = regions_.count() <= 1 ? 0 : grid_->currentRow();
    if (regions_.remove(row)) refresh();
}

void TfrmRegionList::onTestRegion() {
    const double shift = testPresses_++;
    AddChannelRegion(
        {119.970703 + shift, 25.502785 + shift, 121.333008 + shift, 21.779905 + shift, 8000, 9000});
}

// ---- Chart -----------------------------------------------------------------------

TrafficChart::TrafficChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ChartTrafficStatistics"));
    setMinimumSize(400, 220);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void TrafficChart::setPoints(std::vector<InquiryPoint> points) {
    points_ = std::move(points);
    update();
}

void TrafficChart::setBars(bool bars) {
    bars_ = bars;
    update();
}

void TrafficChart::setMarks(bool marks) {
    marks_ = marks;
    update();
}

void TrafficChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect plot = rect().adjusted(44, 12, -12, -44);
    int top = 10;
    for (const InquiryPoint& point : points_)
        top = std::max<int>(top, point.count);
    top = (top + 9) / 10 * 10;
    drawAxes(p, plot, top);
    drawSeries(p, plot, top);
}

void TrafficChart::drawAxes(QPainter& p, const QRect& plot, int top) const {
    p.setPen(palette().color(QPalette::Text));
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    p.drawLine(plot.bottomLeft(), plot.topLeft());
    for (int i = 0; i <= 5; ++i) {
        const int y = plot.bottom() - plot.height() * i / 5;
        p.drawLine(plot.left() - 4, y, plot.left(), y);
        p.drawText(QRect(0, y - 8, plot.left() - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(top * i / 5));
    }
    const int n = static_cast<int>(points_.size());
    if (n == 0) return;
    const int step = std::max(1, n * 100 / std::max(1, plot.width()));
    for (int i = 0; i < n; i += step) {
        const int x = plot.left() + (2 * i + 1) * plot.width() / (2 * n);
        p.drawText(QRect(x - 40, plot.bottom() + 4, 80, 16), Qt::AlignCenter,
                   QString::fromStdString(points_[static_cast<std::size_t>(i)].label));
    }
}

void TrafficChart::drawSeries(QPainter& p, const QRect& plot, int top) const {
    const int n = static_cast<int>(points_.size());
    if (n == 0) return;
    const double slot = static_cast<double>(plot.width()) / n;
    auto yOf = [&](int count) { return plot.bottom() - plot.height() * count / double(top); };
    QPolygonF line;
    for (int i = 0; i < n; ++i) {
        const InquiryPoint& point = points_[static_cast<std::size_t>(i)];
        const double x = plot.left() + slot * i;
        const double y = yOf(point.count);
        if (bars_) {
            const QColor colour = point.colour == BarColour::Green ? QColor(Qt::green)
                                  : point.colour == BarColour::Red ? QColor(Qt::red)
                                                                   : QColor(Qt::blue);
            p.fillRect(QRectF(x + slot * 0.15, y, slot * 0.7, plot.bottom() - y), colour);
        } else {
            line << QPointF(x + slot / 2, y);
        }
        if (marks_) {
            p.setPen(palette().color(QPalette::Text));
            p.drawText(QRectF(x, y - 16, slot, 14), Qt::AlignCenter, QString::number(point.count));
        }
    }
    if (!bars_) {
        p.setPen(QPen(QColor(0, 128, 0), 2));
        p.drawPolyline(line);
    }
}

// ---- Traffic statistics window ---------------------------------------------------

TfrmTrafficFlowStatistics::TfrmTrafficFlowStatistics(const base::TextStore& texts,
                                                     std::string folder, QWidget* parent)
    : QDialog(parent), texts_(texts), folder_(std::move(folder)) {
    setObjectName(QStringLiteral("frmTrafficFlowStatistics"));
    auto makeDate = [this](const char* name) {
        auto* edit = new QDateEdit(QDate::currentDate(), this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        edit->setCalendarPopup(true);
        return edit;
    };
    auto makeTime = [this](const char* name, QTime time) {
        auto* edit = new QTimeEdit(time, this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setDisplayFormat(QStringLiteral("HH:mm"));
        return edit;
    };
    from_ = makeDate("DateTimePicker_From");
    fromTime_ = makeTime("DateTimePicker_FromTime", QTime(0, 0));
    to_ = makeDate("DateTimePicker_To");
    toTime_ = makeTime("DateTimePicker_ToTime", QTime(23, 59));
    interval_ = new QSpinBox(this);
    interval_->setObjectName(QStringLiteral("CSpinEditInterval"));
    interval_->setRange(5, 60);
    interval_->setSingleStep(5);
    interval_->setValue(15);
    btnInquire_ = new QPushButton(this);
    btnInquire_->setObjectName(QStringLiteral("btnInquire"));
    auto* series = new QGroupBox(this);
    series->setObjectName(QStringLiteral("RadioGroupChartSeriesType"));
    rbBar_ = new QRadioButton(series);
    rbLine_ = new QRadioButton(series);
    rbBar_->setChecked(true);
    auto* seriesLayout = new QHBoxLayout(series);
    seriesLayout->addWidget(rbBar_);
    seriesLayout->addWidget(rbLine_);
    cbxShowMarker_ = new QCheckBox(this);
    cbxShowMarker_->setObjectName(QStringLiteral("cbxShowMarker"));
    lblFrom_ = new QLabel(this);
    lblTo_ = new QLabel(this);
    lblInterval_ = new QLabel(this);
    lblSeriesType_ = new QLabel(this);
    lblNote_ = new QLabel(this);
    lblNote_->setObjectName(QStringLiteral("lblNote"));
    lblNote_->setWordWrap(true);
    chart_ = new TrafficChart(this);

    auto* pickers = new QGridLayout;
    pickers->addWidget(lblFrom_, 0, 0);
    pickers->addWidget(from_, 0, 1);
    pickers->addWidget(fromTime_, 0, 2);
    pickers->addWidget(lblInterval_, 0, 3);
    pickers->addWidget(interval_, 0, 4);
    pickers->addWidget(lblSeriesType_, 0, 5);
    pickers->addWidget(series, 0, 6, 2, 1);
    pickers->addWidget(lblTo_, 1, 0);
    pickers->addWidget(to_, 1, 1);
    pickers->addWidget(toTime_, 1, 2);
    pickers->addWidget(btnInquire_, 1, 3, 1, 2);
    pickers->addWidget(cbxShowMarker_, 1, 5);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pickers);
    layout->addWidget(chart_, 1);
    layout->addWidget(lblNote_);
    connect(btnInquire_, &QPushButton::clicked, this,
            &TfrmTrafficFlowStatistics::ShowTrafficStatistics);
    connect(rbBar_, &QRadioButton::toggled, this, [this] { applySeriesChoice(); });
    connect(cbxShowMarker_, &QCheckBox::toggled, this, [this] { applySeriesChoice(); });
    resize(760, 420);
    retranslate();
}

void TfrmTrafficFlowStatistics::retranslate() {
    setWindowTitle(Text(texts_, TextId::TrafficStatisticsCaption));
    lblFrom_->setText(Text(texts_, TextId::TrafficStatisticsFrom));
    lblTo_->setText(Text(texts_, TextId::TrafficStatisticsTo));
    lblInterval_->setText(Text(texts_, TextId::TrafficStatisticsInterval));
    lblSeriesType_->setText(Text(texts_, TextId::TrafficStatisticsSeriesType));
    btnInquire_->setText(Text(texts_, TextId::TrafficStatisticsInquire));
    rbBar_->setText(Text(texts_, TextId::TrafficStatisticsBarSeries));
    rbLine_->setText(Text(texts_, TextId::TrafficStatisticsLineSeries));
    cbxShowMarker_->setText(Text(texts_, TextId::TrafficStatisticsShowMarker));
}

void TfrmTrafficFlowStatistics::setPeriod(const CivilDate& from, int fromMinute,
                                          const CivilDate& to, int toMinute, int interval) {
    from_->setDate(QDate(from.year, from.month, from.day));
    fromTime_->setTime(QTime(fromMinute / 60, fromMinute % 60));
    to_->setDate(QDate(to.year, to.month, to.day));
    toTime_->setTime(QTime(toMinute / 60, toMinute % 60));
    interval_->setValue(interval);
}

void TfrmTrafficFlowStatistics::ShowTrafficStatistics() {
    InquiryRequest request;
    request.from = FromQDate(from_->date());
    request.fromMinute = MinuteOf(fromTime_->time());
    request.to = FromQDate(to_->date());
    request.toMinute = MinuteOf(toTime_->time());
    request.interval = interval_->value();
    InquiryResult result = messaging::ShowTrafficStatistics(request, FolderDayReader(folder_));
    chart_->setPoints(std::move(result.points));
    applySeriesChoice();
    if (result.stop == CountFileStatus::Ok) {
        lblNote_->clear();
        return;
    }
    const TextId id = result.stop == CountFileStatus::Missing ? TextId::TrafficStatisticsDayMissing
                                                              : TextId::TrafficStatisticsDayDamaged;
    lblNote_->setText(Text(texts_, id) + QLatin1Char(' ') + DateText(result.stopDate));
}

void TfrmTrafficFlowStatistics::applySeriesChoice() {
    chart_->setBars(rbBar_->isChecked());
    chart_->setMarks(cbxShowMarker_->isChecked());
}

}  // namespace norq::messaging
