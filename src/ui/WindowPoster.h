// The viewer's way for the link threads to reach the window's thread: tasks are
// posted to the Qt event loop of the thread that made the poster. The links
// wait for their handlers through base::HandOverGate, so a hand-over stays
// synchronous and can still be cancelled by a closing link.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "base/HandOver.h"

namespace norq::ui {

class QtWindowPoster final : public base::WindowThreadPoster {
  public:
    // Tasks run on the thread that creates the poster. It must outlive every
    // link that posts through it.
    QtWindowPoster();
    ~QtWindowPoster() override;
    void post(std::function<void()> task) override;

  private:
    std::unique_ptr<QObject> context_;
};

}  // namespace norq::ui
