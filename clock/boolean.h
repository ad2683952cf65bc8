#pragma once
// The window's Boolean: a 16-bit integer that is True (-1) or False (0) and
// nothing else. Flags and Boolean control properties are compared against
// these exact values, so a 1 stored by mistake would fail every "== True"
// and silently switch a mode off. This type cannot hold such a value: it is
// made only from True, False or a condition (Boolean::of), and assigning
// true, 1 or any other number does not compile.
//
// It converts explicitly to bool, so a flag reads as a condition in `if`,
// `!`, `&&` and `?:`; anywhere else say `== True` or `static_cast<bool>`.

#include <cstdint>
#include <ostream>

namespace tirpo {

class Boolean {
 public:
  constexpr Boolean() = default;  // False
  // No Boolean from a number or a bool: `flag = true;`, `flag = 1;` and
  // `flag == 1` name these and fail to compile.
  template <typename T>
  Boolean(T) = delete;

  // The Boolean a condition yields: True when it holds.
  static constexpr Boolean of(bool condition) { return Boolean(condition ? kTrue : kFalse); }

  constexpr explicit operator bool() const { return value_ != kFalse; }
  // The stored 16-bit value, -1 or 0.
  constexpr std::int16_t value() const { return value_; }

  friend constexpr bool operator==(Boolean, Boolean) = default;
  friend std::ostream& operator<<(std::ostream& out, Boolean b) { return out << b.value_; }

 private:
  static constexpr std::int16_t kTrue = -1;
  static constexpr std::int16_t kFalse = 0;
  constexpr Boolean(std::int16_t v) : value_(v) {}  // NOLINT(google-explicit-constructor): only of() uses it
  std::int16_t value_ = kFalse;
};

inline constexpr Boolean True = Boolean::of(true);
inline constexpr Boolean False = Boolean::of(false);

}  // namespace tirpo
