#pragma once
// An indexed array of controls. Element 0 is the template made with the
// window; loading element i copies it, hidden. Addressing an element that has
// not been loaded gives nullptr, which the caller skips or treats as failure.

#include <memory>
#include <string>
#include <vector>

namespace tirpo {

template <typename T>
class ControlArray {
 public:
  explicit ControlArray(std::unique_ptr<T> element0) {
    element0->setIndex(0);
    elements_.push_back(std::move(element0));
    loaded_ = 1;
  }

  // Elements sit at their index: the handlers address them on every tick.
  T* at(int i) const {
    return i >= 0 && static_cast<std::size_t>(i) < elements_.size() ? elements_[static_cast<std::size_t>(i)].get()
                                                                    : nullptr;
  }
  T& operator[](int i) const { return *at(i); }  // only for elements known to exist

  // Loads element i as a hidden copy of element 0; nullptr if it exists or i
  // is negative.
  T* load(int i) {
    if (i < 0 || at(i)) return nullptr;
    auto copy = std::make_unique<T>(*at(0));
    copy->setIndex(i);
    copy->setVisible(False);
    T* raw = copy.get();
    if (static_cast<std::size_t>(i) >= elements_.size()) elements_.resize(static_cast<std::size_t>(i) + 1);
    elements_[static_cast<std::size_t>(i)] = std::move(copy);
    ++loaded_;
    return raw;
  }

  std::size_t size() const { return loaded_; }

 private:
  std::vector<std::unique_ptr<T>> elements_;
  std::size_t loaded_ = 0;
};

}  // namespace tirpo
