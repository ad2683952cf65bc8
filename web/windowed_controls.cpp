#include "web/windowed_controls.h"

#include <algorithm>

#include "web/canvas_text_measurer.h"
#include "web/dom_events.h"
#include "web/face_canvas.h"

namespace tirpo::web {

using emscripten::val;

namespace {

val create(const std::string& tag, const std::string& id, val parent) {
  val e = document().call<val>("createElement", tag);
  if (!id.empty()) e.set("id", id);
  parent.call<void>("appendChild", e);
  return e;
}

}  // namespace

std::string elementId(const Control& c) {
  return c.index() >= 0 ? c.name() + "_" + std::to_string(c.index()) : c.name();
}

WindowedControls::WindowedControls(Form88& form) : form_(form), root_(element("controls")) {
  // Created in tab order, so the page's Tab follows the window's: the
  // controls by their tab index, then the face and its picture.
  std::vector<Control*> order = form.windowedControls();
  std::stable_sort(order.begin(), order.end(),
                   [](const Control* a, const Control* b) { return a->tabIndex() < b->tabIndex(); });
  val frame = create("div", "Frame1", root_);
  frame.set("className", std::string("frame"));
  frame.call<void>("setAttribute", std::string("role"), std::string("group"));
  frame.call<void>("setAttribute", std::string("aria-labelledby"), std::string("Frame1_title"));
  create("div", "", frame).set("className", std::string("frame-edge"));
  create("span", "Frame1_title", frame).set("className", std::string("frame-title"));
  for (Control* c : order) {
    if (c == &form.Frame1) continue;
    if (c == &form.Combo1) createStepList();
    if (c == &form.Command8) createButton(form.Command8, "Command8");
    if (c == &form.Command12) createButton(form.Command12, "Command12");
    if (c == &form.Check2) createBox(form.Check2, "Check2", root_);
    for (int i = 0; i < 3; ++i)
      if (c == form.Check3.at(i)) createBox(form.Check3[i], elementId(form.Check3[i]), frame);
  }
  // Names for assistive technology: what each control is for.
  element("Command8")
      .call<void>("setAttribute", std::string("aria-description"), std::string("いまの時刻を表示する時計にする"));
  element("Command12")
      .call<void>("setAttribute", std::string("aria-description"), std::string("クリックで時刻を合わせる時計にする"));
  const char* handNames[] = {"時針を表示", "分針を表示", "秒針を表示"};
  for (int i = 0; i < 3; ++i)
    element(elementId(form.Check3[i]) + "_box")
        .call<void>("setAttribute", std::string("aria-label"), std::string(handNames[i]));
  // The focus ring shows where the keyboard moved the focus, until a press
  // makes the focus the pointer's again, as on the desktop.
  listen("document", "keydown", [this](val e) {
    if (e["key"].as<std::string>() == "Tab") root_["classList"].call<void>("add", std::string("keyboard"));
  });
  // A press anywhere else closes the open list, as the desktop's does.
  listen("document", "pointerdown", [this](val e) {
    root_["classList"].call<void>("remove", std::string("keyboard"));
    if (!listOpen_) return;
    if (element("Combo1").call<bool>("contains", e["target"])) return;
    openList(false);
  });
}

void WindowedControls::createButton(PushButton& button, const std::string& id) {
  val b = create("button", id, root_);
  b.set("type", std::string("button"));
  b.set("className", std::string("push"));
  listen(id, "click", [&button](val) { button.click(); });
}

void WindowedControls::createBox(CheckBox& box, const std::string& id, val parent) {
  val label = create("label", id, parent);
  label.set("className", std::string("box"));
  val input = create("input", id + "_box", label);
  input.set("type", std::string("checkbox"));
  create("span", id + "_text", label);
  listen(id + "_box", "click", [this, &box](val) {
    box.toggle();
    sync(box);  // the box shows the control's value, whatever the click did
  });
}

void WindowedControls::createStepList() {
  val combo = create("div", "Combo1", root_);
  combo.set("className", std::string("combo"));
  val input = create("input", "Combo1_text", combo);
  input.set("type", std::string("text"));
  input.set("spellcheck", false);
  input.call<void>("setAttribute", std::string("autocomplete"), std::string("off"));
  input.call<void>("setAttribute", std::string("role"), std::string("combobox"));
  input.call<void>("setAttribute", std::string("aria-expanded"), std::string("false"));
  input.call<void>("setAttribute", std::string("aria-controls"), std::string("Combo1_list"));
  input.call<void>("setAttribute", std::string("aria-label"), std::string("クリックで進める時間"));
  val button = create("button", "Combo1_open", combo);
  button.set("type", std::string("button"));
  button.set("tabIndex", -1);
  button.call<void>("setAttribute", std::string("aria-label"), std::string("一覧を開く"));
  val list = create("ul", "Combo1_list", combo);
  list.call<void>("setAttribute", std::string("role"), std::string("listbox"));
  list.set("hidden", true);
  const auto& items = form_.Combo1.items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string id = "Combo1_item_" + std::to_string(i);
    val option = create("li", id, list);
    option.call<void>("setAttribute", std::string("role"), std::string("option"));
    option.set("textContent", items[i]);
    const int index = static_cast<int>(i);
    // A pick keeps the focus in the text, as on the desktop.
    listen(id, "mousedown", [](val e) { e.call<void>("preventDefault"); });
    listen(id, "click", [this, index](val) {
      openList(false);
      form_.Combo1.pick(index);
    });
  }
  listen("Combo1_open", "mousedown", [](val e) { e.call<void>("preventDefault"); });
  listen("Combo1_open", "pointerdown",
         [this](val e) { openedByFinger_ = e["pointerType"].as<std::string>() != "mouse"; });
  listen("Combo1_open", "click", [this](val) {
    openList(!listOpen_);
    // A finger wants the list, not the keyboard that a tablet brings up for
    // a text with the focus.
    if (!openedByFinger_) element("Combo1_text").call<void>("focus");
    openedByFinger_ = false;
  });
  listen("Combo1_text", "input",
         [this](val) { form_.Combo1.typeText(element("Combo1_text")["value"].as<std::string>()); });
  listen("Combo1_text", "keydown", [this](val e) {
    const std::string key = e["key"].as<std::string>();
    const bool alt = e["altKey"].as<bool>();
    bool handled = true;
    if ((key == "ArrowDown" && alt) || key == "F4") {
      openList(!listOpen_);
    } else if (key == "ArrowDown" || key == "ArrowUp") {
      moveInList(key == "ArrowDown" ? 1 : -1);
    } else if (listOpen_ && (key == "Enter" || key == " ")) {
      const int pick = listCurrent_;
      openList(false);
      if (pick >= 0) form_.Combo1.pick(pick);
    } else if (listOpen_ && key == "Escape") {
      openList(false);
    } else {
      handled = false;
    }
    if (handled) e.call<void>("preventDefault");
  });
}

