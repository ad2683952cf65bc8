#include "web/face_touch.h"

#include <emscripten/eventloop.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "web/browser_clock.h"
#include "web/dom_events.h"

namespace tirpo::web {

using emscripten::val;

namespace {

std::int64_t now() { return static_cast<std::int64_t>(std::floor(steadyMs())); }

int idOf(const val& e) { return e["pointerId"].as<int>(); }
double xOf(const val& e) { return e["offsetX"].as<double>() * kTwipsPerCssPixel; }
double yOf(const val& e) { return e["offsetY"].as<double>() * kTwipsPerCssPixel; }

}  // namespace

FaceTouch::FaceTouch(Form88& form)
    : form_(form),
      ring_(document().call<val>("createElement", std::string("canvas"))),
      context_(ring_.call<val>("getContext", std::string("2d"))) {
  ring_.set("id", std::string("holdRing"));
  ring_.call<void>("setAttribute", std::string("aria-hidden"), std::string("true"));
  ring_.set("hidden", true);
  const val face = element("face");
  face["parentNode"].call<void>("insertBefore", ring_, face["nextSibling"]);
}

FaceTouch::~FaceTouch() {
  if (timing_) emscripten_clear_timeout(timeout_);
}

void FaceTouch::down(const val& e) { act(rule_.down(idOf(e), xOf(e), yOf(e), now())); }
void FaceTouch::move(const val& e) { act(rule_.move(idOf(e), xOf(e), yOf(e), now())); }
void FaceTouch::up(const val& e) { act(rule_.up(idOf(e), xOf(e), yOf(e), now())); }
void FaceTouch::cancel() { act(rule_.cancel()); }

void FaceTouch::act(const TouchPress::Verdict& v) {
  showHold();
  if (timing_) emscripten_clear_timeout(timeout_);
  timing_ = false;
  if (const std::int64_t again = holdRingAskAgainMs(v, shown_.has_value())) {
    timeout_ = emscripten_set_timeout(&FaceTouch::onTime, static_cast<double>(again), this);
    timing_ = true;
  }
  if (v.button != 0) form_.pressAt(v.button, 0, v.xTwips, v.yTwips);
}

void FaceTouch::onTime(void* self) {
  auto& t = *static_cast<FaceTouch*>(self);
  t.timing_ = false;
  t.act(t.rule_.check(now()));
}

void FaceTouch::showHold() {
  const std::optional<HoldRing> ring = holdRingFor(rule_, now(), kTwipsPerCssPixel);
  if (ring == shown_) return;
  shown_ = ring;
  if (!ring) {
    ring_.set("hidden", true);  // the face under it shows as it was
    return;
  }
  draw(*ring);
  ring_.set("hidden", false);
}

void FaceTouch::draw(const HoldRing& ring) {
  const PixelBox area = ring.area();
  placeAt(ring_, area.x, area.y, area.w, area.h);
  const double scale = std::max(1.0, window()["devicePixelRatio"].as<double>());
  const int bw = static_cast<int>(std::lround(area.w * scale)), bh = static_cast<int>(std::lround(area.h * scale));
  if (ring_["width"].as<int>() != bw) ring_.set("width", bw);
  if (ring_["height"].as<int>() != bh) ring_.set("height", bh);

  val& p = context_;
  p.call<void>("setTransform", scale, 0, 0, scale, 0, 0);
  p.call<void>("clearRect", 0, 0, area.w, area.h);
  const double cx = ring.centre.x - area.x, cy = ring.centre.y - area.y;
  const double top = -std::numbers::pi / 2;
  char dark[32];
  std::snprintf(dark, sizeof dark, "rgba(0,0,0,%.3f)", kHoldRingDarkAlpha / 255.0);
  p.set("lineCap", std::string("butt"));
  p.call<void>("beginPath");
  p.call<void>("arc", cx, cy, kHoldRingRadius, 0, 2 * std::numbers::pi);
  p.set("lineWidth", kHoldRingBand);
  p.set("strokeStyle", std::string(dark));
  p.call<void>("stroke");
  if (ring.sweepDegrees() <= 0) return;
  p.call<void>("beginPath");
  p.call<void>("arc", cx, cy, kHoldRingRadius, top, top + ring.sweepDegrees() * std::numbers::pi / 180);
  p.set("lineWidth", kHoldRingFillBand);
  p.set("strokeStyle", std::string("#ffffff"));
  p.call<void>("stroke");
}

}  // namespace tirpo::web
