// The CPA/TCPA limits dialog ("CPA/TCPA Setting").
#pragma once

#include <QDialog>

#include "app/BaseNames.h"
#include "base/LanguageTable.h"

class QLabel;
class QPushButton;
class QSpinBox;

namespace norq::app {

class TfrmCpaSetting final : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmCpaSetting(const TextStore& texts, QWidget* parent = nullptr);

    void retranslate();
    // Shows the limits; on OK they take the new values and true is returned.
    bool edit(int& cpaLimit, int& tcpaLimit);

  private:
    const TextStore& texts_;
    QLabel* lblCpa_;
    QLabel* lblTcpa_;
    QSpinBox* spnCpa_;
    QSpinBox* spnTcpa_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
};

}  // namespace norq::app
