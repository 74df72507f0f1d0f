#include "ui/Dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QUrl>
#include <algorithm>

namespace norq::ui {

namespace {

// Room for the title bar's icon and buttons beside the caption, in pixels.
constexpr int kTitleBarExtra = 160;

QMessageBox::Icon ToQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void KeepCaptionVisible(QWidget* window) {
    const int width =
        window->fontMetrics().horizontalAdvance(window->windowTitle()) + kTitleBarExtra;
    window->setMinimumWidth(std::max(window->minimumWidth(), width));
}

MessageAnswer QtDialogs::message(QWidget* parent, const QString& caption, const QString& text,
                                 MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(ToQt(icon), caption, text, QMessageBox::NoButton, parent);
    // The box sizes itself to its text; a short question under a longer caption
    // would cut the caption in the title bar. Keep it as wide as the caption plus
    // the title bar's icon and buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int width = box.fontMetrics().horizontalAdvance(caption) + kTitleBarExtra;
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    switch (buttons) {
        case MessageButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MessageButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            break;
    }
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
}

QString QtDialogs::openFileName(QWidget* parent, const QString& caption, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

QString QtDialogs::openFileNameIn(QWidget* parent, const QString& caption, const QString& folder,
                                  const QString& filters) {
    return QFileDialog::getOpenFileName(parent, caption, folder, filters);
}

QString QtDialogs::saveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                const QString& defaultSuffix) {
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

bool QtDialogs::openDocument(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace norq::ui
