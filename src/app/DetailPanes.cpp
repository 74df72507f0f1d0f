#include "app/DetailPanes.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>

#include "app/ElidingField.h"

namespace norq::app {

namespace {

// Captions of the GPS pane (section GPS).
constexpr std::array<ais::LanguageText, 6> kGpsCaptions{{
    {"GPS", "GPS_UTC", "UTC"},
    {"GPS", "GPS_LAT", "Latitude"},
    {"GPS", "GPS_LON", "Longitude"},
    {"GPS", "GPS_FIXMODE", "Fix Mode"},
    {"GPS", "GPS_NOSV", "No. SV"},
    {"GPS", "GPS_ALTITUDE", "Altitude"},
}};
constexpr std::array<const char*, 6> kGpsComponents{"lblEdtGpsUtc",        "lblEdtGpsLatitude",
                                                    "lblEdtGpsLongitude",  "lblEdtGpsFixMode",
                                                    "lblEdtGpsSatellites", "lblEdtGpsAltitude"};

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString CatalogueText(const TextStore& texts, const ais::LanguageText& text) {
    if (text.key != nullptr) {
        for (const CatalogueEntry& entry : LanguageCatalogue()) {
            if (entry.section == text.section && entry.key == text.key) {
                return QString::fromStdString(texts.text(entry.id));
            }
        }
    }
    return QString::fromUtf8(text.builtIn);
}

DetailPanes::DetailPanes(const TextStore& texts, QWidget* parent) : texts_(texts) {
    dynamic_ = makePage(parent, "TabDynamic");
    for (const ais::FieldCaption& c : ais::kDynamicFieldCaptions)
        addRow(dynamic_, c.component, c.text);
    // The country of the MMSI sits beside the MMSI field.
    country_ = new ElidingField(dynamic_);
    country_->setObjectName(QStringLiteral("EdtMMSINational"));
    country_->setFocusPolicy(Qt::ClickFocus);
    auto* grid = static_cast<QGridLayout*>(dynamic_->layout());
    grid->removeWidget(rows_[0].field);
    grid->addWidget(rows_[0].field, 0, 1);
    grid->addWidget(country_, 0, 2);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 3);

    static_ = makePage(parent, "TabRegistry");
    for (const ais::FieldCaption& c : ais::kStaticFieldCaptions)
        addRow(static_, c.component, c.text);

    aton_ = makePage(parent, "TabAtonDetail");
    for (const ais::FieldCaption& c : ais::kAtonFieldCaptions) {
        if (std::string_view(c.component) == "ButtonAtonDetail") continue;
        addRow(aton_, c.component, c.text);
    }
    atonDetail_ = new QPushButton(aton_);
    atonDetail_->setObjectName(QStringLiteral("ButtonAtonDetail"));
    atonDetail_->hide();  // hidden in the shipped layout
    static_cast<QGridLayout*>(aton_->layout())->addWidget(atonDetail_, 12, 1);

    gps_ = makePage(parent, "TabGpsDetail");
    for (std::size_t i = 0; i < kGpsCaptions.size(); ++i)
        addRow(gps_, kGpsComponents[i], kGpsCaptions[i]);
    retranslate();
}

QWidget* DetailPanes::makePage(QWidget* parent, const char* name) {
    auto* page = new QWidget(parent);
    page->setObjectName(QString::fromLatin1(name));
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(1, 1);
    return page;
}

QLineEdit* DetailPanes::addRow(QWidget* page, const char* component,
                               const ais::LanguageText& text) {
    auto* grid = static_cast<QGridLayout*>(page->layout());
    const int row = grid->rowCount() == 1 && grid->count() == 0 ? 0 : grid->rowCount();
    auto* caption = new QLabel(page);
    auto* field = new QLineEdit(page);
    field->setObjectName(QString::fromLatin1(component));
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    grid->addWidget(caption, row, 0);
    // Fields take the whole width; only the MMSI shares its row (with the country).
    grid->addWidget(field, row, 1, 1, 2);
    rows_.push_back({caption, field, text});
    return field;
}

void DetailPanes::retranslate() {
    for (Row& row : rows_)
        row.caption->setText(CatalogueText(texts_, row.text));
    atonDetail_->setText(QString::fromStdString(texts_.text(TextId::DetailAtonDetail)));
}

void DetailPanes::set(QLineEdit* field, const QString& text) {
    if (field->text() != text) {
        field->setText(text);
        field->setCursorPosition(0);
    }
}

void DetailPanes::set(QLineEdit* field, std::string_view text) {
    set(field, ToQString(text));
}

void DetailPanes::showDynamic(const ais::DynamicDetailTexts& t) {
    const std::array<const ais::CellText*, 14> values{
        &t.mmsi, &t.navStatus, &t.rateOfTurn,       &t.heading,    &t.sog,
        &t.cog,  &t.longitude, &t.latitude,         &t.range,      &t.bearing,
        &t.cpa,  &t.tcpa,      &t.positionAccuracy, &t.receiveTime};
    for (std::size_t i = 0; i < values.size(); ++i)
        set(rows_[i].field, values[i]->view());
    country_->setFullText(ToQString(t.country.view()));
}

void DetailPanes::showStatic(const ais::StaticDetailTexts& t) {
    const std::size_t first = ais::kDynamicFieldCaptions.size();
    const std::array<const ais::CellText*, 13> values{
        &t.imo,  &t.callSign, &t.name,      &t.shipType, &t.cargo, &t.destination, &t.eta,
        &t.epfs, &t.draught,  &t.dimension, &t.length,   &t.beam,  &t.receiveTime};
    for (std::size_t i = 0; i < values.size(); ++i)
        set(rows_[first + i].field, values[i]->view());
}

void DetailPanes::showAton(const ais::AtonDetailTexts& t) {
    const std::size_t first = ais::kDynamicFieldCaptions.size() + ais::kStaticFieldCaptions.size();
    // The type field shows the aid type with whether the aid is real or virtual.
    ais::CellText type = t.aidType;
    type.append(" (").append(t.realVirtual.view()).append(")");
    const std::array<const ais::CellText*, 11> values{
        &t.mmsi, &t.status,           &t.light,     &type,       &t.name, &t.dimension,
        &t.epfs, &t.positionAccuracy, &t.longitude, &t.latitude, &t.racon};
    for (std::size_t i = 0; i < values.size(); ++i)
        set(rows_[first + i].field, values[i]->view());
}

void DetailPanes::showOwnShip(const QString& lon, const QString& lat, const QString& sog,
                              const QString& cog) {
    set(rows_[4].field, sog);
    set(rows_[5].field, cog);
    set(rows_[6].field, lon);
    set(rows_[7].field, lat);
}

void DetailPanes::showGps(const QString& utc, const QString& lat, const QString& lon,
                          const QString& fixMode, const QString& satellites,
                          const QString& altitude) {
    const std::size_t first = rows_.size() - kGpsCaptions.size();
    const std::array<const QString*, 6> values{&utc, &lat, &lon, &fixMode, &satellites, &altitude};
    for (std::size_t i = 0; i < values.size(); ++i)
        set(rows_[first + i].field, *values[i]);
}

void DetailPanes::showUtc(const QString& utc) {
    set(rows_[rows_.size() - kGpsCaptions.size()].field, utc);
}

QString DetailPanes::fieldText(const QString& component) const {
    if (component == country_->objectName()) return country_->fullText();
    for (const Row& row : rows_) {
        if (row.field->objectName() == component) return row.field->text();
    }
    return {};
}

}  // namespace norq::app
