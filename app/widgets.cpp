#include "app/widgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <cstdio>
#include <cstring>
#include <exception>

namespace kelv::app {

void SkinLabel::SetPicture(const QPixmap& pixmap) {
    load_ = nullptr;
    picture_ = pixmap;
    resize(pixmap.size());
    update();
}

void SkinLabel::SetPicture(QSize size, std::function<QPixmap()> load) {
    load_ = std::move(load);
    picture_ = QPixmap();
    resize(size);
    update();
}

void SkinLabel::paintEvent(QPaintEvent* event) {
    if (load_) {
        // The picture was found when it was set; a decoding fault here leaves it blank rather
        // than throwing out of a paint.
        try {
            picture_ = load_();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "kelv731x: %s\n", e.what());
        }
        load_ = nullptr;
    }
    if (!picture_.isNull()) {
        QPainter painter(this);
        painter.drawPixmap(0, 0, picture_);
    }
    QLabel::paintEvent(event);
}

void SkinLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    sink_->LabelEnter(this);
}

void SkinLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    sink_->LabelLeave(this);
}

void SkinLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = true;
    event->accept();
    sink_->LabelPress(this, event);
}

void SkinLabel::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    sink_->LabelMove(this, event);
}

void SkinLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    const bool click = pressed_ && rect().contains(event->position().toPoint());
    pressed_ = false;
    sink_->LabelRelease(this, event);
    if (click) sink_->LabelClick(this);
}

void GroupWidget::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (rect().contains(event->position().toPoint())) sink_->LabelClick(this);
}

QImage ToQImage(const res::Image& image) {
    QImage out(image.width, image.height, QImage::Format_RGBA8888);
    const int rowBytes = image.width * 4;
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(out.scanLine(y), image.rgba.data() + static_cast<std::size_t>(y) * rowBytes,
                    static_cast<std::size_t>(rowBytes));
    }
    return out;
}

const QImage& PictureCache::Image(std::string_view resource) {
    const QString key =
        QString::fromUtf8(resource.data(), static_cast<qsizetype>(resource.size())).toLower();
    auto it = images_.find(key);
    if (it == images_.end()) it = images_.insert(key, ToQImage(res::LoadPicture(resource)));
    return *it;
}

const QPixmap& PictureCache::Keyed(std::string_view resource, QRgb key) {
    const QString name =
        QString::fromUtf8(resource.data(), static_cast<qsizetype>(resource.size())).toLower() +
        QLatin1String("#keyed");
    auto it = pixmaps_.find(name);
    if (it == pixmaps_.end()) {
        QImage image = Image(resource).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if ((row[x] & 0xFFFFFF) == (key & 0xFFFFFF)) row[x] = 0;
            }
        }
        it = pixmaps_.insert(name, QPixmap::fromImage(image));
    }
    return *it;
}

const QPixmap& PictureCache::Get(std::string_view resource) {
    const QString key =
        QString::fromUtf8(resource.data(), static_cast<qsizetype>(resource.size())).toLower();
    auto it = pixmaps_.find(key);
    if (it == pixmaps_.end()) {
        it = pixmaps_.insert(key, QPixmap::fromImage(Image(resource)));
        images_.remove(key);  // the pixmap is what is shown; keep one copy
    }
    return *it;
}

}  // namespace kelv::app
