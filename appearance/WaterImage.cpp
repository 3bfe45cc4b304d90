#include "appearance/WaterImage.h"

#include "appearance/BannerImage.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace {

TRGBView viewOf(QImage& image) {
    return {image.bits(), image.width(), image.height(), static_cast<std::ptrdiff_t>(image.bytesPerLine())};
}

// The source is only read; constBits avoids detaching a frame shared with a handler's copy.
TRGBView readViewOf(const QImage& image) {
    return {const_cast<std::uint8_t*>(image.constBits()), image.width(), image.height(),
            static_cast<std::ptrdiff_t>(image.bytesPerLine())};
}

} // namespace

TWaterImage::TWaterImage(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    resize(105, 105);
    FTimer.setInterval(50);
    connect(&FTimer, &QTimer::timeout, this, &TWaterImage::AnimationTick);
    FTimer.start();
    RebuildBitmaps();
}

bool TWaterImage::LoadPictureFromFile(const QString& path, QString* error) {
    const QImage image = LoadBannerJpeg(path, error);
    if (image.isNull())
        return false;
    SetPicture(image);
    return true;
}

void TWaterImage::SetPicture(const QImage& APicture) {
    FPicture = APicture;
    PictureChanged();
}

void TWaterImage::SetInterval(int ms) {
    FAnimate = ms > 0;
    if (FAnimate)
        FTimer.setInterval(ms);
    FTimer.stop();
    UpdateAnimation();
}

void TWaterImage::SetRunsInBackground(bool on) {
    FRunInBackground = on;
    UpdateAnimation();
}

bool TWaterImage::CanBeSeen() const {
    if (!isVisible() || window()->isMinimized())
        return false;
    if (FRunInBackground)
        return true;
    return isActiveWindow() && (!FWatchedSurface || FWatchedSurface->isExposed());
}

void TWaterImage::UpdateAnimation() {
    // Before the control is first shown the timer runs as it always has, so a control that
    // is driven without a window keeps ticking; from then on it follows visibility.
    const bool run = FAnimate && (FWatchedWindow == nullptr || CanBeSeen());
    if (run && !FTimer.isActive())
        FTimer.start();
    else if (!run)
        FTimer.stop();
}

bool TWaterImage::event(QEvent* event) {
    const bool result = QWidget::event(event);
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
        if (event->type() == QEvent::Show)
            WatchWindow();
        UpdateAnimation();
    }
    return result;
}

void TWaterImage::WatchWindow() {
    if (FWatchedWindow != window()) {
        if (FWatchedWindow)
            FWatchedWindow->removeEventFilter(this);
        FWatchedWindow = window();
        FWatchedWindow->installEventFilter(this);
    }
    QWindow* surface = FWatchedWindow->windowHandle();
    if (FWatchedSurface != surface) {
        if (FWatchedSurface)
            FWatchedSurface->removeEventFilter(this);
        FWatchedSurface = surface;
        if (surface)
            surface->installEventFilter(this);
    }
}

bool TWaterImage::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool windowChange =
        watched == FWatchedWindow && (type == QEvent::WindowStateChange || type == QEvent::Show ||
                                      type == QEvent::Hide || type == QEvent::ActivationChange);
    const bool exposureChange = watched == FWatchedSurface && type == QEvent::Expose;
    if (windowChange || exposureChange)
        // After the window has handled the change, so that it tells the new state.
        QMetaObject::invokeMethod(this, &TWaterImage::UpdateAnimation, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

void TWaterImage::PictureChanged() {
    if (FAutoSize && FPicture.width() > 0 && FPicture.height() > 0)
        resize(FPicture.size());
    // Opaque only when there is a frame to cover the area; otherwise the parent shows through.
    setAttribute(Qt::WA_OpaquePaintEvent, !FPicture.isNull());
    RebuildBitmaps();
    if (!FDrawing)
        update();
}

void TWaterImage::RebuildBitmaps() {
    const int w = width();
    const int h = height();
    FWater.SetSize(w, h);
    if (w < 1 || h < 1) {
        FSrcBmp = QImage();
        FDstBmp = QImage();
        return;
    }
    if (FPicture.isNull()) {
        FSrcBmp = QImage(w, h, QImage::Format_RGB888);
        FSrcBmp.fill(Qt::black);
    } else {
        FSrcBmp = FPicture.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      .convertToFormat(QImage::Format_RGB888);
    }
    FDstBmp = FSrcBmp.copy();
}

void TWaterImage::AnimationTick() {
    if (FWatchedWindow && !CanBeSeen()) {
        UpdateAnimation();
        return;
    }
    const bool frameDue = !FLastFrame.isValid() || FLastFrame.elapsed() >= kMinFrameMs;
    if (frameDue || FOnBeforeRender || FOnAfterRender) {
        FLastFrame.start();
        TimerTick();
        return;
    }
    if (!isEnabled() || FPicture.isNull() || FSrcBmp.isNull())
        return;
    AddRandomDrop();
    FWater.Step();
}

void TWaterImage::AddRandomDrop() {
    if (FRandomDelay > 0 && FRandomBlob > 0) {
        const int interval = std::max(FTimer.interval(), 1);
        const int n = static_cast<int>(std::ceil(static_cast<double>(FRandomDelay) / interval));
        if (FWater.Random(n + 1) == 0) {
            // Radius first, then height: the order the drops have always been drawn in.
            const int radius = FWater.Random(2) + 1;
            const int height = FWater.Random(FRandomBlob) + 100;
            FWater.Blob(-1, -1, radius, height);
        }
    }
}

void TWaterImage::TimerTick() {
    if (!isEnabled() || FPicture.isNull() || FSrcBmp.isNull())
        return;
    AddRandomDrop();
    if (FOnBeforeRender) {
        QImage source = FSrcBmp.copy();
        FOnBeforeRender(this, source);
        if (source.format() != QImage::Format_RGB888)
            source = source.convertToFormat(QImage::Format_RGB888);
        FWater.Render(readViewOf(source), viewOf(FDstBmp));
    } else {
        FWater.Render(readViewOf(FSrcBmp), viewOf(FDstBmp));
    }
    if (FOnAfterRender)
        FOnAfterRender(this, FDstBmp);
    update();
}

void TWaterImage::paintEvent(QPaintEvent*) {
    const bool wasDrawing = FDrawing;
    FDrawing = true;
    if (!FPicture.isNull() && !FDstBmp.isNull()) {
        QPainter painter(this);
        painter.drawImage(0, 0, FDstBmp);
    }
    FDrawing = wasDrawing;
}

void TWaterImage::resizeEvent(QResizeEvent* event) {
    RebuildBitmaps();
    QWidget::resizeEvent(event);
}

void TWaterImage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (rect().contains(p))
        FWater.Blob(p.x(), p.y(), FRadius, (event->buttons() & Qt::LeftButton) ? FClickBlob : FTrackBlob);
    event->accept();
}

void TWaterImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        FWater.Blob(p.x(), p.y(), FRadius, FClickBlob);
    }
    event->accept();
}
