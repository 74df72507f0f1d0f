#include "messaging/forms/AtonForms.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ais/TargetTexts.h"

namespace norq::messaging {

namespace {

using base::TextId;

QString Text(const base::TextStore& texts, TextId id) {
    return QString::fromStdString(texts.text(id));
}

struct FieldSpec {
    const char* name;
    TextId caption;
};
constexpr FieldSpec kGeneralFields[] = {
    {"lblEdtAtonDetailsMMSI", TextId::DetailAtonMmsi},
    {"lblEdtAtonDetailsRealVirtual", TextId::DetailAtonRealVirtual},
    {"lblEdtAtonDetailsStatus", TextId::DetailAtonStatus},
    {"lblEdtAtonDetailsPositionIndicator", TextId::DetailAtonPosIndicator},
    {"lblEdtAtonDetailsLightStatus", TextId::DetailAtonLight},
    {"lblEdtAtonDetailsRACONStatus", TextId::DetailAtonRaconStatus},
    {"lblEdtAtonDetailsType", TextId::DetailAtonType},
    {"lblEdtAtonDetailsName", TextId::DetailAtonName},
    {"lblEdtAtonDetailsEPFSType", TextId::DetailAtonEpfsType},
    {"lblEdtAtonDetailsPositionAccuracy", TextId::DetailAtonPosAccuracy},
    {"lblEdtAtonDetailsLongitude", TextId::DetailAtonLongitude},
    {"lblEdtAtonDetailsLatitude", TextId::DetailAtonLatitude},
    {"lblEdtAtonDetailsLastReport", TextId::DetailAtonLastReport},
    {"lblEdtAtonDetailsAnalog1", TextId::DetailAtonAnalog1},
    {"lblEdtAtonDetailsAnalog2", TextId::DetailAtonAnalog2},
    {"lblEdtAtonDetailsAnalog3", TextId::DetailAtonAnalog3},
    {"lblEdtAtonDetailsAnalog4", TextId::DetailAtonAnalog4},
};
constexpr FieldSpec kLanternFields[] = {
    {"lblEdtAtonDetailsLanternMode", TextId::DetailAtonMode},
    {"lblEdtAtonDetailsLanternLight", TextId::DetailAtonLight},
    {"lblEdtAtonDetailsLanternVoltage", TextId::DetailAtonVoltage},
    {"lblEdtAtonDetailsLanternCurrent", TextId::DetailAtonCurrent},
};
constexpr const char* kDimensionFields[] = {
    "EditAtonDetailsDimensionA", "EditAtonDetailsDimensionB", "EditAtonDetailsDimensionC",
    "EditAtonDetailsDimensionD"};

}  // namespace

// ---- Lantern control -------------------------------------------------------------

TfrmLanternCtrl::TfrmLanternCtrl(const base::TextStore& texts, codec::SentenceCodec& codec,
                                 QWidget* parent)
    : QDialog(parent), texts_(texts), codec_(codec) {
    setObjectName(QStringLiteral("frmLanternCtrl"));
    group_ = new QGroupBox(this);
    rbAuto_ = new QRadioButton(group_);
    rbAuto_->setObjectName(QStringLiteral("rbAuto"));
    rbOn_ = new QRadioButton(group_);
    rbOn_->setObjectName(QStringLiteral("rbForcedOn"));
    rbOff_ = new QRadioButton(group_);
    rbOff_->setObjectName(QStringLiteral("rbForcedOff"));
    auto* radios = new QVBoxLayout(group_);
    for (QRadioButton* rb : {rbAuto_, rbOn_, rbOff_})
        radios->addWidget(rb);
    rbAuto_->setChecked(true);
    btnOk_ = new QPushButton(this);
    btnOk_->setObjectName(QStringLiteral("btnOK"));
    connect(btnOk_, &QPushButton::clicked, this, [this] { onOk(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group_);
    layout->addWidget(btnOk_);
    retranslate();
}

void TfrmLanternCtrl::retranslate() {
    setWindowTitle(Text(texts_, TextId::LanternCtrlLanternControl));
    group_->setTitle(Text(texts_, TextId::LanternCtrlLanternControl));
    rbAuto_->setText(Text(texts_, TextId::LanternCtrlAuto));
    rbOn_->setText(Text(texts_, TextId::LanternCtrlOn));
    rbOff_->setText(Text(texts_, TextId::LanternCtrlOff));
    btnOk_->setText(Text(texts_, TextId::LanternCtrlOk));
}

void TfrmLanternCtrl::select(LanternMode mode) {
    (mode == LanternMode::Auto       ? rbAuto_
     : mode == LanternMode::ForcedOn ? rbOn_
                                     : rbOff_)
        ->setChecked(true);
}

bool TfrmLanternCtrl::onOk() {
    const LanternMode mode = rbOn_->isChecked()    ? LanternMode::ForcedOn
                             : rbOff_->isChecked() ? LanternMode::ForcedOff
                                                   : LanternMode::Auto;
    // No answer is awaited: the station's next lantern status shows the mode.
    const bool sent = sender_ != nullptr && SendLanternCommand(codec_, *sender_, mode);
    close();
    return sent;
}

// ---- AtoN details ----------------------------------------------------------------

TfrmAtonDetails::TfrmAtonDetails(const base::TextStore& texts, const ais::TargetTable& table,
                                 TfrmLanternCtrl& lantern, QWidget* parent)
    : QDialog(parent), texts_(texts), table_(table), lantern_(lantern) {
    setObjectName(QStringLiteral("frmAtonDetails"));
    auto* general = new QWidget(this);
    auto* form = new QFormLayout(general);
    for (const FieldSpec& f : kGeneralFields) {
        QLineEdit* edit = addField(general, f.name);
        auto* label = new QLabel(general);
        labels_[f.name] = label;
        form->addRow(label, edit);
    }
    auto* dims = new QHBoxLayout;
    for (const char* name : kDimensionFields)
        dims->addWidget(addField(general, name));
    auto* dimLabel = new QLabel(general);
    labels_["Dimension"] = dimLabel;
    form->insertRow(8, dimLabel, dims);

    lanternGroup_ = new QGroupBox(this);
    lanternGroup_->setObjectName(QStringLiteral("GroupBoxLanternInfo"));
    auto* lanternForm = new QFormLayout(lanternGroup_);
    for (const FieldSpec& f : kLanternFields) {
        QLineEdit* edit = addField(lanternGroup_, f.name);
        auto* label = new QLabel(lanternGroup_);
        labels_[f.name] = label;
        lanternForm->addRow(label, edit);
    }
    btnCommand_ = new QPushButton(lanternGroup_);
    btnCommand_->setObjectName(QStringLiteral("btnCommand"));
    lanternForm->addRow(btnCommand_);
    connect(btnCommand_, &QPushButton::clicked, &lantern_, [this] { lantern_.show(); });

    btnClose_ = new QPushButton(this);
    btnClose_->setObjectName(QStringLiteral("btnClose"));
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(general);
    layout->addWidget(lanternGroup_);
    layout->addWidget(btnClose_, 0, Qt::AlignRight);
    for (const char* analog : {"lblEdtAtonDetailsAnalog1", "lblEdtAtonDetailsAnalog2",
                               "lblEdtAtonDetailsAnalog3", "lblEdtAtonDetailsAnalog4"}) {
        fields_[analog]->setText(QStringLiteral("N/A"));
    }
    retranslate();
}

QLineEdit* TfrmAtonDetails::addField(QWidget* page, const char* name) {
    auto* edit = new QLineEdit(page);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    fields_[name] = edit;
    return edit;
}

void TfrmAtonDetails::retranslate() {
    setWindowTitle(Text(texts_, TextId::DetailAtonTitle));
    for (const FieldSpec& f : kGeneralFields)
        labels_[f.name]->setText(Text(texts_, f.caption));
    for (const FieldSpec& f : kLanternFields)
        labels_[f.name]->setText(Text(texts_, f.caption));
    labels_["Dimension"]->setText(Text(texts_, TextId::DetailAtonDimensionM) +
                                  QStringLiteral(" A, B, C, D"));
    lanternGroup_->setTitle(Text(texts_, TextId::DetailAtonLanternInfo));
    btnClose_->setText(Text(texts_, TextId::DetailAtonClose));
    btnCommand_->setText(Text(texts_, TextId::DetailAtonCommand));
}

void TfrmAtonDetails::CopyAtonDetails(int index) {
    if (!table_.valid(index)) return;
    const ais::TargetRecord& t = table_[index];
    ais::TextOptions options;
    options.datePattern = datePattern_;
    const ais::AtonDetailTexts tab = ais::AtonDetails(t, options);
    const AtonOwnFields own = AtonOwnFieldTexts(t);
    auto set = [this](const char* name, std::string_view text) {
        fields_[name]->setText(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
    };
    set("lblEdtAtonDetailsMMSI", tab.mmsi.view());
    set("lblEdtAtonDetailsRealVirtual", tab.realVirtual.view());
    set("lblEdtAtonDetailsStatus", own.status);
    set("lblEdtAtonDetailsPositionIndicator", own.positionIndicator);
    set("lblEdtAtonDetailsLightStatus", tab.light.view());
    set("lblEdtAtonDetailsRACONStatus", tab.racon.view());
    set("lblEdtAtonDetailsType", tab.aidType.view());
    set("lblEdtAtonDetailsName", tab.name.view());
    set("EditAtonDetailsDimensionA", own.dimensionA);
    set("EditAtonDetailsDimensionB", own.dimensionB);
    set("EditAtonDetailsDimensionC", own.dimensionC);
    set("EditAtonDetailsDimensionD", own.dimensionD);
    set("lblEdtAtonDetailsEPFSType", tab.epfs.view());
    set("lblEdtAtonDetailsPositionAccuracy", tab.positionAccuracy.view());
    set("lblEdtAtonDetailsLongitude", tab.longitude.view());
    set("lblEdtAtonDetailsLatitude", tab.latitude.view());
    set("lblEdtAtonDetailsLastReport",
        ais::DateTimeText(t.lastMessageDate, t.lastMessageTime, datePattern_).view());
}

void TfrmAtonDetails::ShowLanternStatus(int index) {
    if (!table_.valid(index)) return;
    const LanternTexts l = LanternStatusTexts(table_[index]);
    fields_["lblEdtAtonDetailsLanternMode"]->setText(QString::fromStdString(l.mode));
    fields_["lblEdtAtonDetailsLanternLight"]->setText(QString::fromStdString(l.light));
    fields_["lblEdtAtonDetailsLanternVoltage"]->setText(QString::fromStdString(l.voltage));
    fields_["lblEdtAtonDetailsLanternCurrent"]->setText(QString::fromStdString(l.current));
}

void TfrmAtonDetails::showDetails() {
    // The lantern group is kept up to date but not shown from "Detail".
    lanternGroup_->hide();
    adjustSize();
    show();
    raise();
}

QString TfrmAtonDetails::field(const char* name) const {
    const auto it = fields_.find(name);
    return it == fields_.end() ? QString() : it->second->text();
}

}  // namespace norq::messaging
