// The ENC display settings window ("ENC Setting", TfrmS57ChartSetting): colour
// scheme, display style and category, orientation, soundings, lights, SCAMIN,
// the three depths, the text options and the water depth colours. "Defult" puts
// the default record into the controls without storing it.
#pragma once

#include <QDialog>

#include "base/LanguageTable.h"
#include "base/Settings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace norq::nav {

// True when both records hold the same ENC display settings (the shown
// switches of markers, routes and tracks are not part of the window).
bool SameEncRecord(const base::EncSettings& a, const base::EncSettings& b);

class TfrmS57ChartSetting final : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmS57ChartSetting(const base::TextStore& texts, QWidget* parent = nullptr);
    void retranslate();
    // Every control from the record.
    void setRecord(const base::EncSettings& record);
    // The record read back from the controls (depths truncated to whole metres).
    base::EncSettings record() const;

    QComboBox* scheme() const { return scheme_; }
    QComboBox* orientation() const { return orientation_; }
    QCheckBox* showText() const { return showText_; }
    QRadioButton* national() const { return national_; }
    QLineEdit* depth(int i) const { return depths_[i]; }
    QPushButton* okButton() const { return btnOk_; }
    QPushButton* cancelButton() const { return btnCancel_; }
    QPushButton* defaultButton() const { return btnDefault_; }
    // The "Option" page: the same scheme (as Day, Dusk or Night), soundings,
    // text and depths as the first page, kept in step with it both ways.
    QRadioButton* optionScheme(int i) const { return optionSchemes_[i]; }
    QCheckBox* optionSoundings() const { return optionSoundings_; }
    QCheckBox* optionShowText() const { return optionShowText_; }
    QLineEdit* optionDepth(int i) const { return optionDepths_[i]; }
    QTabWidget* pages() const { return tabs_; }

  private:
    void onDepthEdited(QLineEdit* edit);
    QWidget* buildOptionPage(QWidget* parent);
    // The three depth edits with their labels, filtered as they are typed.
    QGroupBox* depthGroup(QWidget* page, const char* name, QLineEdit* edits[3]);
    // The option page's scheme buttons from the first page's scheme.
    void mirrorScheme();

    const base::TextStore& texts_;
    base::EncSettings shown_;  // what the controls were set from (keeps the shown switches)
    QComboBox* scheme_;
    QComboBox* symbol_;
    QComboBox* lineStyle_;
    QComboBox* category_;
    QComboBox* orientation_;
    QCheckBox* soundings_;
    QCheckBox* lights_;
    QCheckBox* scamin_;
    QLineEdit* depths_[3];
    QCheckBox* showText_;
    QRadioButton* english_;
    QRadioButton* national_;
    QRadioButton* twoColours_;
    QRadioButton* fourColours_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
    QPushButton* btnDefault_;
    QTabWidget* tabs_;
    QRadioButton* optionSchemes_[3];  // Day, Dusk, Night
    QCheckBox* optionSoundings_;
    QCheckBox* optionShowText_;
    QLineEdit* optionDepths_[3];
};

}  // namespace norq::nav
