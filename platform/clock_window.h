#pragma once
// The clock's top-level window: owns the window model and shows it. The
// windowless controls are painted by the face surface; the windowed ones
// are real Qt widgets placed above it. Qt's timers, mouse presses and size
// changes become the model's events, and every change the model makes is
// shown at once.

#include <QWidget>
#include <array>
#include <memory>

#include "platform/local_clock.h"
#include "platform/qt_text_measurer.h"
#include "platform/second_timer.h"
#include "window/form88.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;

namespace tirpo {

class FaceSurface;
class FrameWatch;
class FullScreen;

class ClockWindow final : public QWidget, private ControlObserver {
  Q_OBJECT
 public:
  // With no clock given, the computer's local time is used.
  explicit ClockWindow(const SystemClock* clock = nullptr);
  ~ClockWindow() override;

  Form88& form() { return *form_; }
  FaceSurface* surface() const { return surface_; }
  QComboBox* stepList() const { return combo_; }
  QPushButton* clockButton() const { return command8_; }
  QPushButton* manualButton() const { return command12_; }
  QCheckBox* handBox(int i) const { return check3_[static_cast<std::size_t>(i)]; }
  QGroupBox* handFrame() const { return frame_; }
  FullScreen& fullScreen() const { return *fullScreen_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void controlChanged(Control& control, Aspect aspect) override;
  void controlLoaded(Control& control) override;
  void windowChanged(Aspect aspect) override;

  void createWidgets();
  void nameWidgets();
  void ringFocus();
  QWidget* widgetFor(const Control& control) const;
  void syncWidget(const Control& control);
  void syncAll();
  void applyTabOrder();
  void syncGeometry();
  QSize clientPixelsFor(double outerW, double outerH) const;

  LocalClock localClock_;
  QtTextMeasurer measurer_;
  std::unique_ptr<Form88> form_;
  FaceSurface* surface_ = nullptr;
  QComboBox* combo_ = nullptr;
  QGroupBox* frame_ = nullptr;
  std::array<QCheckBox*, 3> check3_{};
  QCheckBox* check2_ = nullptr;
  QPushButton* command12_ = nullptr;
  QPushButton* command8_ = nullptr;
  std::unique_ptr<TimerDriver> timer1_;
  std::unique_ptr<TimerDriver> timer4_;
  FrameWatch* frameWatch_ = nullptr;  // tells when the drawn frame may have changed
  QSize frameExtra_{0, 0};            // the drawn frame's width and height, in pixels
  bool shown_ = false;
  bool sizeAsked_ = true;             // the size is the one the window asked for, not one it was given
  FullScreen* fullScreen_ = nullptr;  // F11, and the title shown where no title bar is
};

}  // namespace tirpo
