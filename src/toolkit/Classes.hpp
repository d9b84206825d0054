#pragma once
// The root of the toolkit's object kinds: event handlers receive their sender as a TObject.

#include <cstdint>
#include <functional>
#include <initializer_list>

namespace ui {

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// A set of the values of a small enumeration (at most 32 values), as flags.
template <typename E>
class TSet {
 public:
  constexpr TSet() noexcept = default;
  constexpr TSet(std::initializer_list<E> iValues) noexcept {
    for (const E v : iValues) Include(v);
  }
  [[nodiscard]] constexpr bool Contains(E iValue) const noexcept { return (bits_ & Bit(iValue)) != 0; }
  constexpr void Include(E iValue) noexcept { bits_ |= Bit(iValue); }
  constexpr void Exclude(E iValue) noexcept { bits_ &= ~Bit(iValue); }
  friend constexpr bool operator==(const TSet&, const TSet&) = default;

 private:
  static constexpr std::uint32_t Bit(E iValue) noexcept { return 1u << static_cast<unsigned>(iValue); }
  std::uint32_t bits_ = 0;
};

}  // namespace ui
