// The nine message pairs as the program shows them, the three added ones, and the choice of
// language: "ja" exactly means Japanese, and the choice is made once per run.

#include "utils/uMessages.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "rtl/Text.hpp"
#include "toolkit/LocaleService.hpp"

namespace {

using uMessages::TMessagePair;

class TFakeLocale final : public ui::IFMXLocaleService {
 public:
  explicit TFakeLocale(std::u16string iCode) : code(std::move(iCode)) {}
  std::u16string GetCurrentLangID() override {
    ++asked;
    return code;
  }
  std::u16string code;
  int asked = 0;
};

// Each test starts as a run starts: undecided, no locale service.
class MessageLanguageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = Services().GetPlatformService(ui::IFMXLocaleService::IID());
    Services().RemovePlatformService(ui::IFMXLocaleService::IID());
    uMessages::test_support::ResetMessageLanguage();
  }
  void TearDown() override {
    Services().RemovePlatformService(ui::IFMXLocaleService::IID());
    if (saved_) Services().AddPlatformService(ui::IFMXLocaleService::IID(), saved_);
    uMessages::test_support::ResetMessageLanguage();
  }
  std::shared_ptr<TFakeLocale> InstallLocale(const std::u16string& code) {
    Services().RemovePlatformService(ui::IFMXLocaleService::IID());
    auto locale = std::make_shared<TFakeLocale>(code);
    Services().AddPlatformService(ui::IFMXLocaleService::IID(), locale);
    return locale;
  }
  static ui::TPlatformServices& Services() { return ui::TPlatformServices::Current(); }
  std::shared_ptr<ui::IInterface> saved_;
};

TEST_F(MessageLanguageTest, OnlyExactlyJaGivesJapanese) {
  struct TRow {
    const char16_t* Code;
    bool Japanese;
  };
  const TRow rows[] = {{u"ja", true},  {u"en", false},    {u"zh", false}, {u"JA", false},
                       {u"ja-JP", false}, {u" ja", false}, {u"", false}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(row.Code));
    uMessages::test_support::ResetMessageLanguage();
    InstallLocale(row.Code);
    EXPECT_EQ(uMessages::GetLocalizedMessage(uMessages::MSG_AMOUNT_NOT_SET),
              row.Japanese ? u"送金額が設定されていません" : u"Transfer amount not set");
  }
}

TEST_F(MessageLanguageTest, WithoutLocaleServiceJapaneseAndAskedAgainLater) {
  EXPECT_EQ(uMessages::GetLocalizedMessage(uMessages::MSG_WALLET_NOT_RUNNING), u"ウォレットが起動していません");
  EXPECT_EQ(uMessages::GetLocalizedMessage(uMessages::MSG_WALLET_NOT_RUNNING), u"ウォレットが起動していません");
  const auto locale = InstallLocale(u"en");
  EXPECT_EQ(uMessages::GetLocalizedMessage(uMessages::MSG_WALLET_NOT_RUNNING), u"Wallet not running.");
  EXPECT_EQ(locale->asked, 1);
}

TEST_F(MessageLanguageTest, DecidedOnceForTheRun) {
  const auto locale = InstallLocale(u"en");
  EXPECT_EQ(uMessages::GetLocalizedMessage(uMessages::MSG_REGISTER_FAILED), u"Failed to register Scheme");
  locale->code = u"ja";  // the user changes the locale while the program runs
  EXPECT_EQ(uMessages::GetLocalizedMessage(uMessages::MSG_REGISTER_FAILED), u"Failed to register Scheme");
  InstallLocale(u"ja");
  EXPECT_EQ(uMessages::GetLocalizedMessage(uMessages::MSG_REGISTER_FAILED), u"Failed to register Scheme");
  EXPECT_EQ(locale->asked, 1);
}

// Written here as UTF-8, so a slip in the pairs' UTF-16 literals shows.
struct TPairRow {
  const char* Name;
  const TMessagePair& Pair;
  const char* Japanese;
  const char* English;
};

