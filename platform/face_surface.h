#pragma once
// The clock face: paints the window's windowless controls (labels, lines and
// pictures) in their drawing order, and turns mouse presses on it into the
// window's press events. Only what changed is repainted.

#include <QStaticText>
#include <QWidget>
#include <unordered_map>
#include <vector>

#include "window/form88.h"

namespace tirpo {

class FaceKeyboard;

class FaceSurface final : public QWidget {
  Q_OBJECT
 public:
  FaceSurface(Form88& form, QWidget* parent);
  Form88& form() const { return form_; }
  FaceKeyboard& keyboard() const { return *keyboard_; }

  // A control changed: repaint where it was and where it is now.
  void controlChanged(const Control& control, Aspect aspect);
  // Twips of the client area to logical pixels and back.
  QRectF toPixels(const TwipRect& r) const;
  QPointF toPixels(double xTwips, double yTwips) const;
  double toTwips(double px) const { return px * tpp_; }
  // Where a control is painted, in logical pixels (empty when nothing shows).
  QRectF paintedBounds(const Control& control) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  struct TextCache {
    std::vector<QStaticText> lines;
    std::vector<qreal> widths;
    qreal lineHeight = 0;
    QFont font;
    // What the lines were made from: a caption written again unchanged (as
    // every layout does) keeps them.
    std::string caption;
    FontSpec fontSpec;
    bool valid = false;
  };
  QRectF boundsOf(const Control& control) const;
  void paintLabel(QPainter& p, const Label& label);
  void paintLine(QPainter& p, const Line& line) const;
  void paintImage(QPainter& p, const Image& image) const;
  TextCache& textOf(const Label& label);

  Form88& form_;
  FaceKeyboard* keyboard_;  // a child: keys, focus and the focus ring
  double tpp_;  // twips per logical pixel
  std::unordered_map<const Control*, TextCache> text_;
  std::unordered_map<const Control*, QRectF> painted_;
};

}  // namespace tirpo
