// The clock in a web page: the window model on the browser (see
// web/web_window.h). The page's loader runs this once the window's font
// has arrived, so that the first measurements use it.

#include "web/web_window.h"

int main() {
  static tirpo::web::WebWindow window;
  window.start();
  return 0;
}
