#include "comm/forms/SourceHealthForm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

namespace norq::comm {

namespace {

using base::TextId;

enum Column { Link, State, Rate, LastLine, Checksum, Framing, Fragments, LastError, Columns };

constexpr std::array<TextId, Columns> kHeaders{
    TextId::SourceHealthLink,      TextId::SourceHealthState,    TextId::SourceHealthRate,
    TextId::SourceHealthLastLine,  TextId::SourceHealthChecksum, TextId::SourceHealthFraming,
    TextId::SourceHealthFragments, TextId::SourceHealthLastError};
constexpr std::array<TextId, kSensorCount> kLinks{
    TextId::SourceHealthAisLink, TextId::SourceHealthGnssLink, TextId::SourceHealthCrewLink};
constexpr std::array<const char*, kSensorCount> kShortNames{"AIS", "GNSS", "MOB"};

QColor LevelColour(HealthLevel level) {
    switch (level) {
        case HealthLevel::Good:
            return {0, 128, 0};
        case HealthLevel::Doubtful:
            return {176, 112, 0};
        case HealthLevel::Bad:
            return {200, 0, 0};
        case HealthLevel::Off:
            break;
    }
    return {96, 96, 96};
}

QString RateText(double perSecond) {
    return QString::number(perSecond, 'f', 1);
}

}  // namespace

HealthSummary SourceHealthSummary(const TSysSensorControl& control) {
    HealthSummary summary;
    QStringList parts;
    for (int s = 0; s < kSensorCount; ++s) {
        const ais::HealthFigures f = control.sourceHealth(s).figures();
        const HealthLevel level = LevelOf(control.linkHealth(s), f);
        if (level == HealthLevel::Off) continue;
        parts << QStringLiteral("%1 %2/s").arg(QLatin1String(kShortNames[s]),
                                               RateText(f.sentencesPerSecond));
        summary.worst = std::max(summary.worst, level);
    }
    summary.text = parts.join(QStringLiteral("  "));
    return summary;
}

TfrmSourceHealth::TfrmSourceHealth(const TSysSensorControl& control, const base::TextStore& texts,
                                   QWidget* parent)
    : QDialog(parent), control_(control), texts_(texts) {
    setObjectName(QStringLiteral("frmSourceHealth"));
    grid_ = new QTableWidget(kSensorCount, Columns, this);
    grid_->setObjectName(QStringLiteral("gridSourceHealth"));
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setWordWrap(false);
    for (int row = 0; row < kSensorCount; ++row) {
        for (int column = 0; column < Columns; ++column)
            grid_->setItem(row, column, new QTableWidgetItem);
    }
    btnClose_ = new QPushButton(this);
    btnClose_->setObjectName(QStringLiteral("btnClose"));
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(buttons);
    resize(1100, 190);
    retranslate();
}

QString TfrmSourceHealth::text(TextId id) const {
    return QString::fromStdString(texts_.text(id));
}

void TfrmSourceHealth::retranslate() {
    setWindowTitle(text(TextId::SourceHealthCaption));
    QStringList headers;
    for (TextId id : kHeaders)
        headers << text(id);
    grid_->setHorizontalHeaderLabels(headers);
    for (int row = 0; row < kSensorCount; ++row)
        setCell(row, Link, text(kLinks[static_cast<std::size_t>(row)]));
    btnClose_->setText(text(TextId::SourceHealthClose));
    refresh();
}

QString TfrmSourceHealth::stateText(LinkHealth health) const {
    switch (health) {
        case LinkHealth::Off:
            return text(TextId::SourceHealthOff);
        case LinkHealth::Opening:
            return text(TextId::SourceHealthOpening);
        case LinkHealth::Receiving:
            return text(TextId::SourceHealthReceiving);
        case LinkHealth::Silent:
            return text(TextId::SourceHealthSilent);
        case LinkHealth::Lost:
            return text(TextId::SourceHealthLost);
        case LinkHealth::Reconnecting:
            return text(TextId::SourceHealthReconnecting);
    }
    return {};
}

QString TfrmSourceHealth::errorText(const ais::HealthError& error) const {
    TextId id = TextId::SourceHealthNoError;
    switch (error.event) {
        case ais::HealthEvent::None:
            return text(TextId::SourceHealthNoError);
        case ais::HealthEvent::Checksum:
            id = TextId::SourceHealthChecksumError;
            break;
        case ais::HealthEvent::Framing:
            id = TextId::SourceHealthFramingError;
            break;
        case ais::HealthEvent::TooLong:
            id = TextId::SourceHealthTooLong;
            break;
        case ais::HealthEvent::FragmentsLost:
            id = TextId::SourceHealthFragmentsLost;
            break;
        case ais::HealthEvent::LinkClosed:
            id = TextId::SourceHealthLinkClosed;
            break;
    }
    QString result = text(id) + QStringLiteral(", ") +
                     text(TextId::SourceHealthSecondsAgo)
                         .replace(QStringLiteral("%d"), QString::number(error.secondsAgo));
    const std::string_view sample = error.sampleText();
    if (!sample.empty()) {
        result += QStringLiteral(": ") +
                  QString::fromLatin1(sample.data(), static_cast<qsizetype>(sample.size()));
    }
    return result;
}

void TfrmSourceHealth::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    refresh();
    // Sized to what the cells hold now; the last error takes what is left.
    for (int column = 0; column < LastError; ++column)
        grid_->resizeColumnToContents(column);
}

void TfrmSourceHealth::setCell(int row, int column, const QString& value) {
    QTableWidgetItem* item = grid_->item(row, column);
    if (item->text() != value) item->setText(value);
}

void TfrmSourceHealth::refresh() {
    if (!isVisible()) return;
    for (int s = 0; s < kSensorCount; ++s) {
        const LinkHealth link = control_.linkHealth(s);
        const ais::HealthFigures f = control_.sourceHealth(s).figures();
        const QColor colour = LevelColour(LevelOf(link, f));
        QTableWidgetItem* state = grid_->item(s, State);
        if (state->foreground().color() != colour) state->setForeground(colour);
        setCell(s, State, stateText(link));
        const bool heard = f.lastLineSeconds >= 0;
        setCell(s, Rate, heard ? RateText(f.sentencesPerSecond) : QString());
        setCell(s, LastLine,
                heard ? text(TextId::SourceHealthSecondsAgo)
                            .replace(QStringLiteral("%d"), QString::number(f.lastLineSeconds))
                      : text(TextId::SourceHealthNever));
        setCell(s, Checksum, QString::number(f.checksumPerMinute));
        setCell(s, Framing, QString::number(f.framingPerMinute));
        setCell(s, Fragments,
                QStringLiteral("%1 (%2)")
                    .arg(f.fragmentsLostPerMinute)
                    .arg(static_cast<qulonglong>(f.fragmentsLost)));
        setCell(s, LastError, errorText(f.lastError));
    }
}

}  // namespace norq::comm
