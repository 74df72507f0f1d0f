// The tracks: the per-target track rings, the own-ship track recording, the 200
// listed tracks with their files, the track windows, the chart's track layers and
// the track page of the navigation manager.
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <string>

#include "nav/OwnTrackLayer.h"
#include "nav/ShipTrack.h"
#include "nav/TrackList.h"
#include "nav/TrackRecorder.h"
#include "nav/forms/TrackForms.h"

class QWidget;

namespace norq::app {

class NavigationHub;

class NavTracks final : public QObject, public nav::TrackPageHost {
    Q_OBJECT

  public:
    explicit NavTracks(NavigationHub& hub);
    ~NavTracks() override;

    // Reads the track list of the data folder's NAV_Data/.
    void readFiles(const std::string& dataFolder);
    void retranslate();
    // The one-second step: the own ship's recording (a point every 10 s while
    // moving, written every minute).
    void stepSecond();
    // Writes the recording and closes it.
    void shutdown();

    // The track page of the navigation manager (owned by this part).
    QWidget* managerPage();
    nav::TrackManagerPage* trackPage() const { return page_; }
    nav::TfrmTrackProperties* propertiesWindow() const { return properties_.get(); }
    // "Visible Ship Track" / "Invisible Ship Track" of the target popup.
    bool trackVisible(int slot) const;
    void setTrackVisible(int slot, bool visible);
    // The tracker's follow-ups: a target reported a new position; a target aged
    // out (per-target state from `index` on moves down by one).
    void appendTrackPoint(int index);
    void onTargetRemoved(int index);

    const nav::ShipTrackStore& rings() const { return rings_; }
    nav::TrackList& list() { return list_; }
    const nav::TrackRecorder& recorder() const { return recorder_; }
    const nav::OwnTrackLayer& ownLayer() const { return ownLayer_; }
    const nav::TargetTrackLayer* targetLayer() const { return targetLayer_.get(); }

    // nav::TrackPageHost
    bool ownTracksShown() const override { return ownLayer_.shown(); }
    void setOwnTracksShown(bool on) override;
    void locateTrack(int index) override;
    void showTrackProperties(int index) override;
    void deleteTrack(int index) override;
    void toggleTrackVisible(int index) override;

  private:
    void connectMenus();
    void listChanged();
    void reportError(base::TextId text);
    void reportRecording(const nav::RecorderStep& step);
    void onNameConfirmed(const QString& name);

    NavigationHub& hub_;
    nav::ShipTrackStore rings_;
    nav::TrackList list_;
    nav::TrackRecorder recorder_{list_};
    nav::OwnTrackLayer ownLayer_{list_, recorder_};
    std::unique_ptr<nav::TargetTrackLayer> targetLayer_;
    QPointer<nav::TrackManagerPage> page_;
    std::unique_ptr<nav::TfrmTrackProperties> properties_;
    std::string propertiesFile_;  // the track the properties window shows
    bool listFullReported_ = false;
    bool recordingFailureReported_ = false;
};

}  // namespace norq::app
