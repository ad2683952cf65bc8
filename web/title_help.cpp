#include "web/title_help.h"

#include <emscripten/eventloop.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "view/title_help.h"
#include "web/dom_events.h"

namespace tirpo::web {

using emscripten::val;

namespace {

// Full screen: the browser's own, the Fullscreen API's, or the installed
// app's when it asks for it.
const char* const kFullScreen = "(display-mode: fullscreen)";
// An installed app's own window. On a desktop it has a title bar of the
// system's above the page; on a tablet (an iPad's home screen app, a
// Chromebook in tablet mode, Android) it has none.
const char* const kAppWindows[] = {"(display-mode: standalone)", "(display-mode: minimal-ui)"};
// The least height a title bar above the page takes, in pixels.
constexpr int kTitleBarPixels = 16;

bool present(const val& v) { return !v.isNull() && !v.isUndefined(); }

bool matches(const val& w, const char* query) {
  return w.call<val>("matchMedia", std::string(query))["matches"].as<bool>();
}

}  // namespace

TitleHelp::TitleHelp(const Form88& form) : form_(form) {
  char band[32];
  std::snprintf(band, sizeof band, "rgba(0,0,0,%.3f)", kTitleHelpBandAlpha / 255.0);
  setStyle(element("titleHelp"), "background-color", band);
  listenMedia(kFullScreen, [this](val) { changed(); });
  for (const char* query : kAppWindows) listenMedia(query, [this](val) { changed(); });
  for (const char* type : {"fullscreenchange", "webkitfullscreenchange"})
    listen("document", type, [this](val) { changed(); });
  changed();
}

bool TitleHelp::titleBarHidden() {
  const val w = window(), d = document();
  if (present(d["fullscreenElement"]) || present(d["webkitFullscreenElement"]) || matches(w, kFullScreen)) return true;
  bool app = false;
  for (const char* query : kAppWindows) app = app || matches(w, query);
  if (!app) return false;  // a browser's window or tab, its title on the tab
  // An iPad's home screen app says so itself; elsewhere the app's window
  // is no taller than the page when nothing stands above it.
  const val standalone = w["navigator"]["standalone"];
  if (present(standalone) && standalone.as<bool>()) return true;
  return w["outerHeight"].as<int>() - w["innerHeight"].as<int>() < kTitleBarPixels;
}

void TitleHelp::changed() {
  if (pending_) return;
  pending_ = true;
  emscripten_set_timeout(&TitleHelp::onPlace, 0, this);
}

void TitleHelp::onPlace(void* self) {
  auto& help = *static_cast<TitleHelp*>(self);
  help.pending_ = false;
  help.place();
}

void TitleHelp::place() {
  val help = element("titleHelp");
  if (!titleBarHidden()) {
    if (!help["hidden"].as<bool>()) help.set("hidden", true);
    return;
  }
  if (help["textContent"].as<std::string>() != form_.caption()) help.set("textContent", form_.caption());
  const val w = window();
  const int width = std::max(1, w["innerWidth"].as<int>()), height = std::max(1, w["innerHeight"].as<int>());
  const TitleHelpStyle style = titleHelpStyle(height);
  setStyle(help, "font-size", cssPixels(style.textPixels));
  setStyle(help, "padding", cssPixels(style.padding()));
  // Measured where it stands, unseen, at each width the rule asks about.
  setStyle(help, "visibility", "hidden");
  setStyle(help, "height", "auto");
  help.set("hidden", false);
  const PixelBox box =
      placeTitleHelp({0, 0, width, height}, clockArea(form_, kTwipsPerCssPixel), style, [&help](int boxWidth) {
        setStyle(help, "width", cssPixels(boxWidth));
        return static_cast<int>(std::ceil(help.call<val>("getBoundingClientRect")["height"].as<double>()));
      });
  if (box.empty()) {
    help.set("hidden", true);  // nowhere to put it without covering the clock
    return;
  }
  placeAt(help, box.x, box.y, box.w, box.h);
  setStyle(help, "visibility", "visible");
}

}  // namespace tirpo::web
