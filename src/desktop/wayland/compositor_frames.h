#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "window/frame_sender.h"

struct wl_buffer;
struct wl_compositor;
struct wl_display;
struct wl_event_queue;
struct wl_shm;
struct wl_subcompositor;
struct wl_subsurface;
struct wl_surface;
struct wp_fractional_scale_manager_v1;
struct wp_fractional_scale_v1;
struct wp_viewport;
struct wp_viewporter;

namespace kelto {

// Frames on Wayland, past the toolkit: each is drawn into a shared-memory buffer of the
// program's own and shown on a surface of its own, placed over the picture area's inner area
// and committed on its own. A pass widens the bytes in which the picture differs from what the
// buffer held, and commits: no repaint, no copy of the toolkit's whole window, which the
// compositor would otherwise receive anew for every frame. Buffers the compositor still reads
// are left alone; a few take turns.
//
// Where the compositor tells the window a fractional scale (wp_fractional_scale_v1), the
// toolkit's layout follows it, one logical pixel to one screen pixel, and the toolkit paints at
// its whole scale, which the compositor shrinks. The frames stay sharp: the own surface covers
// the client area on whole surface units, and its buffer, the frames with the window's pixels
// around them, is shown pixel for pixel through a viewport.
//
// Where the window is scaled by a whole factor the toolkit paints the frames, and each event
// step's repaint is sent as soon as the step is over.
class CompositorFrames final : public FrameSender, private QObject {
  public:
    CompositorFrames();
    ~CompositorFrames() override;
    CompositorFrames(const CompositorFrames&) = delete;
    CompositorFrames& operator=(const CompositorFrames&) = delete;

    // False where the window is scaled or the compositor lacks what is needed.
    bool Start(QWidget& window, std::function<void()> lost) override;
    // Throws when the compositor keeps hold of every buffer it was given.
    void Show(const QImage& picture, const QRect& area) override;
    void EndOfEventStep() override;
    bool KeepsPixelSize(qreal devicePixelRatio) const override;

    // The compositor's preferred scale, in 120ths.
    void Prefer(int scale120) { preferred120_ = scale120; }

    struct Buffer;  // in the source

  private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    Buffer& FreeBuffer(QSize size);
    void Hide();
    void FollowScale();
    void Place(const QRect& covered);
    void FillAround(Buffer& buffer, const QImage& picture, const QRect& covered,
                    const QRect& placed);

    wl_display* display_ = nullptr;
    wl_event_queue* queue_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    wl_subcompositor* subcompositor_ = nullptr;
    wl_shm* shm_ = nullptr;
    wl_surface* surface_ = nullptr;
    wl_subsurface* subsurface_ = nullptr;
    wp_fractional_scale_manager_v1* scales_ = nullptr;
    wp_viewporter* viewporter_ = nullptr;
    wp_fractional_scale_v1* scale_ = nullptr;
    wp_viewport* viewport_ = nullptr;
    // The scale the compositor prefers for the window, and the one the layout follows (120:
    // the toolkit's own whole scale), both in 120ths.
    int preferred120_ = 0;
    int followed120_ = 120;
    // At a fractional scale: the window's own pixels around the frame, as the surface covers
    // them, drawn at one pixel a screen pixel.
    QImage around_;
    // Whether the surface takes damage in buffer pixels (wl_surface version 4 and later).
    bool damageInBufferPixels_ = false;
    QPointer<QWidget> window_;
    // The window's child that holds the picture area, watched for its moves.
    QPointer<QWidget> mover_;
    std::function<void()> lost_;
    std::vector<std::unique_ptr<Buffer>> buffers_;
    // Where the own surface stands and how large it is, once a frame is shown, in the window's
    // logical pixels; at a fractional scale it covers more than the frame, out to the grain.
    QRect placed_;
    // The picture the own surface shows, or none.
    QImage onSurface_;
};

}  // namespace kelto
