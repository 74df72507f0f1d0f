// The About window: product name, version, build and the statement page filled
// with the read-me file of the language. It is also the start-up splash (with
// its OK button hidden).
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace norq::app {

class TfrmAbout final : public QDialog {
    Q_OBJECT

  public:
    // programFolder holds the language and read-me files; settingsFile is read
    // for the language each time the window is shown.
    TfrmAbout(std::string programFolder, std::string settingsFile, QWidget* parent = nullptr);

    void setOkVisible(bool visible);
    // The texts of section ABOUT from the language file of the index, and the
    // statement from its read-me file. A missing file keeps what is shown.
    void loadLanguage(int index);
    // What showing does: the stored [VIEW] Language picks the language; a stored
    // value other than 0, 1 or 2 loads nothing.
    void loadStoredLanguage();

    QString statement() const;
    QString productText() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    std::string programFolder_;
    std::string settingsFile_;
    QLabel* lblProduct_;
    QLabel* lblVersion_;
    QLabel* lblBuild_;
    QTabWidget* pages_;
    QPlainTextEdit* memoStatement_;
    QPushButton* btnOk_;
};

}  // namespace norq::app
