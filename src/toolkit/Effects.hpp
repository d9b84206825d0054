#pragma once
// Effects a layout puts on a control (TGlowEffect): plain data read from the layout and
// the arithmetic of how they fade; the control that carries one draws it.

#include <optional>

#include "toolkit/FormLoader.hpp"

namespace ui {

// A soft glow around a shape: its colour fades out over Softness x 10 DIP beyond the
// shape's edge, faded as a whole by Opacity.
struct TGlowEffect {
  TAlphaColor GlowColor = 0xFFFFD700;
  float Softness = 0.4f;
  float Opacity = 0.9f;

  // How far the glow reaches beyond the shape, in DIP.
  [[nodiscard]] float Extent() const noexcept;
  // The glow's strength (0..1) at iDistance DIP outside the shape: its colour's alpha
  // times Opacity at the edge, falling smoothly to nothing at the extent.
  [[nodiscard]] float StrengthAt(float iDistance) const noexcept;
};

// The glow of a layout object of class TGlowEffect.
[[nodiscard]] TGlowEffect ReadGlowEffect(const TResObject& iObject);
// The glow among an object's children (the first TGlowEffect), or none.
[[nodiscard]] std::optional<TGlowEffect> FindGlowEffect(const TResObject& iObject);

}  // namespace ui
