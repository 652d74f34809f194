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

namespace kelto {

// Frames on Wayland, past the toolkit: each is drawn into a shared-memory buffer of the
// program's own and shown on a surface of its own, placed over the picture area's inner area
// and committed on its own. A pass widens the bytes in which the picture differs from what the
// buffer held, and commits: no repaint, no copy of the toolkit's whole window, which the
// compositor would otherwise receive anew for every frame. Buffers the compositor still reads
// are left alone; a few take turns.
//
// Where the window is scaled the toolkit paints the frames, and each event step's repaint is
// sent as soon as the step is over.
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

    struct Buffer;  // in the source

  private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    Buffer& FreeBuffer(QSize size);
    void Hide();

    wl_display* display_ = nullptr;
    wl_event_queue* queue_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    wl_subcompositor* subcompositor_ = nullptr;
    wl_shm* shm_ = nullptr;
    wl_surface* surface_ = nullptr;
    wl_subsurface* subsurface_ = nullptr;
    // Whether the surface takes damage in buffer pixels (wl_surface version 4 and later).
    bool damageInBufferPixels_ = false;
    QPointer<QWidget> window_;
    // The window's child that holds the picture area, watched for its moves.
    QPointer<QWidget> mover_;
    std::function<void()> lost_;
    std::vector<std::unique_ptr<Buffer>> buffers_;
    // Where the own surface stands and how large it is, once a frame is shown.
    QRect placed_;
    // The picture the own surface shows, or none.
    QImage onSurface_;
};

}  // namespace kelto
