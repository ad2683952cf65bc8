#pragma once
// The page is the clock's window: it owns the window model and shows it.
// The client area is the whole viewport (a CSS pixel is 15 twips; the page
// has no frame, so the outer size is the client size); a change of the
// viewport's size or pixel ratio is a resize of the window. A page cannot
// size its own viewport, so the window's own size requests are met only
// where the viewport already has that size, and otherwise the viewport's
// size stands, as a window manager's may. The window's caption is the
// document's title.

#include <memory>

#include "web/browser_clock.h"
#include "web/canvas_text_measurer.h"
#include "web/face_access.h"
#include "web/face_canvas.h"
#include "web/face_touch.h"
#include "web/timer_driver.h"
#include "web/title_help.h"
#include "web/windowed_controls.h"
#include "window/form88.h"

namespace tirpo::web {

class WebWindow final : private ControlObserver {
 public:
  WebWindow();
  ~WebWindow() override;
  // Loads the window and shows it in the page.
  void start();

 private:
  void controlChanged(Control& control, Aspect aspect) override;
  void controlLoaded(Control& control) override;
  void windowChanged(Aspect aspect) override;
  void viewportChanged();
  void shownChanged(Aspect aspect);
  void watchPixelRatio();

  BrowserClock clock_;
  CanvasTextMeasurer measurer_;
  Form88 form_;
  FaceCanvas canvas_;
  std::unique_ptr<WindowedControls> controls_;
  std::unique_ptr<FaceAccess> access_;
  std::unique_ptr<FaceTouch> touch_;
  std::unique_ptr<TitleHelp> titleHelp_;
  TimerDriver timer1_, timer4_;
};

}  // namespace tirpo::web
