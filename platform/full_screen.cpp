#include "platform/full_screen.h"

#include <QEvent>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>

#include "platform/clock_window.h"
#include "platform/face_surface.h"
#include "view/title_help.h"

namespace tirpo {

FullScreen::FullScreen(ClockWindow* window)
    : QObject(window), window_(window), shortcut_(new QShortcut(window)), help_(new QLabel(window)) {
  QList<QKeySequence> keys{QKeySequence(Qt::Key_F11)};
  for (const QKeySequence& k : QKeySequence::keyBindings(QKeySequence::FullScreen))
    if (!keys.contains(k)) keys.append(k);
  shortcut_->setKeys(keys);
  shortcut_->setContext(Qt::WindowShortcut);
  connect(shortcut_, &QShortcut::activated, this, &FullScreen::toggle);

  help_->setObjectName(QStringLiteral("titleHelp"));
  help_->setWordWrap(true);
  help_->setTextFormat(Qt::PlainText);
  help_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  help_->setAttribute(Qt::WA_TransparentForMouseEvents);
  // Light text on a dark band shows on each of the window's backgrounds.
  help_->setAutoFillBackground(true);
  QPalette pal = help_->palette();
  pal.setColor(QPalette::Window, QColor(0, 0, 0, kTitleHelpBandAlpha));
  pal.setColor(QPalette::WindowText, Qt::white);
  help_->setPalette(pal);
  help_->hide();
  connect(window, &QWidget::windowTitleChanged, this, [this] { placeSoon(); });
  window->installEventFilter(this);
}

void FullScreen::toggle() { window_->setWindowState(window_->windowState() ^ Qt::WindowFullScreen); }

bool FullScreen::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && (event->type() == QEvent::WindowStateChange || event->type() == QEvent::Resize))
    placeSoon();  // once the window has laid its face out for the new size
  return false;
}

void FullScreen::placeSoon() {
  if (placeQueued_) return;
  placeQueued_ = true;
  QMetaObject::invokeMethod(this, &FullScreen::place, Qt::QueuedConnection);
}

void FullScreen::place() {
  placeQueued_ = false;
  const FaceSurface* face = window_->surface();
  if (!face) return;  // the window is being closed
  help_->setText(window_->windowTitle());
  if (!(window_->windowState() & Qt::WindowFullScreen)) {
    help_->hide();
    return;
  }
  const TitleHelpStyle style = titleHelpStyle(window_->height());
  QFont font = window_->font();
  font.setPixelSize(style.textPixels);
  help_->setFont(font);
  const int pad = style.padding();
  help_->setContentsMargins(pad, pad, pad, pad);
  const QRect client = window_->rect();
  const PixelBox room = placeTitleHelp({client.x(), client.y(), client.width(), client.height()},
                                       clockArea(window_->form(), face->toTwips(1.0)), style,
                                       [this](int width) { return help_->heightForWidth(width); });
  if (room.empty()) {
    help_->hide();  // nowhere to put it without covering the clock
    return;
  }
  help_->setGeometry(room.x, room.y, room.w, room.h);
  help_->show();
  help_->raise();
}

}  // namespace tirpo
