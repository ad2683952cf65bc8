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

// The display modes of an installed app or of full screen, where the page
// has no title bar above it.
const char* const kWithoutTitleBar[] = {"(display-mode: fullscreen)", "(display-mode: standalone)",
                                        "(display-mode: minimal-ui)"};

bool present(const val& v) { return !v.isNull() && !v.isUndefined(); }

}  // namespace

TitleHelp::TitleHelp(const Form88& form) : form_(form) {
  char band[32];
  std::snprintf(band, sizeof band, "rgba(0,0,0,%.3f)", kTitleHelpBandAlpha / 255.0);
  setStyle(element("titleHelp"), "background-color", band);
  for (const char* query : kWithoutTitleBar) listenMedia(query, [this](val) { modeChanged(); });
  for (const char* type : {"fullscreenchange", "webkitfullscreenchange"})
    listen("document", type, [this](val) { modeChanged(); });
  modeChanged();
}

void TitleHelp::modeChanged() {
  const val w = window(), d = document();
  bool without = present(d["fullscreenElement"]) || present(d["webkitFullscreenElement"]);
  for (const char* query : kWithoutTitleBar)
    without = without || w.call<val>("matchMedia", std::string(query))["matches"].as<bool>();
  withoutTitleBar_ = without;
  changed();
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
  if (!withoutTitleBar_) {
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
