#include "comm/forms/ExportForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace norq::comm {

namespace {

ais::ColumnTitles Views(const TfrmExportAisInfo::Titles& titles) {
    ais::ColumnTitles views{};
    for (std::size_t i = 0; i < titles.size(); ++i)
        views[i] = titles[i];
    return views;
}

}  // namespace

TfrmExportAisInfo::TfrmExportAisInfo(const ais::TargetTable& table, ui::Dialogs& dialogs,
                                     QWidget* parent)
    : QDialog(parent), table_(table), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmExportAisInfo"));
    setWindowFlag(Qt::Window);
    preview_ = new QPlainTextEdit(this);
    preview_->setObjectName(QStringLiteral("MemoPreview"));
    preview_->setReadOnly(true);
    preview_->setLineWrapMode(QPlainTextEdit::NoWrap);
    preview_->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 8));
    lblRows_ = new QLabel(this);
    lblRows_->setObjectName(QStringLiteral("lblRows"));
    btnSave_ = new QPushButton(QStringLiteral("Save..."), this);
    btnSave_->setObjectName(QStringLiteral("btnSave"));
    btnClose_ = new QPushButton(QStringLiteral("Close"), this);
    btnClose_->setObjectName(QStringLiteral("btnClose"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblRows_, 1);
    buttons->addWidget(btnSave_);
    buttons->addWidget(btnClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(preview_, 1);
    layout->addLayout(buttons);
    resize(760, 360);
    connect(btnSave_, &QPushButton::clicked, this, &TfrmExportAisInfo::save);
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::close);
    setTexts(QStringLiteral("Export Current AIS Info."), errorCaption_);
}

void TfrmExportAisInfo::setTexts(const QString& caption, const QString& errorCaption) {
    QString title = caption;
    title.remove(QLatin1Char('&'));
    setWindowTitle(title);
    errorCaption_ = errorCaption;
}

std::string TfrmExportAisInfo::exportText(const Titles& titles) const {
    const ais::TextOptions options = options_ ? options_() : ais::TextOptions{};
    return ais::FormatTargetExport(table_, options, Views(titles));
}

void TfrmExportAisInfo::showExport() {
    refresh();
    show();
    raise();
}

void TfrmExportAisInfo::refresh() {
    const Titles titles = titles_ ? titles_() : Titles{};
    const std::string text = exportText(titles);
    preview_->setPlainText(QString::fromStdString(text).remove(QLatin1Char('\r')));
    lblRows_->setText(
        QStringLiteral("%1 rows: the header and %2 table entries (the own ship first)")
            .arg(table_.count() + 1)
            .arg(table_.count()));
}

bool TfrmExportAisInfo::save() {
    const QString file = dialogs_.saveFileName(this, QString(), QStringLiteral("CSV File (*.csv)"),
                                               QStringLiteral("csv"));
    if (file.isEmpty()) return false;
    const Titles titles = titles_ ? titles_() : Titles{};
    const ais::TextOptions options = options_ ? options_() : ais::TextOptions{};
    if (!ais::WriteTargetExport(file.toStdString(), table_, options, Views(titles))) {
        dialogs_.message(this, errorCaption_,
                         QStringLiteral("The file could not be written: ") + file,
                         ui::MessageIcon::Error, ui::MessageButtons::Ok);
        return false;
    }
    refresh();
    return true;
}

QString TfrmExportAisInfo::previewText() const {
    return preview_->toPlainText();
}

}  // namespace norq::comm
