#pragma once
// The root of the toolkit's object kinds: event handlers receive their sender as a TObject.

#include <functional>

namespace ui {

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

}  // namespace ui
