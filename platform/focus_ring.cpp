#include "platform/focus_ring.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QPainter>
#include <QRegion>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

namespace tirpo {

namespace {

// A band of the given width just inside a rectangle.
QRegion bandInside(const QRect& r, int width) {
  return QRegion(r).subtracted(QRegion(r.adjusted(width, width, -width, -width)));
}

// The style draws its focus frame while the control has the focus that the
// keyboard gave it.
bool keyboardFocus(const QStyleOption& option) {
  return (option.state & QStyle::State_HasFocus) && (option.state & QStyle::State_KeyboardFocusChange);
}

}  // namespace

QRegion focusRingRegion(const QRect& outer) { return bandInside(outer, 2 * kFocusBand); }

void paintFocusRing(QPainter& p, const QRect& outer) {
  if (outer.width() <= 4 * kFocusBand || outer.height() <= 4 * kFocusBand) return;
  for (const QRect& r : bandInside(outer, kFocusBand)) p.fillRect(r, Qt::white);
  const QRect inner = outer.adjusted(kFocusBand, kFocusBand, -kFocusBand, -kFocusBand);
  for (const QRect& r : bandInside(inner, kFocusBand)) p.fillRect(r, Qt::black);
}

FocusRingStyle::FocusRingStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

void FocusRingStyle::polish(QWidget* widget) {
  QProxyStyle::polish(widget);
  widget->installEventFilter(this);
}

void FocusRingStyle::unpolish(QWidget* widget) {
  widget->removeEventFilter(this);
  QProxyStyle::unpolish(widget);
}

// A press of the mouse on a control makes the focus the mouse's: no ring
// until the keyboard moves it again.
bool FocusRingStyle::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
    QWidget* window = static_cast<QWidget*>(watched)->window();
    if (window->testAttribute(Qt::WA_KeyboardFocusChange)) {
      window->setAttribute(Qt::WA_KeyboardFocusChange, false);
      static_cast<QWidget*>(watched)->update();
    }
  }
  return QProxyStyle::eventFilter(watched, event);
}

void FocusRingStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const {
  if (element == PE_FrameFocusRect) {
    // Around the whole control, not only its caption.
    if (widget && keyboardFocus(*option)) {
      painter->save();
      painter->setClipping(false);
      paintFocusRing(*painter, widget->rect());
      painter->restore();
    }
    return;
  }
  QProxyStyle::drawPrimitive(element, option, painter, widget);
  // The step list's field lies over the list's own ring: it carries its
  // part of the ring.
  if (element == PE_PanelLineEdit && widget && keyboardFocus(*option))
    if (auto* list = qobject_cast<const QComboBox*>(widget->parentWidget()))
      paintFocusRing(*painter, list->rect().translated(-widget->pos()));
}

void FocusRingStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const {
  QProxyStyle::drawControl(element, option, painter, widget);
  // Over the style's own look of a focused button.
  if (element == CE_PushButton && widget && keyboardFocus(*option)) paintFocusRing(*painter, widget->rect());
}

void FocusRingStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                        const QWidget* widget) const {
  QProxyStyle::drawComplexControl(control, option, painter, widget);
  // The step list draws no focus frame of its own kind.
  if (control == CC_ComboBox && widget && keyboardFocus(*option)) paintFocusRing(*painter, widget->rect());
}

}  // namespace tirpo
