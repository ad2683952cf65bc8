#pragma once
// An indexed array of controls. Element 0 is the template made with the
// window; loading element i copies it, hidden. Addressing an element that has
// not been loaded gives nullptr, which the caller skips or treats as failure.

#include <map>
#include <memory>
#include <string>

namespace tirpo {

template <typename T>
class ControlArray {
 public:
  explicit ControlArray(std::unique_ptr<T> element0) {
    element0->setIndex(0);
    elements_.emplace(0, std::move(element0));
  }

  T* at(int i) const {
    const auto it = elements_.find(i);
    return it == elements_.end() ? nullptr : it->second.get();
  }
  T& operator[](int i) const { return *at(i); }  // only for elements known to exist

  // Loads element i as a hidden copy of element 0; nullptr if it exists.
  T* load(int i) {
    if (elements_.count(i)) return nullptr;
    auto copy = std::make_unique<T>(*at(0));
    copy->setIndex(i);
    copy->setVisible(false);
    T* raw = copy.get();
    elements_.emplace(i, std::move(copy));
    return raw;
  }

  std::size_t size() const { return elements_.size(); }

 private:
  std::map<int, std::unique_ptr<T>> elements_;
};

}  // namespace tirpo
