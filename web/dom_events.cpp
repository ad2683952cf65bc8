#include "web/dom_events.h"

#include <emscripten/bind.h>
#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>

#include <cstdio>
#include <vector>

using tirpo_callback = void (*)(void*);

// Attaches a listener that hands the event to the handler numbered token.
// clang-format off
EM_JS(void, tirpo_listen, (const char* target, const char* type, int token), {
  const name = UTF8ToString(target);
  const el = name === "window" ? window : name === "document" ? document : document.getElementById(name);
  if (el) el.addEventListener(UTF8ToString(type), function(e) { Module.tirpoDispatch(token, e); });
});

EM_JS(void, tirpo_listen_media, (const char* query, int token), {
  const list = window.matchMedia(UTF8ToString(query));
  if (list.addEventListener) list.addEventListener("change", function(e) { Module.tirpoDispatch(token, e); });
});

EM_JS(void, tirpo_after_handler, (tirpo_callback fn, void* arg), {
  Promise.resolve().then(function() { _tirpo_run_after_handler(fn, arg); });
});

EM_JS(int, tirpo_page_hidden, (), { return document.hidden ? 1 : 0; });
// clang-format on

extern "C" EMSCRIPTEN_KEEPALIVE void tirpo_run_after_handler(tirpo_callback fn, void* arg) { fn(arg); }

namespace tirpo::web {

namespace {

std::vector<EventHandler>& handlers() {
  static std::vector<EventHandler> all;
  return all;
}

void dispatch(int token, emscripten::val event) {
  auto& all = handlers();
  if (token >= 0 && token < static_cast<int>(all.size())) all[static_cast<std::size_t>(token)](std::move(event));
}

}  // namespace

void listen(const std::string& target, const std::string& type, EventHandler handler) {
  handlers().push_back(std::move(handler));
  tirpo_listen(target.c_str(), type.c_str(), static_cast<int>(handlers().size() - 1));
}

void listenMedia(const std::string& query, EventHandler handler) {
  handlers().push_back(std::move(handler));
  tirpo_listen_media(query.c_str(), static_cast<int>(handlers().size() - 1));
}

void afterHandler(void (*fn)(void*), void* arg) { tirpo_after_handler(fn, arg); }

bool pageHidden() { return tirpo_page_hidden() != 0; }

emscripten::val document() { return emscripten::val::global("document"); }
emscripten::val window() { return emscripten::val::global("window"); }
emscripten::val element(const std::string& id) { return document().call<emscripten::val>("getElementById", id); }

void setStyle(const emscripten::val& e, const char* property, const std::string& value) {
  e["style"].call<void>("setProperty", std::string(property), value);
}

std::string cssPixels(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3fpx", v);
  return text;
}

void placeAt(const emscripten::val& e, double left, double top, double width, double height) {
  setStyle(e, "left", cssPixels(left));
  setStyle(e, "top", cssPixels(top));
  setStyle(e, "width", cssPixels(width));
  setStyle(e, "height", cssPixels(height));
}

void placeAt(const emscripten::val& e, const PixelRect& box) { placeAt(e, box.x, box.y, box.w, box.h); }

EMSCRIPTEN_BINDINGS(tirpo_dom_events) { emscripten::function("tirpoDispatch", &dispatch); }

}  // namespace tirpo::web
