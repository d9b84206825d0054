#pragma once
// TFloatAnimation: moves one property of a control from a start value to a stop value
// over a duration, linearly. Time comes from outside (Tick), so the arithmetic is plain;
// the form that holds the animation ticks it from a window timer while it runs.

#include <chrono>
#include <functional>
#include <string>

namespace ui {

class TFloatAnimation {
 public:
  using TClock = std::chrono::steady_clock;
  using TSetter = std::function<void(float)>;

  TFloatAnimation(std::u16string iName, TSetter iSetter) : Name(std::move(iName)), setter_(std::move(iSetter)) {}

  const std::u16string Name;
  std::u16string PropertyName;
  float StartValue = 0;
  float StopValue = 1;
  double Duration = 0.2;  // seconds

  // (Re)starts from StartValue: the property takes StartValue at once.
  void Start(TClock::time_point iNow = TClock::now());
  void Stop() noexcept { running_ = false; }
  [[nodiscard]] bool Running() const noexcept { return running_; }
  // Sets the property for the time iNow; at or after the end it takes StopValue and stops.
  void Tick(TClock::time_point iNow = TClock::now());

  // The value at a time after the start, linear; StopValue at or after the duration.
  [[nodiscard]] float ValueAt(double iElapsedSeconds) const noexcept;

 private:
  TSetter setter_;
  TClock::time_point started_{};
  bool running_ = false;
};

}  // namespace ui
