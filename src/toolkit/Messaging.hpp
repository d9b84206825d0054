#pragma once
// The message manager: subscribers of a message type receive every message object of that
// exact type that is sent. Portable; all calls come from the main thread.

#include <functional>
#include <map>
#include <memory>
#include <typeindex>
#include <utility>
#include <vector>

#include "toolkit/Classes.hpp"

namespace ui {

class TMessageBase {
 public:
  virtual ~TMessageBase() = default;
};

// A message that carries one value.
template <typename T>
class TMessage : public TMessageBase {
 public:
  explicit TMessage(T iValue) : value_(std::move(iValue)) {}
  [[nodiscard]] const T& Value() const noexcept { return value_; }

 private:
  T value_;
};

using TMessageListener = std::function<void(TObject* Sender, const TMessageBase& M)>;

class TMessageManager {
 public:
  [[nodiscard]] static TMessageManager& DefaultManager();

  // Returns the subscription's id (never 0), needed to unsubscribe.
  template <typename M>
  int SubscribeToMessage(TMessageListener iListener) {
    return SubscribeToMessage(std::type_index(typeid(M)), std::move(iListener));
  }
  int SubscribeToMessage(std::type_index iMessageType, TMessageListener iListener);

  template <typename M>
  void Unsubscribe(int iId) {
    Unsubscribe(std::type_index(typeid(M)), iId);
  }
  void Unsubscribe(std::type_index iMessageType, int iId);

  // (Not "SendMessage": <windows.h> makes that name a macro.)
  // Calls every subscriber of the message's own type, in the order they subscribed. A
  // subscriber removed by an earlier one during the send is not called; one added during
  // the send is called from the next send on.
  void Send(TObject* iSender, const TMessageBase& iMessage);

 private:
  struct TSubscription {
    int Id;
    std::shared_ptr<TMessageListener> Listener;
  };
  std::map<std::type_index, std::vector<TSubscription>> subscriptions_;
  int lastId_ = 0;
};

}  // namespace ui
