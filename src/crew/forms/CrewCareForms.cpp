#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "crew/forms/CrewWatchForms.h"
#include "ui/Dialogs.h"

namespace norq::crew {

using base::TextId;

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

constexpr int kPhotoSize = 96;

}  // namespace

// ---- TfrmCareSelDlg ------------------------------------------------------

TfrmCareSelDlg::TfrmCareSelDlg(const base::TextStore& texts, const CrewWatch& watch,
                               QWidget* parent)
    : QDialog(parent), texts_(texts), watch_(watch) {
    setObjectName(QStringLiteral("frmCareSelDlg"));
    auto* layout = new QVBoxLayout(this);
    prompt_ = new QLabel(this);
    cbxMobList_ = new QComboBox(this);
    cbxMobList_->setObjectName(QStringLiteral("cbxMobList"));
    cbxMobList_->setMinimumWidth(320);
    auto* buttons = new QDialogButtonBox(this);
    btnOk_ = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    btnCancel_ = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(prompt_);
    layout->addWidget(cbxMobList_);
    layout->addWidget(buttons);
    retranslate();
}

void TfrmCareSelDlg::retranslate() {
    prompt_->setText(Q(texts_.text(TextId::MobCareSelPrompt)));
    cbxMobList_->setPlaceholderText(Q(texts_.text(TextId::MobCareSelEmptyPrompt)));
    btnOk_->setText(Q(texts_.text(TextId::MobCareSelOk)));
    btnCancel_->setText(Q(texts_.text(TextId::MobCareSelCancle)));
}

std::optional<int> TfrmCareSelDlg::choose(int preset) {
    cbxMobList_->clear();
    const CrewDeviceTable& table = watch_.table();
    for (int row = 0; row < table.count(); ++row) {
        const CrewDevice& d = table[row];
        cbxMobList_->addItem(
            QStringLiteral("[%1] (MAC:%2)").arg(Q(d.name), 20).arg(Q(d.id.text())));
    }
    cbxMobList_->setCurrentIndex(preset >= 0 && preset < table.count() ? preset : -1);
    if (exec() != QDialog::Accepted) return std::nullopt;
    return cbxMobList_->currentIndex();
}

// ---- TfrmCare ------------------------------------------------------------

TfrmCare::TfrmCare(const base::TextStore& texts, CrewWatch& watch, ui::Dialogs& dialogs,
                   QWidget* parent)
    : QWidget(parent, Qt::Window), texts_(texts), watch_(watch), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmCare"));
    selection_ = new TfrmCareSelDlg(texts, watch, this);
    auto* grid = new QGridLayout(this);
    for (int s = 0; s < kCareSlots; ++s) {
        Slot& slot = slots_[static_cast<std::size_t>(s)];
        const QString n = QString::number(s + 1);
        slot.panel = new QGroupBox(this);
        auto* box = new QGridLayout(slot.panel);
        slot.select = new QPushButton(slot.panel);
        slot.select->setObjectName(QStringLiteral("BitBtnSelect") + n);
        connect(slot.select, &QPushButton::clicked, this, [this, s] { selectFor(s); });
        slot.photo = new QLabel(slot.panel);
        slot.photo->setObjectName(QStringLiteral("ImagePhoto") + n);
        slot.photo->setFixedSize(kPhotoSize, kPhotoSize);
        slot.photo->setFrameShape(QFrame::Box);
        slot.photo->setAlignment(Qt::AlignCenter);
        slot.photo->installEventFilter(this);
        const auto field = [&](const char* name) {
            auto* edit = new QLineEdit(slot.panel);
            edit->setObjectName(QLatin1String(name) + n);
            edit->setReadOnly(true);
            return edit;
        };
        slot.name = field("lblEdtName");
        slot.id = field("lblEdtMac");
        slot.state = field("lblEdtState");
        slot.notes = field("lblEdtSpecialNotes");
        for (QLabel*& caption : slot.captions)
            caption = new QLabel(slot.panel);
        slot.battery = new QLabel(slot.panel);
        slot.battery->setObjectName(QStringLiteral("ImageBattery") + n);
        slot.online = new QLabel(slot.panel);
        slot.zone = new QGroupBox(slot.panel);
        slot.zone->setObjectName(QStringLiteral("gbxRepeater") + n);
        auto* zone = new QVBoxLayout(slot.zone);
        slot.zoneName = field("lblEdtRptName");
        slot.zoneId = field("lblEdtRptId");
        zone->addWidget(slot.zoneName);
        zone->addWidget(slot.zoneId);
        box->addWidget(slot.select, 0, 0);
        box->addWidget(slot.photo, 1, 0, 4, 1);
        const std::array<QLineEdit*, 4> edits = {slot.name, slot.id, slot.state, slot.notes};
        for (int i = 0; i < 4; ++i) {
            box->addWidget(slot.captions[static_cast<std::size_t>(i)], i + 1, 1);
            box->addWidget(edits[static_cast<std::size_t>(i)], i + 1, 2);
        }
        box->addWidget(slot.battery, 0, 2, Qt::AlignRight);
        box->addWidget(slot.online, 5, 0, 1, 3);
        box->addWidget(slot.zone, 6, 0, 1, 3);
        grid->addWidget(slot.panel, s / 2, s % 2);
    }
    retranslate();
    for (int s = 0; s < kCareSlots; ++s) {
        showPhoto(s);
        fillSlot(s);
    }
}

