#include "desktop/wayland/compositor_frames.h"

#include <QtGui/private/qhighdpiscaling_p.h>
#include <qdrawutil.h>
#include <qpa/qplatformnativeinterface.h>
#include <qpa/qplatformwindow.h>
#include <qpa/qwindowsysteminterface.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QMoveEvent>
#include <QPainter>
#include <QWindow>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "desktop/wayland/fractional_grain.h"
#include "desktop/wayland/wayland_globals.h"
#include "fractional-scale-v1-client-protocol.h"
#include "frames/eight_pixels.h"
#include "frames/row_widening.h"
#include "viewporter-client-protocol.h"

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

constexpr int kWholeScale = 120;

void PreferredScale(void* data, wp_fractional_scale_v1*, std::uint32_t scale120) {
    static_cast<CompositorFrames*>(data)->Prefer(static_cast<int>(scale120));
}

const wp_fractional_scale_v1_listener kScaleListener = {PreferredScale};

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
    if (viewport_) wp_viewport_destroy(viewport_);
    if (scale_) wp_fractional_scale_v1_destroy(scale_);
    if (viewporter_) wp_viewporter_destroy(viewporter_);
    if (scales_) wp_fractional_scale_manager_v1_destroy(scales_);
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
    if (!display_ || !native || !window.windowHandle()) return false;
    auto* parent =
        static_cast<wl_surface*>(native->nativeResourceForWindow("surface", window.windowHandle()));
    if (!parent) return false;

    queue_ = wl_display_create_queue(display_);
    BindGlobals(display_, queue_,
                {{wl_compositor_interface, 4, reinterpret_cast<void**>(&compositor_)},
                 {wl_subcompositor_interface, 1, reinterpret_cast<void**>(&subcompositor_)},
                 {wl_shm_interface, 1, reinterpret_cast<void**>(&shm_)},
                 {wp_fractional_scale_manager_v1_interface, 1, reinterpret_cast<void**>(&scales_)},
                 {wp_viewporter_interface, 1, reinterpret_cast<void**>(&viewporter_)}});
    if (!compositor_ || !subcompositor_ || !shm_) return false;
    // A window at the toolkit's whole scale shows frames here only where the compositor may
    // yet tell it a fractional one.
    const bool fractional = scales_ && viewporter_;
    if (window.devicePixelRatio() != 1.0 && !fractional) return false;

    surface_ = wl_compositor_create_surface(compositor_);
    damageInBufferPixels_ = BoundVersion(compositor_) >= WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION;
    subsurface_ = wl_subcompositor_get_subsurface(subcompositor_, surface_, parent);
    // Shown the moment it is committed, whatever the window's own surface does.
    wl_subsurface_set_desync(subsurface_);
    // The pointer passes through to the picture area beneath.
    wl_region* nowhere = wl_compositor_create_region(compositor_);
    wl_surface_set_input_region(surface_, nowhere);
    wl_region_destroy(nowhere);
    if (fractional) {
        viewport_ = wp_viewporter_get_viewport(viewporter_, surface_);
        scale_ = wp_fractional_scale_manager_v1_get_fractional_scale(scales_, parent);
        wp_fractional_scale_v1_add_listener(scale_, &kScaleListener, this);
    }

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
    if (followed120_ != kWholeScale) {
        const QRect placed(area.topLeft(), shown.size());
        const QRect covered = OnGrain(placed, PixelGrain(followed120_));
        Buffer& buffer = FreeBuffer(covered.size());
        if (covered != placed_) around_ = QImage();
        FillAround(buffer, picture, covered, placed);
        onSurface_ = QImage();
        wl_surface_attach(surface_, buffer.buffer, 0, 0);
        buffer.busy = true;
        wl_surface_damage_buffer(surface_, 0, 0, covered.width(), covered.height());
        wl_surface_commit(surface_);
        Place(covered);
        wl_display_flush(display_);
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

    Place(QRect(area.topLeft(), shown.size()));
    wl_display_flush(display_);
}

void CompositorFrames::Place(const QRect& covered) {
    if (!mover_) {
        // The window's own child that holds the area: the frame it sits in moves it when the
        // window changes size or bar, and the surface must move with it (eventFilter).
        QWidget* holder = window_->childAt(covered.center());
        while (holder && holder->parentWidget() != window_) holder = holder->parentWidget();
        if ((mover_ = holder)) holder->installEventFilter(this);
    }
    if (covered == placed_) return;
    if (followed120_ != kWholeScale && covered.size() != placed_.size())
        wp_viewport_set_destination(viewport_, ToUnits(covered.width(), followed120_),
                                    ToUnits(covered.height(), followed120_));
    placed_ = covered;
    wl_subsurface_set_position(subsurface_, ToUnits(covered.x(), followed120_),
                               ToUnits(covered.y(), followed120_));
    // The place is the window's to commit, and what the own surface no longer covers
    // shows the window's painting: the toolkit paints it whole and commits it.
    lost_();
}

