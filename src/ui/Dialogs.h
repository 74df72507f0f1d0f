// Modal message boxes and file dialogs, behind an interface so that the windows'
// questions ("Are you sure to exit?") can be answered by the tests.
#pragma once

#include <QString>

class QWidget;

namespace norq::ui {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // A modal message box; the answer is the button pressed (Cancel or No when
    // the box is closed otherwise).
    virtual MessageAnswer message(QWidget* parent, const QString& caption, const QString& text,
                                  MessageIcon icon, MessageButtons buttons) = 0;
    // An open dialog; filter in the form "Log File (*.TXT)". Empty on cancel.
    virtual QString openFileName(QWidget* parent, const QString& caption,
                                 const QString& filter) = 0;
    // The same, opening in the given folder (empty: the dialog's own choice), with
    // filters separated by ";;", the first one chosen.
    virtual QString openFileNameIn(QWidget* parent, const QString& caption, const QString& folder,
                                   const QString& filters) {
        (void)folder;
        return openFileName(parent, caption, filters);
    }
    // A save dialog with a default suffix. Empty on cancel.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                 const QString& defaultSuffix) = 0;
    // Opens a local file in the desktop's program for it (the manual in a PDF viewer or
    // a browser); false when none could be started. Does nothing unless overridden.
    virtual bool openDocument(const QString& path) {
        (void)path;
        return false;
    }
};

// Keeps a small window at least as wide as its caption and the title bar's
// buttons need, so that the window manager does not cut the caption.
void KeepCaptionVisible(QWidget* window);

// The platform's dialogs.
class QtDialogs final : public Dialogs {
  public:
    MessageAnswer message(QWidget* parent, const QString& caption, const QString& text,
                          MessageIcon icon, MessageButtons buttons) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& filter) override;
    QString openFileNameIn(QWidget* parent, const QString& caption, const QString& folder,
                           const QString& filters) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& filter,
                         const QString& defaultSuffix) override;
    bool openDocument(const QString& path) override;
};

}  // namespace norq::ui
