#include "toolkit/Messaging.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TTextMessage final : public ui::TMessage<std::string> {
 public:
  using TMessage::TMessage;
};
class TOtherMessage final : public ui::TMessage<int> {
 public:
  using TMessage::TMessage;
};

TEST(TMessageManager, SendsToSubscribersOfTheExactTypeInOrder) {
  ui::TMessageManager manager;
  std::vector<std::string> got;
  const int first = manager.SubscribeToMessage<TTextMessage>([&](ui::TObject*, const ui::TMessageBase& m) {
    got.push_back("1:" + static_cast<const TTextMessage&>(m).Value());
  });
  const int second = manager.SubscribeToMessage<TTextMessage>([&](ui::TObject*, const ui::TMessageBase& m) {
    got.push_back("2:" + static_cast<const TTextMessage&>(m).Value());
  });
  manager.SubscribeToMessage<TOtherMessage>([&](ui::TObject*, const ui::TMessageBase&) { got.push_back("other"); });
  EXPECT_NE(first, 0);
  EXPECT_NE(first, second);

  manager.Send(nullptr, TTextMessage("a"));
  EXPECT_EQ(got, (std::vector<std::string>{"1:a", "2:a"}));

  got.clear();
  manager.Unsubscribe<TTextMessage>(first);
  manager.Unsubscribe<TTextMessage>(12345);  // unknown ids are ignored
  manager.Send(nullptr, TTextMessage("b"));
  EXPECT_EQ(got, (std::vector<std::string>{"2:b"}));
}

TEST(TMessageManager, SubscribersChangingTheListDuringASend) {
  ui::TMessageManager manager;
  std::vector<std::string> got;
  int second = 0;
  manager.SubscribeToMessage<TOtherMessage>([&](ui::TObject*, const ui::TMessageBase&) {
    got.push_back("first");
    manager.Unsubscribe<TOtherMessage>(second);
    manager.SubscribeToMessage<TOtherMessage>([&](ui::TObject*, const ui::TMessageBase&) { got.push_back("late"); });
  });
  second = manager.SubscribeToMessage<TOtherMessage>([&](ui::TObject*, const ui::TMessageBase&) { got.push_back("second"); });
  manager.Send(nullptr, TOtherMessage(1));
  EXPECT_EQ(got, (std::vector<std::string>{"first"})) << "the removed one is not called, the new one not yet";
}

}  // namespace