// Up and Down step through the list: in the open list they move the
// highlight, in the closed one they pick the next item, as the desktop's
// editable list does.
void WindowedControls::moveInList(int by) {
  const int count = static_cast<int>(form_.Combo1.items().size());
  const int from = listOpen_ ? listCurrent_ : form_.Combo1.listIndex();
  const int to = std::clamp(from < 0 ? (by > 0 ? 0 : count - 1) : from + by, 0, count - 1);
  if (listOpen_) {
    listCurrent_ = to;
    openList(true);
  } else if (to != form_.Combo1.listIndex()) {
    form_.Combo1.pick(to);
  }
}

void WindowedControls::openList(bool open) {
  if (open && !listOpen_) listCurrent_ = form_.Combo1.listIndex();
  listOpen_ = open;
  element("Combo1_list").set("hidden", !open);
  val input = element("Combo1_text");
  input.call<void>("setAttribute", std::string("aria-expanded"), std::string(open ? "true" : "false"));
  const auto& items = form_.Combo1.items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    val option = element("Combo1_item_" + std::to_string(i));
    const bool current = open && static_cast<int>(i) == listCurrent_;
    option.call<void>("setAttribute", std::string("aria-selected"), std::string(current ? "true" : "false"));
  }
  if (open && listCurrent_ >= 0)
    input.call<void>("setAttribute", std::string("aria-activedescendant"),
                     "Combo1_item_" + std::to_string(listCurrent_));
  else
    input.call<void>("removeAttribute", std::string("aria-activedescendant"));
}

val WindowedControls::elementFor(const Control& c) const { return element(elementId(c)); }

void WindowedControls::sync(const Control& c) {
  val e = elementFor(c);
  if (e.isNull()) return;
  placeAt(e, toPixels(c.twips(), kTwipsPerCssPixel));
  switch (c.kind()) {
    case Kind::ComboBox: {
      const auto& combo = static_cast<const ComboBox&>(c);
      val input = element("Combo1_text");
      if (input["value"].as<std::string>() != combo.text()) input.set("value", combo.text());
      input.set("disabled", !c.enabled());
      if (!c.visible() && listOpen_) openList(false);
      break;
    }
    case Kind::Frame: {
      const auto& frame = static_cast<const Frame&>(c);
      element("Frame1_title").set("textContent", frame.caption());
      setStyle(e, "background-color", cssColour(frame.backColor()));
      setStyle(e, "color", cssColour(frame.foreColor()));
      break;
    }
    case Kind::CheckBox: {
      const auto& box = static_cast<const CheckBox&>(c);
      const std::string id = elementId(c);
      element(id + "_text").set("textContent", box.caption());
      val input = element(id + "_box");
      input.set("checked", box.value() == 1);
      input.set("indeterminate", box.value() == 2);
      input.set("disabled", !c.enabled());
      setStyle(e, "background-color", cssColour(box.backColor()));
      setStyle(e, "color", cssColour(box.foreColor()));
      break;
    }
    case Kind::Button: {
      const auto& button = static_cast<const PushButton&>(c);
      e.set("textContent", button.caption());
      e.set("disabled", !c.enabled());
      setStyle(e, "background-color", cssColour(button.backColor()));
      setStyle(e, "font", cssFont(button.font()));
      break;
    }
    default:
      break;
  }
  e.set("hidden", !c.visible());
}

void WindowedControls::syncAll() {
  for (Control* c : form_.windowedControls()) sync(*c);
}

}  // namespace tirpo::web