const TPairRow kPairs[] = {
    {"MSG_REGISTER_FAILED", uMessages::MSG_REGISTER_FAILED, "Scheme \xE3\x81\xAE\xE7\x99\xBB\xE9\x8C\xB2\xE3\x81\xAB\xE5\xA4\xB1\xE6\x95\x97\xE3\x81\x97\xE3\x81\xBE\xE3\x81\x97\xE3\x81\x9F",
     "Failed to register Scheme"},
    {"MSG_UNREGISTER_FAILED", uMessages::MSG_UNREGISTER_FAILED, "Scheme の削除に失敗しました", "Failed to unregister Scheme"},
    {"MSG_UNREGISTER_SUCCEEDED", uMessages::MSG_UNREGISTER_SUCCEEDED, "Scheme の削除に成功しました", "Successfully deleted Scheme"},
    {"MSG_WALLET_NOT_RUNNING", uMessages::MSG_WALLET_NOT_RUNNING, "ウォレットが起動していません", "Wallet not running."},
    {"MSG_WALLET_EXE_NOT_FOUND", uMessages::MSG_WALLET_EXE_NOT_FOUND, "ORVELLA-qt.exe が見つかりません", "ORVELLA-qt.exe not found"},
    {"MSG_AMOUNT_NOT_SET", uMessages::MSG_AMOUNT_NOT_SET, "送金額が設定されていません", "Transfer amount not set"},
    {"MSG_REGISTER_SUCCEEDED_RESTART", uMessages::MSG_REGISTER_SUCCEEDED_RESTART,
     "Scheme の登録に成功しました\r\n今すぐ再起動しますか\xEF\xBC\x9F", "Successful registration of Scheme\r\nWould you like to restart now?"},
    {"MSG_CONFIRM_SEND", uMessages::MSG_CONFIRM_SEND, "ウォレットに送金情報を設定します\r\nよろしいですか\xEF\xBC\x9F",
     "Set up remittance information on Wallet\r\nAre you sure?"},
    {"MSG_CONFIRM_SEND_CONVERTED", uMessages::MSG_CONFIRM_SEND_CONVERTED,
     "ウォレットに送金情報を設定します\r\n\r\n送金金額: %s[ORVL]\r\n%s[%s] を 1[ORVL] = %.10f[%s] として換算\r\n\xE2\x80\xBB%s 時現在\r\n\r\nよろしいですか\xEF\xBC\x9F",
     "Set up remittance information on Wallet\r\n\r\nAmount: %s[ORVL]\r\nConverted %s[%s] as 1[ORVL] = %.10f[%s]\r\n*LastUpdated %s\r\n\r\nAre you sure?"},
};

TEST(MessagePairs, TheNinePairsAsShown) {
  for (const TPairRow& row : kPairs) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(row.Pair[0], rtl::Utf8ToUtf16(row.Japanese));
    EXPECT_EQ(row.Pair[1], rtl::Utf8ToUtf16(row.English));
  }
}

// The placeholders in the order the caller fills them, the same in both languages.
std::u16string Placeholders(std::u16string_view text) {
  std::u16string found;
  for (std::size_t at = text.find(u'%'); at != std::u16string_view::npos; at = text.find(u'%', at + 1)) {
    found += text.substr(at, text.substr(at, 5) == u"%.10f" ? 5 : 2);
    found += u' ';
  }
  return found;
}

TEST(MessagePairs, ConvertedConfirmationHasTheSamePlaceholdersInBothLanguages) {
  EXPECT_EQ(Placeholders(uMessages::MSG_CONFIRM_SEND_CONVERTED[0]), u"%s %s %s %.10f %s %s ");
  EXPECT_EQ(Placeholders(uMessages::MSG_CONFIRM_SEND_CONVERTED[1]), u"%s %s %s %.10f %s %s ");
}

TEST(MessagePairs, AddedPairsHaveBothLanguagesAndNoPlaceholders) {
  const TMessagePair* added[] = {&uMessages::MSG_RATE_UNAVAILABLE, &uMessages::MSG_NO_ADDRESS,
                                 &uMessages::MSG_CURRENCY_UNSUPPORTED};
  for (const TMessagePair* pair : added) {
    SCOPED_TRACE(rtl::Utf16ToUtf8((*pair)[1]));
    EXPECT_FALSE((*pair)[0].empty());
    EXPECT_FALSE((*pair)[1].empty());
    EXPECT_NE((*pair)[0], (*pair)[1]);
    EXPECT_EQ((*pair)[0].find(u'%'), std::u16string_view::npos) << "shown as they are, never formatted";
    EXPECT_EQ((*pair)[1].find(u'%'), std::u16string_view::npos);
    EXPECT_NE((*pair)[1].back(), u'.') << "only MSG_WALLET_NOT_RUNNING ends with a full stop";
  }
}

}  // namespace