void TfrmCare::retranslate() {
    setWindowTitle(Q(texts_.text(TextId::MobCareWindowCareWindow)));
    for (Slot& slot : slots_) {
        slot.select->setText(Q(texts_.text(TextId::MobCareWindowSelect)));
        slot.captions[0]->setText(Q(texts_.text(TextId::MobDetailName)));
        slot.captions[1]->setText(Q(texts_.text(TextId::MobDetailId)));
        slot.captions[2]->setText(Q(texts_.text(TextId::MobDetailState)));
        slot.captions[3]->setText(Q(texts_.text(TextId::MobDetailSpecialNotes)));
        slot.zone->setTitle(Q(texts_.text(TextId::MobDetailNearestRpt)));
    }
    RefreshCareSlots();
}

void TfrmCare::fillSlot(int s) {
    Slot& slot = slots_[static_cast<std::size_t>(s)];
    const int row = watch_.care()[static_cast<std::size_t>(s)].row;
    const CrewDeviceTable& table = watch_.table();
    if (row < 0 || row >= table.count()) {
        for (QLineEdit* e :
             {slot.name, slot.id, slot.state, slot.notes, slot.zoneName, slot.zoneId})
            e->clear();
        slot.battery->clear();
        slot.online->clear();
        return;
    }
    const CrewDevice& d = table[row];
    const bool off = d.state == CrewDeviceState::Off;
    slot.id->setText(Q(d.id.text()));
    slot.name->setText(Q(d.name));
    slot.state->setText(Q(CrewStateName(d.state, texts_)));
    slot.notes->setText(Q(d.notes));
    if (off) {
        slot.battery->clear();
    } else {
        slot.battery->setPixmap(CrewBatteryPixmap(BatteryLevel(d.battery)));
    }
    if (!d.zoneId.isController()) {
        slot.zoneId->setText(Q(d.zoneId.text()));
        slot.zoneName->setText(Q(std::string(table.nameOf(d.zoneId))));
    } else {
        const QString text =
            off ? QStringLiteral("N/A") : Q(texts_.text(TextId::MobGnStrGnController));
        slot.zoneId->setText(text);
        slot.zoneName->setText(text);
    }
    slot.online->setText(Q(texts_.text(TextId::MobDetailOnlineTime)) + QStringLiteral(" ") +
                         Q(CrewDuration(d.secondsOnline)));
}

void TfrmCare::RefreshCareSlots() {
    for (int s = 0; s < kCareSlots; ++s)
        fillSlot(s);
}

void TfrmCare::showPhoto(int s) {
    Slot& slot = slots_[static_cast<std::size_t>(s)];
    const QString path = Q(watch_.care()[static_cast<std::size_t>(s)].photoPath);
    QPixmap photo;
    if (!path.isEmpty() && QFileInfo::exists(path) && photo.load(path)) {
        slot.photo->setPixmap(
            photo.scaled(kPhotoSize, kPhotoSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    } else {
        slot.photo->clear();
    }
}

void TfrmCare::selectFor(int s) {
    Slot& slot = slots_[static_cast<std::size_t>(s)];
    selection_->move(geometry().topLeft() + slot.panel->pos() + QPoint(0, 60));
    const std::optional<int> chosen =
        selection_->choose(watch_.care()[static_cast<std::size_t>(s)].row);
    if (!chosen) return;
    watch_.SetCareSlot(s, *chosen);
    fillSlot(s);
}

void TfrmCare::choosePhoto(int s) {
    const QString file = dialogs_.openFileName(
        this, QString(), QStringLiteral("Pictures (*.png *.jpg *.jpeg *.bmp)"));
    if (file.isEmpty() || !QFileInfo::exists(file)) return;
    watch_.SetCarePhoto(s, file.toStdString());
    showPhoto(s);
}

QString TfrmCare::slotText(int s, const char* field) const {
    const Slot& slot = slots_[static_cast<std::size_t>(s)];
    const std::string_view f = field;
    if (f == "name") return slot.name->text();
    if (f == "id") return slot.id->text();
    if (f == "state") return slot.state->text();
    if (f == "notes") return slot.notes->text();
    return {};
}

bool TfrmCare::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int s = 0; s < kCareSlots; ++s) {
            if (watched == slots_[static_cast<std::size_t>(s)].photo) {
                choosePhoto(s);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmCare::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    Q_EMIT closed();
}

}  // namespace norq::crew
