// The busy pop-up: a borderless, topmost window showing the waiting animation while a device
// operation runs. It has no controls and no handlers of its own.
#pragma once

#include <QBitmap>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <vector>

namespace kelv::app {

class TFormLoadingUI : public QWidget {
  public:
    // A missing or broken animation leaves the pop-up black.
    explicit TFormLoadingUI(QWidget* parent = nullptr);
    int FrameCount() const { return static_cast<int>(frames_.size()); }
    int CurrentFrame() const { return frame_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void ShowFrame(int index);

    QLabel* waitGif_;
    struct Frame {
        QPixmap pixmap;
        QBitmap mask;
        int delayMs = 50;
    };
    std::vector<Frame> frames_;
    int frame_ = 0;
    QTimer timer_;
};

}  // namespace kelv::app
