// The track windows: the track page of the navigation manager (the grid of the
// listed own-ship tracks with Locate, Properties, Delete, the "Visible" popup and
// the "Show Tracks" box) and the track properties window (TfrmTrackProperties).
// Both only render the list and hand the operator's actions to their host.
#pragma once

#include <QDialog>
#include <QWidget>
#include <string>

#include "base/LanguageTable.h"
#include "nav/TrackList.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableWidget;

namespace norq::nav {

// What the track page asks of the part that owns the tracks.
class TrackPageHost {
  public:
    virtual ~TrackPageHost() = default;
    virtual bool ownTracksShown() const = 0;
    virtual void setOwnTracksShown(bool on) = 0;
    virtual void locateTrack(int index) = 0;
    virtual void showTrackProperties(int index) = 0;
    virtual void deleteTrack(int index) = 0;
    virtual void toggleTrackVisible(int index) = 0;
};

class TrackManagerPage final : public QWidget {
    Q_OBJECT

  public:
    TrackManagerPage(const base::TextStore& texts, const TrackList& list, TrackPageHost& host,
                     QWidget* parent = nullptr);
    void retranslate();
    // Fills the grid from the list (one empty row for an empty list) and sets
    // the buttons; the selection stays on its row where it can.
    void refill();
    int selectedRow() const;
    void selectRow(int row);
    QTableWidget* grid() const { return grid_; }
    // The grid's popup with "Visible" for a row (built, not shown: tests).
    QMenu* buildPopup(int row);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void updateButtons();
    void paintRows();
    bool rowShowsVisible(int row) const;

    const base::TextStore& texts_;
    const TrackList& list_;
    TrackPageHost& host_;
    QLabel* title_;
    QTableWidget* grid_;
    QPushButton* btnLocate_;
    QPushButton* btnProperties_;
    QPushButton* btnDelete_;
    QCheckBox* showBox_;
};

// The track properties window: the name (editable), the start time, and one row
// for every sixth point of the track file.
class TfrmTrackProperties final : public QDialog {
    Q_OBJECT

  public:
    TfrmTrackProperties(const base::TextStore& texts, QWidget* parent = nullptr);
    void retranslate();
    // Shows the entry with the points of its file (empty when it cannot be read).
    void load(const TrackEntry& entry, const std::string& path);
    std::string name() const;
    QLineEdit* nameEdit() const { return nameEdit_; }
    QTableWidget* grid() const { return grid_; }
    QPushButton* okButton() const { return btnOk_; }

  Q_SIGNALS:
    // "Ok" with a name the list file can keep.
    void nameConfirmed(const QString& name);
    // "Ok" with a name it cannot (the window stays open).
    void nameRefused();

  private:
    void onOk();

    const base::TextStore& texts_;
    QLabel* nameLabel_;
    QLineEdit* nameEdit_;
    QLabel* startLabel_;
    QLabel* startTime_;
    QTableWidget* grid_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
};

}  // namespace norq::nav
