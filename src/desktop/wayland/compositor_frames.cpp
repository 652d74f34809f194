#include "desktop/wayland/compositor_frames.h"

#include <qpa/qplatformnativeinterface.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <QEvent>
#include <QGuiApplication>
#include <QMoveEvent>
#include <QWindow>
#include <cstdint>
#include <stdexcept>

#include "desktop/wayland/wayland_globals.h"
#include "frames/row_widening.h"

namespace kelto {

struct CompositorFrames::Buffer {
    wl_buffer* buffer = nullptr;
    void* pixels = nullptr;
    std::size_t bytes = 0;
    QSize size;
    // The picture drawn in it, or none.
    QImage holds;
    // Attached and not yet released by the compositor.
    bool busy = false;

    ~Buffer() {
        if (buffer) wl_buffer_destroy(buffer);
        if (pixels) munmap(pixels, bytes);
    }
};

namespace {

constexpr int kBytesPerPixel = 4;
// Enough for the one shown, the one on its way and one whose release is still in transit.
constexpr std::size_t kUsualBuffers = 3;
// A compositor holding more than this many is keeping them: the program would grow without end.
constexpr std::size_t kMostBuffers = 8;

void Released(void* data, wl_buffer*) {
    static_cast<CompositorFrames::Buffer*>(data)->busy = false;
}

const wl_buffer_listener kBufferListener = {Released};

frames::OneBitRows RowsOf(const QImage& picture) {
    if (picture.isNull()) return {};
    return {picture.constBits(), picture.bytesPerLine()};
}

}  // namespace

CompositorFrames::CompositorFrames() {
    if (QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface())
        display_ = static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"));
}

CompositorFrames::~CompositorFrames() {
    buffers_.clear();
    if (subsurface_) wl_subsurface_destroy(subsurface_);
    if (surface_) wl_surface_destroy(surface_);
    if (shm_) wl_shm_destroy(shm_);
    if (subcompositor_) wl_subcompositor_destroy(subcompositor_);
    if (compositor_) wl_compositor_destroy(compositor_);
    if (display_) wl_display_flush(display_);
    if (queue_) wl_event_queue_destroy(queue_);
}

bool CompositorFrames::Start(QWidget& window, std::function<void()> lost) {
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (!display_ || !native || !window.windowHandle() || window.devicePixelRatio() != 1.0)
        return false;
    auto* parent =
        static_cast<wl_surface*>(native->nativeResourceForWindow("surface", window.windowHandle()));
    if (!parent) return false;

    queue_ = wl_display_create_queue(display_);
    BindGlobals(display_, queue_,
                {{wl_compositor_interface, 4, reinterpret_cast<void**>(&compositor_)},
                 {wl_subcompositor_interface, 1, reinterpret_cast<void**>(&subcompositor_)},
                 {wl_shm_interface, 1, reinterpret_cast<void**>(&shm_)}});
    if (!compositor_ || !subcompositor_ || !shm_) return false;

    surface_ = wl_compositor_create_surface(compositor_);
    damageInBufferPixels_ = BoundVersion(compositor_) >= WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION;
    subsurface_ = wl_subcompositor_get_subsurface(subcompositor_, surface_, parent);
    // Shown the moment it is committed, whatever the window's own surface does.
    wl_subsurface_set_desync(subsurface_);
    // The pointer passes through to the picture area beneath.
    wl_region* nowhere = wl_compositor_create_region(compositor_);
    wl_surface_set_input_region(surface_, nowhere);
    wl_region_destroy(nowhere);

    window_ = &window;
    lost_ = std::move(lost);
    // A frame that grows, shrinks or takes another bar moves the picture area in the window.
    window.installEventFilter(this);
    return true;
}

void CompositorFrames::Show(const QImage& picture, const QRect& area) {
    const QRect shown = picture.rect() & QRect(QPoint(0, 0), area.size());
    if (shown.isEmpty()) {
        Hide();
        return;
    }
    Buffer& buffer = FreeBuffer(shown.size());
    // Frames a step apart share most of their bits: only the bytes that differ from what this
    // buffer held are widened. The compositor keeps what the surface showed last, so it is told
    // of the rows that differ from that.
    frames::WidenRows(RowsOf(picture), RowsOf(buffer.holds), shown.width(), shown.height(),
                      static_cast<std::uint32_t*>(buffer.pixels));
    buffer.holds = picture;
    const frames::RowSpan changed = frames::RowsThatDiffer(
        RowsOf(picture), RowsOf(placed_.size() == shown.size() ? onSurface_ : QImage()),
        shown.width(), shown.height());
    onSurface_ = picture;
    wl_surface_attach(surface_, buffer.buffer, 0, 0);
    buffer.busy = true;
    if (damageInBufferPixels_)
        wl_surface_damage_buffer(surface_, 0, changed.top, shown.width(), changed.count);
    else
        wl_surface_damage(surface_, 0, changed.top, shown.width(), changed.count);
    wl_surface_commit(surface_);

    const QRect placed(area.topLeft(), shown.size());
    if (!mover_) {
        // The window's own child that holds the area: the frame it sits in moves it when the
        // window changes size or bar, and the surface must move with it (eventFilter).
        QWidget* holder = window_->childAt(area.topLeft());
        while (holder && holder->parentWidget() != window_) holder = holder->parentWidget();
        if ((mover_ = holder)) holder->installEventFilter(this);
    }
    if (placed != placed_) {
        placed_ = placed;
        wl_subsurface_set_position(subsurface_, placed.x(), placed.y());
        // The place is the window's to commit, and what the own surface no longer covers
        // shows the window's painting: the toolkit paints it whole and commits it.
        lost_();
    }
    wl_display_flush(display_);
}

CompositorFrames::Buffer& CompositorFrames::FreeBuffer(QSize size) {
    wl_display_dispatch_queue_pending(display_, queue_);
    const auto find = [&]() -> Buffer* {
        for (auto& buffer : buffers_)
            if (!buffer->busy && buffer->size == size) return buffer.get();
        // One of another size is of no more use.
        for (auto& buffer : buffers_)
            if (!buffer->busy) {
                buffer = std::make_unique<Buffer>();
                return buffer.get();
            }
        return nullptr;
    };
    Buffer* found = find();
    if (!found && buffers_.size() >= kUsualBuffers) {
        // The compositor's releases may still be on their way.
        wl_display_roundtrip_queue(display_, queue_);
        found = find();
    }
    if (!found) {
        if (buffers_.size() >= kMostBuffers)
            throw std::runtime_error("cannot show a frame: the compositor keeps every buffer");
        found = buffers_.emplace_back(std::make_unique<Buffer>()).get();
    }
    if (found->buffer) return *found;
    found->holds = QImage();

    const int stride = size.width() * kBytesPerPixel;
    const auto bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(size.height());
    const int fd = memfd_create("kelto-frame", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, static_cast<off_t>(bytes)) != 0) {
        if (fd >= 0) close(fd);
        throw std::runtime_error("cannot show a frame: no shared memory for it");
    }
    void* pixels = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels == MAP_FAILED) {
        close(fd);
        throw std::runtime_error("cannot show a frame: no shared memory for it");
    }
    wl_shm_pool* pool = wl_shm_create_pool(shm_, fd, static_cast<std::int32_t>(bytes));
    found->buffer = wl_shm_pool_create_buffer(pool, 0, size.width(), size.height(), stride,
                                              WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    found->pixels = pixels;
    found->bytes = bytes;
    found->size = size;
    wl_buffer_add_listener(found->buffer, &kBufferListener, found);
    return *found;
}

