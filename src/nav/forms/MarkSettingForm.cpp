#include "nav/forms/MarkSettingForm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QValidator>

#include "nav/PositionEntry.h"
#include "ui/Dialogs.h"

namespace norq::nav {

namespace {

using base::TextId;

QString Text(const base::TextStore& texts, TextId id) {
    return QString::fromStdString(texts.text(id));
}

// Names that fit the record (22 bytes of UTF-8) and hold neither a comma nor a
// line break, which would split the marker's line in "Markers.csv".
class MarkerNameValidator final : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        const QByteArray utf8 = input.toUtf8();
        if (utf8.size() > kMarkerNameLength) return Invalid;
        return MarkerNameAcceptable(std::string_view(utf8.constData(), utf8.size())) ? Acceptable
                                                                                     : Invalid;
    }
};

QSpinBox* Spin(int maximum, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setRange(0, maximum);
    spin->setWrapping(false);
    return spin;
}

}  // namespace

TfrmMarkSetting::TfrmMarkSetting(const base::TextStore& texts, ui::Dialogs& dialogs,
                                 QWidget* parent)
    : QDialog(parent), texts_(texts), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmMarkSetting"));
    setModal(false);
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("edtMarkName"));
    name_->setValidator(new MarkerNameValidator(name_));
    latDeg_ = Spin(90, this);
    latMin_ = Spin(59, this);
    latSec_ = Spin(59, this);
    latHem_ = new QComboBox(this);
    latHem_->addItems({QStringLiteral("N"), QStringLiteral("S")});
    lonDeg_ = Spin(180, this);
    lonMin_ = Spin(59, this);
    lonSec_ = Spin(59, this);
    lonHem_ = new QComboBox(this);
    lonHem_->addItems({QStringLiteral("E"), QStringLiteral("W")});
    lblName_ = new QLabel(this);
    lblLat_ = new QLabel(this);
    lblLon_ = new QLabel(this);

    auto* grid = new QGridLayout;
    grid->addWidget(lblName_, 0, 0);
    grid->addWidget(name_, 0, 1, 1, 7);
    const auto row = [&](int r, QLabel* label, QSpinBox* d, QSpinBox* m, QSpinBox* s,
                         QComboBox* h) {
        grid->addWidget(label, r, 0);
        grid->addWidget(d, r, 1);
        grid->addWidget(new QLabel(QStringLiteral("\u00B0"), this), r, 2);
        grid->addWidget(m, r, 3);
        grid->addWidget(new QLabel(QStringLiteral("'"), this), r, 4);
        grid->addWidget(s, r, 5);
        grid->addWidget(new QLabel(QStringLiteral("\""), this), r, 6);
        grid->addWidget(h, r, 7);
    };
    row(1, lblLat_, latDeg_, latMin_, latSec_, latHem_);
    row(2, lblLon_, lonDeg_, lonMin_, lonSec_, lonHem_);

    btnOk_ = new QPushButton(this);
    btnOk_->setObjectName(QStringLiteral("btnOk"));
    btnOk_->setDefault(true);
    btnCancel_ = new QPushButton(this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnManager_ = new QPushButton(this);
    btnManager_->setObjectName(QStringLiteral("btnMarkerManager"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnOk_);
    buttons->addWidget(btnCancel_);
    buttons->addWidget(btnManager_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    connect(btnOk_, &QPushButton::clicked, this, &TfrmMarkSetting::onOk);
    connect(btnCancel_, &QPushButton::clicked, this, &TfrmMarkSetting::onCancel);
    connect(btnManager_, &QPushButton::clicked, this, &TfrmMarkSetting::onManager);
    retranslate();
}

TfrmMarkSetting::~TfrmMarkSetting() = default;

void TfrmMarkSetting::retranslate() {
    setWindowTitle(Text(texts_, TextId::MarkPropertiesCaption));
    lblName_->setText(Text(texts_, TextId::MarkPropertiesName));
    lblLat_->setText(Text(texts_, TextId::MarkPropertiesLatitude));
    lblLon_->setText(Text(texts_, TextId::MarkPropertiesLongitude));
    btnOk_->setText(Text(texts_, TextId::MarkPropertiesOk));
    btnCancel_->setText(Text(texts_, TextId::MarkPropertiesCancel));
    btnManager_->setText(Text(texts_, TextId::MarkPropertiesMarkerManager));
    ui::KeepCaptionVisible(this);
}

void TfrmMarkSetting::setMarker(std::string_view name, double lon, double lat) {
    name_->setText(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
    const DmsFields la = ShowDms(lat, Axis::Latitude);
    const DmsFields lo = ShowDms(lon, Axis::Longitude);
    latDeg_->setValue(la.degrees);
    latMin_->setValue(la.minutes);
    latSec_->setValue(static_cast<int>(la.seconds));
    latHem_->setCurrentIndex(la.negative ? 1 : 0);
    lonDeg_->setValue(lo.degrees);
    lonMin_->setValue(lo.minutes);
    lonSec_->setValue(static_cast<int>(lo.seconds));
    lonHem_->setCurrentIndex(lo.negative ? 1 : 0);
}

std::optional<MarkerRecord> TfrmMarkSetting::marker() {
    const QByteArray utf8 = name_->text().toUtf8();
    const std::string_view name(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    if (!MarkerNameAcceptable(name)) {
        warn(TextId::MarkPropertiesNameCharacters);
        return std::nullopt;
    }
    DmsFields la;
    la.degrees = latDeg_->value();
    la.minutes = latMin_->value();
    la.seconds = latSec_->value();
    la.negative = latHem_->currentIndex() == 1;
    DmsFields lo;
    lo.degrees = lonDeg_->value();
    lo.minutes = lonMin_->value();
    lo.seconds = lonSec_->value();
    lo.negative = lonHem_->currentIndex() == 1;
    const std::optional<double> lat = EnterDms(la, Axis::Latitude);
    const std::optional<double> lon = EnterDms(lo, Axis::Longitude);
    if (!lat || !lon) {
        warn(TextId::MarkPropertiesPositionRange);
        return std::nullopt;
    }
    return MakeMarker(name, *lon, *lat);
}

void TfrmMarkSetting::warn(TextId text) {
    dialogs_.message(this, Text(texts_, TextId::MarkSettingMarkWarning), Text(texts_, text),
                     ui::MessageIcon::Warning, ui::MessageButtons::Ok);
}

void TfrmMarkSetting::onOk() {
    const std::optional<MarkerRecord> record = marker();
    if (!record) return;
    if (!hooks_.accept || hooks_.accept(*record)) reject();
}

void TfrmMarkSetting::onCancel() {
    reject();
}

void TfrmMarkSetting::onManager() {
    reject();
    if (hooks_.openManager) hooks_.openManager();
}

void TfrmMarkSetting::done(int result) {
    QDialog::done(result);
    // Closing by the title bar or Escape ends the editing as the buttons do.
    if (hooks_.closed) hooks_.closed();
}

}  // namespace norq::nav
