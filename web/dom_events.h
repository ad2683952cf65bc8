#pragma once
// Browser events delivered to C++: a handler is attached to an element (or
// to the window or document) for one event type, and gets the event object.
// And the few calls on elements that the page makes everywhere.

#include <emscripten/val.h>

#include <functional>
#include <string>

#include "view/pixel_geometry.h"

namespace tirpo::web {

using EventHandler = std::function<void(emscripten::val event)>;

// target: an element id, or "window" or "document".
void listen(const std::string& target, const std::string& type, EventHandler handler);
// The same, for a media query's change (a new device pixel ratio).
void listenMedia(const std::string& query, EventHandler handler);

// Runs fn(arg) once the event handler running now has returned, before the
// browser does anything else (a microtask): what the handler changed is
// seen whole, in the same task, with no timeout or animation frame of its
// own.
void afterHandler(void (*fn)(void*), void* arg);
// Whether the page is hidden (a tab in the background, a window minimised).
bool pageHidden();

emscripten::val element(const std::string& id);
// Sets one property of an element's own style.
void setStyle(const emscripten::val& element, const char* property, const std::string& value);
// A length in CSS pixels, as the style takes it.
std::string cssPixels(double v);
// Places a positioned element on a box of CSS pixels.
void placeAt(const emscripten::val& element, double left, double top, double width, double height);
void placeAt(const emscripten::val& element, const PixelRect& box);
emscripten::val document();
emscripten::val window();

}  // namespace tirpo::web
