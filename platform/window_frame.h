#pragma once
// The frame the platform really draws around a top-level window's client
// area, and a watch that says when it may have changed.
//
// One rule everywhere: on X11 the window manager's frame is counted only
// where the manager publishes its size (_NET_FRAME_EXTENTS); a frame it draws
// without saying how large it is counts as nothing, and so does the invisible
// shadow some managers put around their frame. On Wayland the frame is the
// title bar and borders that Qt draws itself (client-side decoration); a
// compositor that decorates the window reports no size, so it counts as
// nothing. The headless platforms (offscreen, minimal) draw none. Other
// platforms report what they draw.

#include <QMargins>
#include <QObject>
#include <functional>
#include <memory>

class QWidget;

namespace tirpo {

// The frame around `window` (a top-level widget), in logical pixels; empty
// while the window has no native window yet.
QMargins drawnFrame(const QWidget& window);

// Calls `changed` whenever the frame around `window` may have changed: once
// the native window is exposed, when the platform resizes or moves it (Qt's
// own decoration appearing or changing on Wayland), and when an X11 window
// manager publishes new frame extents. The call comes from the event loop,
// never from inside the platform's event handling.
class FrameWatch final : public QObject {
 public:
  FrameWatch(QWidget& window, std::function<void()> changed);
  ~FrameWatch() override;

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class X11Filter;
  void watchNativeWindow();
  void notify();

  QWidget& window_;
  std::function<void()> changed_;
  std::unique_ptr<X11Filter> x11_;
  bool pending_ = false;
};

}  // namespace tirpo
