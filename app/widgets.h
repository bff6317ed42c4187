// The few widget classes of the skinned window: labels that report the pointer to the window,
// and the decoded-picture cache.
#pragma once

#include <QHash>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <functional>
#include <string_view>

#include "resources/image.h"

namespace kelv::app {

class SkinLabel;

// Receives what happens on the labels and groups, by control name.
class LabelSink {
  public:
    virtual ~LabelSink() = default;
    virtual void LabelEnter(QWidget* label) = 0;
    virtual void LabelLeave(QWidget* label) = 0;
    virtual void LabelPress(QWidget* label, QMouseEvent* event) = 0;
    virtual void LabelMove(QWidget* label, QMouseEvent* event) = 0;
    virtual void LabelRelease(QWidget* label, QMouseEvent* event) = 0;
    virtual void LabelClick(QWidget* label) = 0;
};

// A picture or a transparent caption. Pictures take the size of what is put into them.
class SkinLabel : public QLabel {
  public:
    SkinLabel(LabelSink* sink, QWidget* parent) : QLabel(parent), sink_(sink) {}
    // Shows a picture at its own size.
    void SetPicture(const QPixmap& pixmap);
    // Takes the picture's size now and decodes it with `load` when the label is first painted,
    // so that the pictures of pages nobody opens cost nothing at start-up.
    void SetPicture(QSize size, std::function<QPixmap()> load);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    LabelSink* sink_;
    bool pressed_ = false;
    QPixmap picture_;
    std::function<QPixmap()> load_;
};

// A page or option group: transparent, reports clicks on its own background.
class GroupWidget : public QWidget {
  public:
    GroupWidget(LabelSink* sink, QWidget* parent) : QWidget(parent), sink_(sink) {}

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    LabelSink* sink_;
};

// RGBA from the decoders to a QImage (the resources never go through Qt's image plugins).
QImage ToQImage(const res::Image& image);

// Decoded pictures by resource name; decoding happens once per name.
class PictureCache {
  public:
    // Throws res::ResourceError or res::ImageError.
    const QPixmap& Get(std::string_view resource);
    const QImage& Image(std::string_view resource);
    // The picture with every pixel of the key colour made transparent.
    const QPixmap& Keyed(std::string_view resource, QRgb key);

  private:
    QHash<QString, QPixmap> pixmaps_;
    QHash<QString, QImage> images_;
};

}  // namespace kelv::app
