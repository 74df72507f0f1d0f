// The connection picture of the dialogs: the computer on the left, the device
// on the right and a row of dots between them. Frame 0 is idle (grey dots),
// frames 2 to 7 light one dot after another while connecting, frame 1 is
// connected (a green line), kSilentFrame a connected link that brings nothing
// (an amber broken line), kLostFrame a link that ended by itself (a red line
// cut in the middle).
#pragma once

#include <QWidget>

#include "comm/SensorTypes.h"

namespace norq::comm {

class ConnectionPicture final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kSilentFrame = 8;
    static constexpr int kLostFrame = 9;
    // The frame for a link's health; `usual` (the dialog's own frame) while
    // the link is neither silent nor lost.
    static int FrameFor(LinkHealth health, int usual);

    explicit ConnectionPicture(QWidget* parent = nullptr);

    void setFrame(int frame);
    int frame() const { return frame_; }
    // "AIS", "GPS", "MOB": written under the device.
    void setDeviceName(const QString& name);
    QSize sizeHint() const override { return {300, 84}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int frame_ = 0;
    QString deviceName_;
};

}  // namespace norq::comm
