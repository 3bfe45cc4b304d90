#pragma once

#include "appearance/WaterEffect.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>

class TWaterImage;

// Called with the rendered frame (after) or with a copy of the source frame (before); the
// handler may draw on the image it gets.
using TWaterRenderEvent = std::function<void(TWaterImage* Sender, QImage& ABitmap)>;

// A picture shown as if it lay under water: random drops fall on it, the mouse pointer drags
// a wake and the left button splashes. The picture is stretched to the control's size; every
// resize rebuilds the frames and calms the water. Nothing moves while the control is disabled
// or has no picture, and without a picture the control paints nothing, so whatever its parent
// shows behind it (an error text, for instance) stays visible.
class TWaterImage : public QWidget {
    Q_OBJECT

public:
    explicit TWaterImage(QWidget* parent = nullptr);

    void ClearWater() { FWater.ClearWater(); }
    void Blob(int x, int y, int ARadius, int AHeight) { FWater.Blob(x, y, ARadius, AHeight); }

    // Decodes a JPEG file and makes it the picture. On failure the picture is unchanged and
    // `error` says why; switching the effect on (setEnabled) is left to the caller.
    bool LoadPictureFromFile(const QString& path, QString* error = nullptr);

    const QImage& Picture() const { return FPicture; }
    void SetPicture(const QImage& APicture);

    int ClickBlob() const { return FClickBlob; }
    void SetClickBlob(int v) { FClickBlob = v; }
    int Damping() const { return FWater.Damping(); }
    // Values outside 1..99 are ignored.
    void SetDamping(int v) { FWater.SetDamping(v); }
    int Radius() const { return FRadius; }
    void SetRadius(int v) { FRadius = v; }
    int Interval() const { return FTimer.interval(); }
    // Milliseconds between ticks; 0 or less stops the animation timer.
    void SetInterval(int ms);
    int RandomBlob() const { return FRandomBlob; }
    void SetRandomBlob(int v) { FRandomBlob = v; }
    int RandomDelay() const { return FRandomDelay; }
    void SetRandomDelay(int v) { FRandomDelay = v; }
    int TrackBlob() const { return FTrackBlob; }
    void SetTrackBlob(int v) { FTrackBlob = v; }
    // With AutoSize the control takes the picture's size whenever the picture changes.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v) { FAutoSize = v; }

    void SetOnBeforeRender(TWaterRenderEvent handler) { FOnBeforeRender = std::move(handler); }
    void SetOnAfterRender(TWaterRenderEvent handler) { FOnAfterRender = std::move(handler); }

    // The rendered frame; drawing on it draws into what the control shows until the next tick.
    QImage* Canvas() { return &FDstBmp; }
    // The picture stretched to the control's size, which each tick refracts.
    const QImage& SourceFrame() const { return FSrcBmp; }
    TWaterEffect& Water() { return FWater; }

    // Whether the animation timer is running (it pauses while the banner cannot be seen).
    bool IsAnimating() const { return FTimer.isActive(); }
    // Off (the default): the ripple also rests while its window is not the active window or
    // is covered (as far as the window system tells), and goes on where it stopped when the
    // window comes back. On: it runs whenever the window is shown. Minimised, it always rests.
    bool RunsInBackground() const { return FRunInBackground; }
    void SetRunsInBackground(bool on);

    // One animation step: the timer's slot, callable directly.
    void TimerTick();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // The animation runs only while someone looks at it: a hidden control, a minimised window
    // and (unless it runs in the background) an inactive or covered one stop the timer (no
    // wake-ups at all); coming back restarts it.
    bool CanBeSeen() const;
    void WatchWindow();
    // The timer's tick: the water advances at every tick, but a frame is drawn and painted at
    // most every kMinFrameMs (screens show no more), unless render handlers want each frame.
    void AnimationTick();
    void AddRandomDrop();
    static constexpr int kMinFrameMs = 20;
    void UpdateAnimation();
    void RebuildBitmaps();
    void PictureChanged();

    QImage FPicture;
    QTimer FTimer;
    QElapsedTimer FLastFrame;
    bool FAnimate = true;              // the interval asks for ticks
    QPointer<QWidget> FWatchedWindow;  // the top-level window whose minimising pauses us
    QPointer<QWindow> FWatchedSurface; // its window-system window, which says when it is covered
    bool FRunInBackground = false;
    QImage FSrcBmp;
    QImage FDstBmp;
    TWaterEffect FWater;
    bool FDrawing = false;
    bool FAutoSize = false;
    int FRadius = 1;
    int FRandomDelay = 800;
    int FTrackBlob = 100;
    int FClickBlob = 250;
    int FRandomBlob = 500;
    TWaterRenderEvent FOnAfterRender;
    TWaterRenderEvent FOnBeforeRender;
};
