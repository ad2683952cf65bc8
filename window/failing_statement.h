#pragma once
// Some handlers skip a statement that cannot be carried out and go on with
// the next one, from a stated point on: the final update of a press, the
// highlighting step of the label handlers. A statement that can fail works
// out what it needs first (a number read from a caption, an element of an
// array) as an optional or a pointer; skipIfFailed carries the statement out
// only when that is there, so the skipping is visible where it happens.
// (The dial layout is the other kind: its first failing statement ends the
// whole layout, see Form88::layoutDial.)

#include <optional>
#include <string>

#include "window/controls.h"

namespace tirpo {

template <typename T, typename Statement>
void skipIfFailed(const std::optional<T>& needed, Statement&& statement) {
  if (needed) statement(*needed);
}

template <typename T, typename Statement>
void skipIfFailed(T* element, Statement&& statement) {
  if (element) statement(*element);
}

// label.Caption = text, skipped when the text could not be worked out.
inline void setCaptionOrSkip(Label& label, const std::optional<std::string>& text) {
  skipIfFailed(text, [&](const std::string& t) { label.setCaption(t); });
}

}  // namespace tirpo
