#include "platform/window_frame.h"

#include <xcb/xcb.h>
#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <cmath>
#include <cstring>

namespace tirpo {

namespace {

bool onX11() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

xcb_connection_t* x11Connection() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

// The _NET_FRAME_EXTENTS atom, or XCB_ATOM_NONE when no client has ever
// named it on this display (then no window manager publishes it).
xcb_atom_t frameExtentsAtom(xcb_connection_t* c) {
  static xcb_connection_t* cachedFor = nullptr;
  static xcb_atom_t atom = XCB_ATOM_NONE;
  if (cachedFor == c) return atom;
  static const char kName[] = "_NET_FRAME_EXTENTS";
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof kName - 1, kName), nullptr);
  atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  std::free(reply);
  if (atom != XCB_ATOM_NONE) cachedFor = c;  // a name made later is looked up again
  return atom;
}

// Left, right, top, bottom as the window manager published them on the
// client window, in device pixels; empty where it published nothing.
QMargins x11FrameExtents(xcb_window_t window) {
  xcb_connection_t* c = x11Connection();
  if (!c) return {};
  const xcb_atom_t atom = frameExtentsAtom(c);
  if (atom == XCB_ATOM_NONE) return {};
  xcb_get_property_reply_t* reply =
      xcb_get_property_reply(c, xcb_get_property(c, 0, window, atom, XCB_ATOM_CARDINAL, 0, 4), nullptr);
  QMargins extents;
  if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 16) {
    std::uint32_t v[4];
    std::memcpy(v, xcb_get_property_value(reply), sizeof v);
    extents = QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]), static_cast<int>(v[3]));
  }
  std::free(reply);
  return extents;
}

QMargins toLogical(const QMargins& device, double ratio) {
  if (ratio == 1.0) return device;
  auto l = [ratio](int v) { return static_cast<int>(std::lround(v / ratio)); };
  return {l(device.left()), l(device.top()), l(device.right()), l(device.bottom())};
}

}  // namespace

QMargins drawnFrame(const QWidget& window) {
  const QWindow* handle = window.windowHandle();
  if (!handle || !window.testAttribute(Qt::WA_WState_Created)) return {};
  // Qt's own frame margins on X11 fall back to the distance to the manager's
  // outermost window, which counts invisible shadows and frames of unknown
  // size; only what the manager publishes is taken.
  if (onX11()) return toLogical(x11FrameExtents(static_cast<xcb_window_t>(window.winId())), handle->devicePixelRatio());
  // Platforms that show nothing on a screen draw no frame, whatever margins
  // they make up.
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return {};
  // Wayland: the margins of the decoration Qt draws (none when the
  // compositor decorates). Elsewhere: what the platform reports.
  const QMargins m = handle->frameMargins();
  return m.left() >= 0 && m.top() >= 0 && m.right() >= 0 && m.bottom() >= 0 ? m : QMargins();
}

// Hears the X11 PropertyNotify of _NET_FRAME_EXTENTS on the watched window.
class FrameWatch::X11Filter final : public QAbstractNativeEventFilter {
 public:
  explicit X11Filter(FrameWatch& watch) : watch_(watch) {}
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    const auto* ev = static_cast<const xcb_generic_event_t*>(message);
    if ((ev->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) return false;
    const auto* prop = static_cast<const xcb_property_notify_event_t*>(message);
    if (!watch_.window_.testAttribute(Qt::WA_WState_Created) ||
        prop->window != static_cast<xcb_window_t>(watch_.window_.winId()))
      return false;
    xcb_connection_t* c = x11Connection();
    if (c && prop->atom == frameExtentsAtom(c)) watch_.notify();
    return false;  // Qt reads the property change as well
  }

 private:
  FrameWatch& watch_;
};

FrameWatch::FrameWatch(QWidget& window, std::function<void()> changed)
    : QObject(&window), window_(window), changed_(std::move(changed)) {
  window_.installEventFilter(this);
  if (onX11() && QCoreApplication::instance()) {
    x11_ = std::make_unique<X11Filter>(*this);
    QCoreApplication::instance()->installNativeEventFilter(x11_.get());
  }
  watchNativeWindow();
}

FrameWatch::~FrameWatch() {
  if (x11_ && QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(x11_.get());
}

void FrameWatch::watchNativeWindow() {
  if (QWindow* handle = window_.windowHandle()) {
    handle->removeEventFilter(this);
    handle->installEventFilter(this);
  }
}

bool FrameWatch::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_) {
    if (event->type() == QEvent::WinIdChange || event->type() == QEvent::Show) watchNativeWindow();
    return false;
  }
  switch (event->type()) {
    case QEvent::Expose:
    case QEvent::Resize:  // also sent with an unchanged size when Qt's decoration changes
    case QEvent::Move:
    case QEvent::PlatformSurface:
      notify();
      break;
    default:
      break;
  }
  return false;
}

void FrameWatch::notify() {
  if (pending_) return;
  pending_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        pending_ = false;
        changed_();
      },
      Qt::QueuedConnection);
}

}  // namespace tirpo