void CompositorFrames::Hide() {
    if (!placed_.isValid()) return;
    placed_ = QRect();
    onSurface_ = QImage();
    wl_surface_attach(surface_, nullptr, 0, 0);
    wl_surface_commit(surface_);
    wl_display_flush(display_);
}

void CompositorFrames::EndOfEventStep() {
    // A window moved to a scaled screen is painted by the toolkit, where this surface would
    // cover it.
    if (window_ && window_->devicePixelRatio() != 1.0) Hide();
    // Qt's Wayland plugin writes its requests to the compositor when the event dispatcher
    // wakes, that is at the start of an event step, before this step's repaint is committed.
    // The loop then waits a whole pass, so every commit would wait for the next step, or for
    // whatever the compositor sends in between: frames reached the screen in pairs. What the
    // step left in the connection is sent now; with nothing there, this costs no call.
    if (display_) wl_display_flush(display_);
}

bool CompositorFrames::eventFilter(QObject* watched, QEvent* event) {
    if (!placed_.isValid()) return false;
    if (watched == window_ && event->type() == QEvent::Resize && lost_) {
        // The window is painted anew at its new size, and the frame sent again.
        lost_();
    } else if (watched == mover_ && event->type() == QEvent::Move) {
        // A subsurface takes its new place with the window's next commit: set now, it moves
        // in the very commit that shows the window's new layout, not a whole pass later.
        const auto* move = static_cast<QMoveEvent*>(event);
        placed_.translate(move->pos() - move->oldPos());
        wl_subsurface_set_position(subsurface_, placed_.x(), placed_.y());
    }
    return false;
}

}  // namespace kelto
