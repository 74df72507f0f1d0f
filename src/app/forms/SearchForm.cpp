#include "app/forms/SearchForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace norq::app {

namespace {
constexpr int kMmsiFieldLength = 9;
constexpr int kNameFieldLength = 32767;  // no limit
}  // namespace

TfrmSearch::TfrmSearch(SearchHost& host, ui::Dialogs& dialogs, const TextStore& texts,
                       QWidget* parent)
    : QDialog(parent),
      host_(host),
      dialogs_(dialogs),
      texts_(texts),
      grpVessel_(new QGroupBox(this)),
      grpOption_(new QGroupBox(this)),
      cbxMode_(new QComboBox(this)),
      edtSearch_(new QLineEdit(this)),
      cbxCaseSensitive_(new QCheckBox(this)),
      btnFindNext_(new QPushButton(this)),
      btnClose_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmSearch"));
    cbxMode_->setObjectName(QStringLiteral("cbxSearchMode"));
    edtSearch_->setObjectName(QStringLiteral("edtSearch"));
    cbxCaseSensitive_->setObjectName(QStringLiteral("cbxCaseSensitive"));
    btnFindNext_->setObjectName(QStringLiteral("btnFindNext"));
    btnClose_->setObjectName(QStringLiteral("btnClose"));
    cbxMode_->addItems({QString(), QString()});

    auto* vessel = new QHBoxLayout(grpVessel_);
    vessel->addWidget(cbxMode_);
    vessel->addWidget(edtSearch_, 1);
    auto* option = new QHBoxLayout(grpOption_);
    option->addWidget(cbxCaseSensitive_);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btnFindNext_);
    buttons->addWidget(btnClose_);
    buttons->addStretch(1);
    auto* left = new QVBoxLayout;
    left->addWidget(grpVessel_);
    left->addWidget(grpOption_);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    btnFindNext_->setDefault(true);

    connect(cbxMode_, &QComboBox::currentIndexChanged, this, [this] { onModeChanged(); });
    connect(edtSearch_, &QLineEdit::textEdited, this, &TfrmSearch::onTextEdited);
    connect(btnFindNext_, &QPushButton::clicked, this, [this] { findNext(true); });
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::close);
    onModeChanged();
    retranslate();
}

void TfrmSearch::retranslate() {
    auto text = [this](TextId id) { return QString::fromStdString(texts_.text(id)); };
    setWindowTitle(text(TextId::SearchSearch));
    ui::KeepCaptionVisible(this);
    grpVessel_->setTitle(text(TextId::SearchSearchVessel));
    grpOption_->setTitle(text(TextId::SearchOption));
    cbxMode_->setItemText(0, text(TextId::SearchMmsi));
    cbxMode_->setItemText(1, text(TextId::SearchName));
    cbxCaseSensitive_->setText(text(TextId::SearchCaseSensitive));
    btnFindNext_->setText(text(TextId::SearchFindNext));
    btnClose_->setText(text(TextId::SearchClose));
}

SearchMode TfrmSearch::mode() const {
    return cbxMode_->currentIndex() == 1 ? SearchMode::Name : SearchMode::Mmsi;
}

void TfrmSearch::setMode(SearchMode mode) {
    cbxMode_->setCurrentIndex(mode == SearchMode::Name ? 1 : 0);
}

void TfrmSearch::onModeChanged() {
    const bool mmsi = mode() == SearchMode::Mmsi;
    edtSearch_->clear();
    edtSearch_->setMaxLength(mmsi ? kMmsiFieldLength : kNameFieldLength);
    cbxCaseSensitive_->setEnabled(!mmsi);
}

void TfrmSearch::onTextEdited(const QString& text) {
    if (mode() != SearchMode::Mmsi) return;
    // A character that is not a digit just before the caret cuts the text there.
    const int caret = edtSearch_->cursorPosition();
    if (caret <= 0 || caret > text.size() || text.at(caret - 1).isDigit()) return;
    const QString kept = text.left(caret - 1);
    edtSearch_->setText(kept);
    edtSearch_->setCursorPosition(static_cast<int>(kept.size()));
}

int TfrmSearch::findNext(bool fromButton) {
    host_.searchTickTargetMonitor();
    const QString text = edtSearch_->text();
    if (text.isEmpty()) {
        if (fromButton) {
            dialogs_.message(this, QString::fromStdString(texts_.text(TextId::OtherMsgError)),
                             QString::fromStdString(texts_.text(TextId::SearchSearchNotBlank)),
                             ui::MessageIcon::Error, ui::MessageButtons::Ok);
        }
        return -1;
    }
    const std::string needle = text.toStdString();
    const int found = FindTarget(host_.searchTable(), host_.searchSelection(), needle, mode(),
                                 cbxCaseSensitive_->isChecked());
    if (found >= 0) {
        host_.searchShowTarget(found);
        return found;
    }
    const TextId what =
        mode() == SearchMode::Mmsi ? TextId::SearchSearchMmsi : TextId::SearchSearchName;
    const QString message = QString::fromStdString(texts_.text(what)) + QLatin1Char('"') + text +
                            QLatin1Char('"') +
                            QString::fromStdString(texts_.text(TextId::SearchSearchNotFound));
    dialogs_.message(this, QString::fromStdString(texts_.text(TextId::OtherMsgWarning)), message,
                     ui::MessageIcon::Warning, ui::MessageButtons::Ok);
    return -1;
}

void TfrmSearch::showEvent(QShowEvent* event) {
    edtSearch_->clear();
    QDialog::showEvent(event);
    // Ctrl+F and then typing finds: the text field has the focus.
    activateWindow();
    edtSearch_->setFocus(Qt::ShortcutFocusReason);
}

}  // namespace norq::app
