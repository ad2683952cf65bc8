#pragma once
// A container's coordinate system. Controls keep their position in twips;
// a coordinate system converts what the window code reads and writes.

namespace tirpo {

class Coordinates {
 public:
  virtual ~Coordinates() = default;
  virtual double toTwipsX(double x) const = 0;
  virtual double toTwipsY(double y) const = 0;
  virtual double toUserX(double twips) const = 0;
  virtual double toUserY(double twips) const = 0;
  // Extents are positive in both systems.
  virtual double toTwipsWidth(double w) const = 0;
  virtual double toTwipsHeight(double h) const = 0;
  virtual double toUserWidth(double twips) const = 0;
  virtual double toUserHeight(double twips) const = 0;
};

// Plain twips, as inside the frame and in a window before it is given a scale.
class TwipCoordinates final : public Coordinates {
 public:
  double toTwipsX(double x) const override { return x; }
  double toTwipsY(double y) const override { return y; }
  double toUserX(double t) const override { return t; }
  double toUserY(double t) const override { return t; }
  double toTwipsWidth(double w) const override { return w; }
  double toTwipsHeight(double h) const override { return h; }
  double toUserWidth(double t) const override { return t; }
  double toUserHeight(double t) const override { return t; }
};

// A user scale over a client area: the left, top, right and bottom edges get
// the given values (right < left or bottom > top flip an axis). The scale
// follows the client area when it is resized; a zero-sized scale or client
// area collapses every position onto the middle.
class UserScale final : public Coordinates {
 public:
  void setClient(double widthTwips, double heightTwips) {
    clientW_ = widthTwips;
    clientH_ = heightTwips;
  }
  void setScale(double left, double top, double right, double bottom) {
    custom_ = true;
    left_ = left;
    top_ = top;
    width_ = right - left;
    height_ = bottom - top;
  }
  double clientWidth() const { return clientW_; }
  double clientHeight() const { return clientH_; }

  double toTwipsX(double x) const override { return toTwips(x, left_, width_, clientW_); }
  double toTwipsY(double y) const override { return toTwips(y, top_, height_, clientH_); }
  double toUserX(double t) const override { return toUser(t, left_, width_, clientW_); }
  double toUserY(double t) const override { return toUser(t, top_, height_, clientH_); }
  double toTwipsWidth(double w) const override { return extentToTwips(w, width_, clientW_); }
  double toTwipsHeight(double h) const override { return extentToTwips(h, height_, clientH_); }
  double toUserWidth(double t) const override { return extentToUser(t, width_, clientW_); }
  double toUserHeight(double t) const override { return extentToUser(t, height_, clientH_); }

 private:
  static double abs(double v) { return v < 0 ? -v : v; }
  bool degenerate(double span, double client) const { return span == 0 || client <= 0; }
  double toTwips(double u, double origin, double span, double client) const {
    if (!custom_) return u;
    if (degenerate(span, client)) return client > 0 ? client / 2 : 0;
    return (u - origin) * client / span;
  }
  double toUser(double t, double origin, double span, double client) const {
    if (!custom_) return t;
    if (degenerate(span, client)) return origin + span / 2;
    return origin + t * span / client;
  }
  double extentToTwips(double e, double span, double client) const {
    if (!custom_) return e;
    if (degenerate(span, client)) return 0;
    return e * client / abs(span);
  }
  double extentToUser(double t, double span, double client) const {
    if (!custom_) return t;
    if (degenerate(span, client)) return 0;
    return t * abs(span) / client;
  }

  bool custom_ = false;
  double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  double clientW_ = 0, clientH_ = 0;
};

}  // namespace tirpo
