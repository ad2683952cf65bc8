#include "web/face_access.h"

#include <emscripten/eventloop.h>

#include "clock/time_text.h"
#include "web/browser_clock.h"
#include "web/dom_events.h"

namespace tirpo::web {

using emscripten::val;

namespace {

void setAttribute(val e, const char* name, const std::string& value) {
  e.call<void>("setAttribute", std::string(name), value);
}

std::string pictureName(const Image& image) {
  // The numerals picture shows them; the emblem hides them.
  return image.picture() == Picture::Emblem16 ? "分の数字を表示する" : "分の数字を隠す";
}

int keyCodeOf(const std::string& key) {
  if (key == "ArrowLeft") return kKeyLeft;
  if (key == "ArrowUp") return kKeyUp;
  if (key == "ArrowRight") return kKeyRight;
  if (key == "ArrowDown") return kKeyDown;
  return 0;
}

}  // namespace

FaceAccess::FaceAccess(Form88& form, FaceCanvas& canvas) : form_(form), canvas_(canvas) {
  val face = element("faceFocus");
  setAttribute(face, "aria-valuemin", "0");
  setAttribute(face, "aria-valuemax", std::to_string(24 * 60 - 1));
  setAttribute(face, "aria-description", "アナログ時計の文字盤");
  updateNames();
  listen("document", "keydown", [this](val e) {
    if (e["key"].as<std::string>() == "Tab") backwards_ = e["shiftKey"].as<bool>();
  });
  for (const char* id : {"faceFocus", "facePicture"}) {
    const bool picture = std::string(id) == "facePicture";
    listen(id, "focus", [this, picture](val) {
      faceFocused_ = true;
      if (picture)
        focus_.enteredBackward(form_);
      else
        focus_.enteredForward();
      focusChanged();
    });
    listen(id, "blur", [this](val e) {
      const val next = e["relatedTarget"];
      const bool stays = !next.isNull() && !next.isUndefined() &&
                         (next["id"].as<std::string>() == "faceFocus" || next["id"].as<std::string>() == "facePicture");
      if (!stays) faceFocused_ = false;
      updateRing();
    });
    listen(id, "keydown", [this, picture](val e) { keyDown(e, picture); });
  }
}

void FaceAccess::keyDown(val e, bool onPicture) {
  const std::string key = e["key"].as<std::string>();
  if (e["ctrlKey"].as<bool>() || e["altKey"].as<bool>() || e["metaKey"].as<bool>()) return;
  if (onPicture) {
    if (key != " " && key != "Enter") return;
    e.call<void>("preventDefault");
    if (e["repeat"].as<bool>()) return;
    if (Image* picture = focus_.focusedPicture(form_, faceFocused_)) picture->click();
    return;
  }
  const int code = keyCodeOf(key);
  if (code == 0) return;
  e.call<void>("preventDefault");
  const int shift = e["shiftKey"].as<bool>() ? kShiftKey : 0;
  form_.Face_KeyDown(code, shift, e["repeat"].as<bool>());
}

void FaceAccess::focusChanged() {
  updateRing();
  updateNames();
}

void FaceAccess::updateRing() {
  if (!faceFocused_) {
    canvas_.setRing({});
    return;
  }
  const PixelBox face{0, 0, canvas_.width(), canvas_.height()};
  if (const Image* picture = focus_.focusedPicture(form_, true)) {
    const PixelRect r = toPixels(picture->twips(), kTwipsPerCssPixel);
    canvas_.setRing(ringOuter(face, &r));
  } else {
    canvas_.setRing(ringOuter(face, nullptr));
  }
}

// The face's name and value are the time it shows; the picture's stop lies
// over the visible picture, named after what pressing it does.
void FaceAccess::updateNames() {
  const auto shown = form_.timeShown();
  const std::string name = shown ? timeText(*shown) : std::string("時計の文字盤");
  if (name != named_) {
    named_ = name;
    val face = element("faceFocus");
    setAttribute(face, "aria-label", name);
    if (shown) {
      setAttribute(face, "aria-valuetext", name);
      setAttribute(face, "aria-valuenow", std::to_string(shown->hour * 60 + shown->minute));
    } else {
      face.call<void>("removeAttribute", std::string("aria-valuetext"));
      face.call<void>("removeAttribute", std::string("aria-valuenow"));
    }
  }
  // The picture's stop is written only when it changes: a tick of the live
  // clock leaves the page's elements alone.
  const Image* visible = FaceFocus::visiblePicture(form_);
  const PictureStop stop{visible, visible ? toPixels(visible->twips(), kTwipsPerCssPixel) : PixelRect{}};
  if (stop == pictureStop_) return;
  pictureStop_ = stop;
  val picture = element("facePicture");
  picture.set("hidden", visible == nullptr);
  if (visible) {
    setAttribute(picture, "aria-label", pictureName(*visible));
    placeAt(picture, stop.box);
  }
}

void FaceAccess::controlChanged(const Control& control, Aspect aspect) {
  const Form88& f = form_;
  if (control.kind() == Kind::Image) {
    if (focus_.onPicture() && faceFocused_) {
      focus_.picturesChanged(form_);
      // With neither picture shown the stop goes back to the face.
      if (!focus_.onPicture()) element("faceFocus").call<void>("focus");
    }
    updateNames();
    updateRing();
  }
  // The clock values behind the hands (a press that stops the AUTO run
  // writes only the hour).
  if (aspect == Aspect::Text &&
      (&control == &f.Label1 || &control == &f.Label2 || &control == &f.Label7 || &control == &f.Label8))
    checkSoon();
}

// A handler that writes one clock value often writes more before it returns
// (the hour, then the minute); the face is read once the handler is done.
void FaceAccess::checkSoon() {
  if (checkPending_) return;
  checkPending_ = true;
  afterHandler(&FaceAccess::onCheck, this);
}

void FaceAccess::onCheck(void* self) {
  auto& a = *static_cast<FaceAccess*>(self);
  a.checkPending_ = false;
  a.againPending_ = false;
  a.check();
}

void FaceAccess::check() {
  updateNames();
  const auto shown = form_.timeShown();
  const std::string reading = shown ? timeText(*shown) : std::string();
  const AnnouncePacing::Verdict v = pacing_.check(reading, form_.autoRunGoing(), static_cast<std::int64_t>(steadyMs()));
  if (v.tell) {
    if (againPending_) emscripten_clear_timeout(againTimeout_);
    againPending_ = false;
    if (!reading.empty()) element("announce").set("textContent", reading);
  } else if (v.askAgainMs > 0 && !againPending_) {
    againPending_ = true;
    againTimeout_ = emscripten_set_timeout(&FaceAccess::onCheck, static_cast<double>(v.askAgainMs), this);
  }
}

}  // namespace tirpo::web
