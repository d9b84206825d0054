#include "toolkit/Animations.hpp"

namespace ui {

void TFloatAnimation::Start(TClock::time_point iNow) {
  started_ = iNow;
  running_ = true;
  if (setter_) setter_(StartValue);
}

void TFloatAnimation::Tick(TClock::time_point iNow) {
  if (!running_) return;
  const double elapsed = std::chrono::duration<double>(iNow - started_).count();
  const float value = ValueAt(elapsed);
  if (elapsed >= Duration) running_ = false;
  if (setter_) setter_(value);
}

float TFloatAnimation::ValueAt(double iElapsedSeconds) const noexcept {
  if (Duration <= 0 || iElapsedSeconds >= Duration) return StopValue;
  if (iElapsedSeconds <= 0) return StartValue;
  const double t = iElapsedSeconds / Duration;
  return static_cast<float>(StartValue + (StopValue - StartValue) * t);
}

}  // namespace ui
