#pragma once
// The window's title in the page where no title bar shows it: in full
// screen (the browser's own, the Fullscreen API, or the installed app's)
// and in an installed app's window with no title bar above the page (a
// tablet's), <div id="titleHelp"> shows the document's title, which tells
// what a press on the face does, beside the face as view/title_help.h
// places it, and follows every change of the title, the page's size and the
// controls shown. In a browser's window or tab, and in a desktop's app
// window under its title bar, it is hidden.

#include "window/form88.h"

namespace tirpo::web {

class TitleHelp {
 public:
  explicit TitleHelp(const Form88& form);
  // The title, the page's size or the controls shown changed: the title is
  // placed again once the handler is done.
  void changed();

 private:
  static bool titleBarHidden();
  void place();
  static void onPlace(void* self);

  const Form88& form_;
  bool pending_ = false;
};

}  // namespace tirpo::web
