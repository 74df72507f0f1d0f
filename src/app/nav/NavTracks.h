// The tracks: the per-target track rings, the own-ship track recording, the 200
// listed tracks with their files, the track windows, the chart's track layers and
// the track page of the navigation manager.
#pragma once

#include <QObject>
#include <string>

class QWidget;

namespace norq::app {

class NavigationHub;

class NavTracks final : public QObject {
    Q_OBJECT

  public:
    explicit NavTracks(NavigationHub& hub);
    ~NavTracks() override;

    void readFiles(const std::string& dataFolder);
    void retranslate();
    void stepSecond();
    void shutdown();

    // The track page of the navigation manager (owned by this part).
    QWidget* managerPage();
    // "Visible Ship Track" / "Invisible Ship Track" of the target popup.
    bool trackVisible(int slot) const;
    void setTrackVisible(int slot, bool visible);
    // The tracker's follow-ups: a target reported a new position; a target aged
    // out (per-target state from `index` on moves down by one).
    void appendTrackPoint(int index);
    void onTargetRemoved(int index);

  private:
    NavigationHub& hub_;
};

}  // namespace norq::app
