#pragma once
// The clock face: paints the window's windowless controls (labels, lines and
// pictures) in their drawing order, and turns mouse presses on it into the
// window's press events. Only what changed is repainted: once a handler is
// done, each control it touched is compared with what was last painted of
// it, so a control that ends where it started costs nothing.

#include <QImage>
#include <QLineF>
#include <QStaticText>
#include <QWidget>
#include <unordered_map>
#include <vector>

#include "view/control_look.h"
#include "view/repaint_rects.h"
#include "view/shown_looks.h"
#include "window/form88.h"

namespace tirpo {

class FaceKeyboard;
class FaceTouch;

class FaceSurface final : public QWidget {
  Q_OBJECT
 public:
  FaceSurface(Form88& form, QWidget* parent);
  Form88& form() const { return form_; }
  FaceKeyboard& keyboard() const { return *keyboard_; }
  FaceTouch& touch() const { return *touch_; }

  // A control changed; it is compared with what the screen shows once the
  // handler that changed it is done.
  void controlChanged(const Control& control, Aspect aspect);
  // Compares the changed controls now and repaints where their look changed:
  // where each was and where it is.
  void compareChanged();
  // Twips of the client area to logical pixels and back.
  QRectF toPixels(const TwipRect& r) const;
  QPointF toPixels(double xTwips, double yTwips) const;
  double toTwips(double px) const { return px * tpp_; }
  // The most rectangles one comparison repaints; nearer ones are joined.
  static constexpr int kMostRepaintRects = tirpo::kMostRepaintRects;

 signals:
  // The whole face has been painted for the first time (sent once, queued, so
  // that it arrives after that paint has gone to the screen).
  void firstPainted();

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
  // Painting reads a control only through its look, the one the repaint
  // comparison compares.
  void paintLabel(QPainter& p, const Control& label, const ControlLook& look);
  void paintLine(QPainter& p, const ControlLook& look);
  void paintDisc(QPainter& p, QPointF centre, qreal radius, const QColor& colour);
  // A disc drawn where it was drawn before (the hands' ends at the centre)
  // is copied from the pixels it gave then.
  struct DiscSprite {
    QPointF centre;
    qreal radius = 0;
    QRgb colour = 0;
    qreal dpr = 0;
    QPointF origin;  // logical pixels, on the device pixel grid
    QImage image;
  };
  std::vector<DiscSprite> discs_;
  void paintImage(QPainter& p, const ControlLook& look) const;
  TextCache& textOf(const Control& label, const ControlLook& look);

  Form88& form_;
  FaceKeyboard* keyboard_;  // a child: keys, focus and the focus ring
  FaceTouch* touch_;        // a child: fingers on the face
  double tpp_;              // twips per logical pixel
  std::unordered_map<const Control*, TextCache> text_;
  // What the screen shows of each control once the repaints asked for are
  // done, and the controls changed since.
  ShownLooks looks_;
  bool compareQueued_ = false;
  bool paintedOnce_ = false;
};

}  // namespace tirpo
