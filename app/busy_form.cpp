#include "app/busy_form.h"

#include <QPalette>
#include <cstring>
#include <exception>

#include "app/design.h"
#include "app/widgets.h"
#include "resources/image.h"

namespace kelv::app {

TFormLoadingUI::TFormLoadingUI(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus),
      waitGif_(new QLabel(this)) {
    setObjectName("TFormLoadingUI");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kBusyWidth, kBusyHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
    waitGif_->setObjectName("WaitGif");
    waitGif_->setGeometry(0, 0, 200, 192);
    waitGif_->setScaledContents(true);
    try {
        const res::Animation animation = res::LoadAnimation(res::kBusyAnimation);
        for (const res::AnimationFrame& f : animation.frames) {
            QImage image = ToQImage(f.image).scaled(200, 192);
            // Black is the see-through colour, as transparent pixels are.
            QImage rgb = image.convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < rgb.height(); ++y) {
                auto* row = reinterpret_cast<QRgb*>(rgb.scanLine(y));
                for (int x = 0; x < rgb.width(); ++x) {
                    if (qAlpha(row[x]) < 128) row[x] = qRgb(0, 0, 0);
                }
            }
            QImage full(kBusyWidth, kBusyHeight, QImage::Format_RGB32);
            full.fill(Qt::black);
            for (int y = 0; y < rgb.height(); ++y) {
                std::memcpy(full.scanLine(y), rgb.constScanLine(y), 200 * 4);
            }
            Frame frame;
            frame.mask =
                QBitmap::fromImage(full.createMaskFromColor(qRgb(0, 0, 0), Qt::MaskInColor));
            frame.pixmap = QPixmap::fromImage(image);
            frame.delayMs = f.delayMs > 0 ? f.delayMs : 50;
            frames_.push_back(std::move(frame));
        }
    } catch (const std::exception&) {
        frames_.clear();
    }
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { ShowFrame((frame_ + 1) % FrameCount()); });
    if (!frames_.empty()) ShowFrame(0);
}

void TFormLoadingUI::ShowFrame(int index) {
    if (frames_.empty()) return;
    frame_ = index;
    waitGif_->setPixmap(frames_[index].pixmap);
    if (!frames_[index].mask.isNull()) setMask(frames_[index].mask);
    if (isVisible()) timer_.start(frames_[index].delayMs);
}

// The animation runs only while someone can see it, so an idle window costs nothing.
void TFormLoadingUI::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!frames_.empty()) timer_.start(frames_[frame_].delayMs);
}

void TFormLoadingUI::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    timer_.stop();
}

}  // namespace kelv::app
