// "Export Current AIS Info.": the current target list as it will be written
// (the header row of the 23 column titles, then one row per table entry, the
// own ship first), and Save, which asks for the CSV file and writes it.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "ais/TargetExport.h"
#include "ais/TargetTable.h"
#include "ui/Dialogs.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace norq::comm {

class TfrmExportAisInfo final : public QDialog {
    Q_OBJECT

  public:
    using Titles = std::array<std::string, ais::kGridColumnCount>;

    TfrmExportAisInfo(const ais::TargetTable& table, ui::Dialogs& dialogs,
                      QWidget* parent = nullptr);

    // Where the text options and the column titles of the moment come from.
    void setSources(std::function<ais::TextOptions()> options, std::function<Titles()> titles) {
        options_ = std::move(options);
        titles_ = std::move(titles);
    }
    void setTexts(const QString& caption, const QString& errorCaption);

    // Fills the preview with the table as it is now and shows the window.
    void showExport();
    void refresh();
    // Asks for the file and writes it; false when nothing was written.
    bool save();
    QString previewText() const;

  private:
    std::string exportText(const Titles& titles) const;

    const ais::TargetTable& table_;
    ui::Dialogs& dialogs_;
    std::function<ais::TextOptions()> options_;
    std::function<Titles()> titles_;
    QString errorCaption_ = QStringLiteral("Error");
    QPlainTextEdit* preview_;
    QLabel* lblRows_;
    QPushButton* btnSave_;
    QPushButton* btnClose_;
};

}  // namespace norq::comm
