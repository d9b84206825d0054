#pragma once
// The style book: the colours and fonts the controls are drawn with, and named styles a
// control can look up. Ours is one dark style ("Jet"); a control without a style book
// uses it too, so every window looks the same.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace ui {

using TColorRef = std::uint32_t;  // 0x00BBGGRR, as GDI takes it

struct TStyle {
  TColorRef Background = 0x00302C2A;
  TColorRef Text = 0x00EEEEEE;
  TColorRef Face = 0x00504A46;        // buttons
  TColorRef FaceHot = 0x00605A56;
  TColorRef EditBack = 0x00201E1C;
  TColorRef Border = 0x00807870;
  TColorRef CheckBack = 0x00403A36;   // "checkboxstylewithback"
  std::u16string FontFamily = u"Segoe UI";
  float FontSize = 12;                // device-independent units
};

class TStyleBook {
 public:
  // The dark style of the program with its named styles.
  [[nodiscard]] static const TStyleBook& Jet();

  [[nodiscard]] const TStyle& Default() const noexcept { return default_; }
  // A named style ("checkboxstylewithback"); the default style when the name is unknown.
  [[nodiscard]] const TStyle& Lookup(std::u16string_view iName) const;

 private:
  TStyle default_;
  std::map<std::u16string, TStyle, std::less<>> named_;
};

inline const TStyleBook& TStyleBook::Jet() {
  static const TStyleBook book = [] {
    TStyleBook b;
    TStyle withBack = b.default_;
    withBack.Background = withBack.CheckBack;
    b.named_.emplace(u"checkboxstylewithback", withBack);
    return b;
  }();
  return book;
}

inline const TStyle& TStyleBook::Lookup(std::u16string_view iName) const {
  const auto it = named_.find(iName);
  return it == named_.end() ? default_ : it->second;
}

}  // namespace ui
