// The search window: finds a target by MMSI digits or by name, starting after the
// entry selected in the ship list.
#pragma once

#include <QDialog>

#include "ais/TargetTable.h"
#include "app/BaseNames.h"
#include "app/TargetSearch.h"
#include "base/LanguageTable.h"
#include "ui/Dialogs.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace norq::app {

// What the search needs of the main window.
class SearchHost {
  public:
    virtual ~SearchHost() = default;
    virtual const ais::TargetTable& searchTable() const = 0;
    virtual int searchSelection() const = 0;
    virtual void searchTickTargetMonitor() = 0;
    // Selects the entry in the ship list and shows it.
    virtual void searchShowTarget(int index) = 0;
};

class TfrmSearch final : public QDialog {
    Q_OBJECT

  public:
    TfrmSearch(SearchHost& host, ui::Dialogs& dialogs, const TextStore& texts,
               QWidget* parent = nullptr);

    void retranslate();
    // "Find Next": fromButton shows the message for a blank search text; "Search
    // Again" runs it without. Returns the entry found, or -1.
    int findNext(bool fromButton);

    SearchMode mode() const;
    void setMode(SearchMode mode);
    QLineEdit* textField() const { return edtSearch_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void onTextEdited(const QString& text);
    void onModeChanged();

    SearchHost& host_;
    ui::Dialogs& dialogs_;
    const TextStore& texts_;
    QGroupBox* grpVessel_;
    QGroupBox* grpOption_;
    QComboBox* cbxMode_;
    QLineEdit* edtSearch_;
    QCheckBox* cbxCaseSensitive_;
    QPushButton* btnFindNext_;
    QPushButton* btnClose_;
};

}  // namespace norq::app
