// The small windows of the main window: the options window (transmitter on or
// off), the popup message and the (empty) specific control window.
#pragma once

#include <QDialog>
#include <functional>

#include "app/BaseNames.h"
#include "base/LanguageTable.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace norq::app {

// "Options": the transmitter switch, reachable only through a hidden menu item.
class TfrmOptions final : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmOptions(QWidget* parent = nullptr);
    // Called with true for "ON" and false for "OFF" when one is clicked.
    void setTransmitHandler(std::function<void(bool)> handler) { onTransmit_ = std::move(handler); }

  private:
    QRadioButton* rbOn_;
    QRadioButton* rbOff_;
    std::function<void(bool)> onTransmit_;
};

// A message with a kind (0 "Warning", 1 "Error") and an OK button that closes it.
class TfrmPopupMessage final : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmPopupMessage(const TextStore& texts, QWidget* parent = nullptr);
    void showMessage(const QString& text, int kind);
    QString messageText() const;

  private:
    const TextStore& texts_;
    QLabel* lblMessage_;
    QPushButton* btnOk_;
};

// "Specific Control": created at start-up; nothing shows it.
class TfrmSpecificControl final : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmSpecificControl(QWidget* parent = nullptr);
};

}  // namespace norq::app
