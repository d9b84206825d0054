#include "toolkit/Effects.hpp"

#include <algorithm>

namespace ui {

float TGlowEffect::Extent() const noexcept { return std::max(Softness, 0.0f) * 10.0f; }

float TGlowEffect::StrengthAt(float iDistance) const noexcept {
  const float extent = Extent();
  if (extent <= 0 || iDistance < 0 || iDistance >= extent) return 0;
  const float rest = 1.0f - iDistance / extent;
  const float alpha = static_cast<float>(GlowColor >> 24) / 255.0f;
  // Quadratic: most of the glow stays close to the edge, as a blurred outline does.
  return alpha * std::clamp(Opacity, 0.0f, 1.0f) * rest * rest;
}

TGlowEffect ReadGlowEffect(const TResObject& iObject) {
  TGlowEffect glow;
  glow.GlowColor = ReadColor(iObject, "GlowColor").value_or(glow.GlowColor);
  glow.Softness = static_cast<float>(ReadNumber(iObject, "Softness").value_or(glow.Softness));
  glow.Opacity = static_cast<float>(ReadNumber(iObject, "Opacity").value_or(glow.Opacity));
  return glow;
}

std::optional<TGlowEffect> FindGlowEffect(const TResObject& iObject) {
  for (const TResObject& child : iObject.Children) {
    if (child.ClassName == "TGlowEffect") return ReadGlowEffect(child);
  }
  return std::nullopt;
}

}  // namespace ui
