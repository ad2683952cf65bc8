#pragma once
// The one focus ring of the clock window: a white band around a black one.
// One of the two stands out on every colour the window takes (light grey,
// grey, green, dark grey, the yellow button). The face draws it around
// itself or its picture; every other control that takes the focus gets it
// from FocusRingStyle, which draws the ring in place of the style's own
// focus frame and leaves the rest of the control's look to the style. It
// shows on keyboard focus only: a mouse press on a control hides it until
// the keyboard moves the focus again.

#include <QProxyStyle>
#include <QRect>
#include <QRegion>

class QPainter;

namespace tirpo {

// Each band's width in logical pixels (the painter scales them with the
// screen).
inline constexpr int kFocusBand = 2;

// Paints the ring just inside `outer`: the white band outside, the black one
// within it.
void paintFocusRing(QPainter& p, const QRect& outer);
// Where that ring lies.
QRegion focusRingRegion(const QRect& outer);

class FocusRingStyle final : public QProxyStyle {
 public:
  // Over a fresh copy of the application's style.
  FocusRingStyle();

  using QProxyStyle::polish;
  using QProxyStyle::unpolish;
  void polish(QWidget* widget) override;
  void unpolish(QWidget* widget) override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget) const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tirpo
