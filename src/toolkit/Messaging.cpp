#include "toolkit/Messaging.hpp"

#include <algorithm>

namespace ui {

TMessageManager& TMessageManager::DefaultManager() {
  static TMessageManager manager;
  return manager;
}

int TMessageManager::SubscribeToMessage(std::type_index iMessageType, TMessageListener iListener) {
  const int id = ++lastId_;
  subscriptions_[iMessageType].push_back({id, std::make_shared<TMessageListener>(std::move(iListener))});
  return id;
}

void TMessageManager::Unsubscribe(std::type_index iMessageType, int iId) {
  const auto found = subscriptions_.find(iMessageType);
  if (found == subscriptions_.end()) return;
  std::erase_if(found->second, [iId](const TSubscription& s) { return s.Id == iId; });
}

void TMessageManager::Send(TObject* iSender, const TMessageBase& iMessage) {
  const std::type_index type(typeid(iMessage));
  const auto found = subscriptions_.find(type);
  if (found == subscriptions_.end()) return;
  // A copy: subscribers may subscribe and unsubscribe while they are called.
  const std::vector<TSubscription> snapshot = found->second;
  for (const TSubscription& s : snapshot) {
    const auto& now = subscriptions_[type];
    const bool stillSubscribed =
        std::any_of(now.begin(), now.end(), [&](const TSubscription& n) { return n.Id == s.Id; });
    if (stillSubscribed && *s.Listener) (*s.Listener)(iSender, iMessage);
  }
}

}  // namespace ui
