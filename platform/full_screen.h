#pragma once
// Full screen for the classroom's large screen: F11 (or the platform's own
// full-screen keys) turns it on and off, and the window manager's own full
// screen is followed just the same; either way the face is laid out for the
// screen as for any other size. With no title bar to show it, the window's
// title, which tells what a press on the face does, is shown in the window
// itself (view/title_help.h): in the margin beside the face, clear of the
// face, the buttons and the boxes, following every change of the title.
// With a title bar nothing of it shows.

#include <QObject>

class QLabel;
class QShortcut;
class QWidget;

namespace tirpo {

class ClockWindow;

class FullScreen final : public QObject {
 public:
  explicit FullScreen(ClockWindow* window);

  void toggle();
  // The title shown in the window; hidden outside full screen and where
  // there is no room for it.
  const QLabel* titleHelp() const { return help_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void placeSoon();
  void place();

  ClockWindow* window_;
  QShortcut* shortcut_;
  QLabel* help_;
  bool placeQueued_ = false;
};

}  // namespace tirpo