void CompositorFrames::FillAround(Buffer& buffer, const QImage& picture, const QRect& covered,
                                  const QRect& placed) {
    const QSize size = buffer.size;
    if (around_.size() != size) {
        // The window as the toolkit paints it, one logical pixel to a pixel: at this scale a
        // logical pixel is a screen pixel.
        around_ = QImage(size, QImage::Format_RGB32);
        window_->render(&around_, QPoint(), QRegion(covered));
        // The styles draw a panel's edge for the device they think they paint on, the window
        // at the toolkit's scale: the frame's edge and background are drawn again for this one.
        if (const auto* panel = qobject_cast<QFrame*>(window_->childAt(placed.topLeft()));
            panel && panel->frameShape() == QFrame::WinPanel) {
            const QRect outer(panel->mapTo(window_, QPoint()), panel->size());
            QPainter painter(&around_);
            painter.translate(-covered.topLeft());
            painter.setClipRect(outer & covered);
            const QBrush background = panel->palette().brush(panel->backgroundRole());
            qDrawWinPanel(&painter, outer, panel->palette(), panel->frameShadow() == QFrame::Sunken,
                          &background);
        }
    }
    const QRect at = placed.translated(-covered.topLeft());
    auto* pixels = static_cast<std::uint32_t*>(buffer.pixels);
    for (int y = 0; y < size.height(); ++y)
        std::memcpy(pixels + static_cast<std::ptrdiff_t>(y) * size.width(),
                    around_.constScanLine(y), static_cast<std::size_t>(size.width()) * 4);
    for (int y = 0; y < at.height(); ++y) {
        const uchar* bits = picture.constScanLine(y);
        std::uint32_t* row =
            pixels + static_cast<std::ptrdiff_t>(at.y() + y) * size.width() + at.x();
        for (int x = 0; x < at.width(); ++x) row[x] = frames::EightPixels(bits[x / 8])[x % 8];
    }
    buffer.holds = QImage();
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
    if (scale_) {
        wl_display_dispatch_queue_pending(display_, queue_);
        FollowScale();
    }
    // A window moved to a scaled screen is painted by the toolkit, where this surface would
    // cover it.
    if (window_ && !KeepsPixelSize(window_->devicePixelRatio())) Hide();
    // Qt's Wayland plugin writes its requests to the compositor when the event dispatcher
    // wakes, that is at the start of an event step, before this step's repaint is committed.
    // The loop then waits a whole pass, so every commit would wait for the next step, or for
    // whatever the compositor sends in between: frames reached the screen in pairs. What the
    // step left in the connection is sent now; with nothing there, this costs no call.
    if (display_) wl_display_flush(display_);
}

bool CompositorFrames::KeepsPixelSize(qreal devicePixelRatio) const {
    return followed120_ != kWholeScale || devicePixelRatio == 1.0;
}

void CompositorFrames::FollowScale() {
    // A whole scale is the toolkit's own, as where no fractional one is told.
    const int wanted = preferred120_ % kWholeScale == 0 ? kWholeScale : preferred120_;
    if (!window_ || wanted == followed120_ || !window_->windowHandle() ||
        !window_->windowHandle()->handle())
        return;
    Hide();
    around_ = QImage();
    // Back at a whole scale the surface shows its buffer at its own size again.
    if (wanted == kWholeScale) wp_viewport_set_destination(viewport_, -1, -1);
    followed120_ = wanted;
    // One logical pixel to one screen pixel: the toolkit multiplies its own whole scale by
    // this factor. Its window keeps the size it had in surface units until told again, and
    // then takes its own size back (WaylandFrame).
    QWindow* handle = window_->windowHandle();
    QHighDpiScaling::setScreenFactor(handle->screen(), qreal(kWholeScale) / wanted);
    QWindowSystemInterface::handleGeometryChange<QWindowSystemInterface::SynchronousDelivery>(
        handle, handle->handle()->geometry());
    if (lost_) lost_();
}

bool CompositorFrames::eventFilter(QObject* watched, QEvent* event) {
    if (!placed_.isValid()) return false;
    if (watched == window_ && event->type() == QEvent::Resize && lost_) {
        // The window is painted anew at its new size, and the frame sent again.
        around_ = QImage();
        lost_();
    } else if (watched == mover_ && event->type() == QEvent::Move) {
        // A subsurface takes its new place with the window's next commit: set now, it moves
        // in the very commit that shows the window's new layout, not a whole pass later.
        const auto* move = static_cast<QMoveEvent*>(event);
        placed_.translate(move->pos() - move->oldPos());
        wl_subsurface_set_position(subsurface_, ToUnits(placed_.x(), followed120_),
                                   ToUnits(placed_.y(), followed120_));
    }
    return false;
}

}  // namespace kelto
