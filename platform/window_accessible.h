#pragma once
// What assistive technology learns about the window's own widgets beyond
// what Qt tells of them: the two mode buttons are a pair of radio buttons,
// the one on being the yellow one, and the step list is named by a label
// (a screen reader on Linux speaks a combo box's name only from the label
// that is its buddy).

class QComboBox;
class QPushButton;
class QWidget;

namespace tirpo {

// Lets Qt build the mode buttons' accessible interfaces (call once per
// program, before the buttons are made).
void installWindowAccessibility();

// Marks a button of the window as one of its mode buttons.
void markModeButton(QPushButton* button);

// A mode button changed colour: assistive technology hears whether it is on.
void tellModeButtonState(QPushButton* button);

// Gives the step list its name and description. The name comes from a label
// of the window that shows no text on the screen.
void nameStepList(QWidget* window, QComboBox* list);

}  // namespace tirpo
