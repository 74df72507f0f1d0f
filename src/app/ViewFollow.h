// Keeps the ship list and the target grid from scrolling under the user.
//
// While "Target Monitor" is off the selection follows the latest reporting
// target several times a second, and the view normally scrolls to it. A view
// that the user has scrolled, or that the pointer is over, is left where it is:
// the selection still moves, but the view does not scroll, so a grid scrolled
// down stays there and a click lands on the row that was under the pointer.
// Following resumes when the user scrolls back to where the view was when it
// paused, when the pointer leaves (unless the user had scrolled), or after a
// quiet minute without any use of the view. A badge in the view's corner shows
// that following is paused.
#pragma once

#include <QItemSelectionModel>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QAbstractItemView;
class QLabel;
class QTimer;

namespace norq::app {

class ViewFollow final : public QObject {
    Q_OBJECT

  public:
    static constexpr int kQuietMilliseconds = 60000;

    explicit ViewFollow(QAbstractItemView* view);

    // Makes the index current with the flags; the view scrolls to it only while
    // following.
    void select(const QModelIndex& index, QItemSelectionModel::SelectionFlags flags);
    void clearSelection();

    bool paused() const { return pointerPause_ || scrollPause_; }
    bool pausedByPointer() const { return pointerPause_; }
    bool pausedByScrolling() const { return scrollPause_; }
    // While the test holds, the view keeps its rows where they are without a
    // badge (the grid sorted by the user: its order is what the user looks at).
    void setHoldTest(std::function<bool()> holds) { holds_ = std::move(holds); }
    bool holding() const { return holds_ && holds_(); }
    // The badge's text and tooltip (language texts).
    void setTexts(const QString& badge, const QString& hint);
    // The quiet interval after which following resumes (tests shorten it).
    void setQuietInterval(int milliseconds);
    QLabel* badge() const { return badge_; }

  Q_SIGNALS:
    void pausedChanged(bool paused);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void onScrollAction();
    void onQuiet();
    void setPauses(bool pointer, bool scrolling);
    void resume();
    void placeBadge();
    void userActivity();
    void saveScroll();
    void restoreScroll();

    QPointer<QAbstractItemView> view_;
    QLabel* badge_;
    QTimer* quiet_;
    std::function<bool()> holds_;
    bool pointerInside_ = false;
    bool pointerPause_ = false;
    bool scrollPause_ = false;
    bool programmatic_ = false;
    // The scroll position where the user started scrolling.
    int anchorValue_ = 0;
    // Scroll positions kept across a reset of the model.
    int savedVertical_ = 0;
    int savedHorizontal_ = 0;
};

}  // namespace norq::app
