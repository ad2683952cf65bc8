#include "platform/full_screen.h"

#include <QEvent>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <algorithm>

#include "platform/clock_window.h"
#include "platform/face_surface.h"

namespace tirpo {

namespace {

// The title's text size as a share of the screen's height, and the room
// kept around it, in lines of that text.
constexpr double kLinesPerHeight = 36;
constexpr double kGapInLines = 0.6;

}  // namespace

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
  pal.setColor(QPalette::Window, QColor(0, 0, 0, 170));
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

// Where the face and the controls are, or will be once shown: the minute
// numerals, the outermost ring, count whether shown or not.
QRect FullScreen::occupied() const {
  const FaceSurface* face = window_->surface();
  const Form88& f = window_->form();
  QRectF r;
  for (int i = 1; const Label* numeral = f.Suuji2.at(i); ++i) r |= face->toPixels(numeral->twips());
  for (const Control* c : f.paintOrder())
    if (c->visible() && c->kind() != Kind::Line) r |= face->toPixels(c->twips());
  QRect used = r.toAlignedRect();
  for (const QWidget* w : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (w != face && w != help_ && w->isVisible()) used |= w->geometry();
  return used;
}

void FullScreen::place() {
  placeQueued_ = false;
  if (!window_->surface()) return;  // the window is being closed
  help_->setText(window_->windowTitle());
  if (!(window_->windowState() & Qt::WindowFullScreen)) {
    help_->hide();
    return;
  }
  QFont font = window_->font();
  font.setPixelSize(std::max(12, static_cast<int>(window_->height() / kLinesPerHeight)));
  help_->setFont(font);
  const int line = help_->fontMetrics().height();
  const int gap = static_cast<int>(line * kGapInLines);
  help_->setContentsMargins(gap / 2, gap / 2, gap / 2, gap / 2);
  const QRect used = occupied();
  const QRect client = window_->rect();
  // The wider of the margins beside the face, then the strip below it.
  const QRect right(QPoint(used.right() + 1 + gap, gap), QPoint(client.right() - gap, client.bottom() - gap));
  const QRect left(QPoint(gap, gap), QPoint(used.left() - 1 - gap, client.bottom() - gap));
  const QRect below(QPoint(gap, used.bottom() + 1 + gap), QPoint(client.right() - gap, client.bottom() - gap));
  const int narrowest = kNarrowestInChars * font.pixelSize() + gap;
  QRect room;
  if (right.width() >= narrowest && right.width() >= left.width())
    room = right;
  else if (left.width() >= narrowest)
    room = left;
  else
    room = below;
  const int height = help_->heightForWidth(room.width());
  if (room.width() < narrowest || room.height() < height) {
    help_->hide();  // nowhere to put it without covering the clock
    return;
  }
  help_->setGeometry(room.left(), room.top(), room.width(), height);
  help_->show();
  help_->raise();
}

}  // namespace tirpo
