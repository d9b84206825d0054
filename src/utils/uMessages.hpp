#pragma once
// Every message the program shows, in Japanese (index 0) and English (index 1), and the
// choice between them, made once per run from the user's language.

#include <array>
#include <string>
#include <string_view>

namespace uMessages {

using TMessagePair = std::array<std::u16string_view, 2>;

inline constexpr TMessagePair MSG_REGISTER_FAILED = {u"Scheme の登録に失敗しました", u"Failed to register Scheme"};
inline constexpr TMessagePair MSG_UNREGISTER_FAILED = {u"Scheme の削除に失敗しました", u"Failed to unregister Scheme"};
inline constexpr TMessagePair MSG_UNREGISTER_SUCCEEDED = {u"Scheme の削除に成功しました", u"Successfully deleted Scheme"};
inline constexpr TMessagePair MSG_WALLET_NOT_RUNNING = {u"ウォレットが起動していません", u"Wallet not running."};
inline constexpr TMessagePair MSG_WALLET_EXE_NOT_FOUND = {u"ORVELLA-qt.exe が見つかりません", u"ORVELLA-qt.exe not found"};
inline constexpr TMessagePair MSG_AMOUNT_NOT_SET = {u"送金額が設定されていません", u"Transfer amount not set"};
inline constexpr TMessagePair MSG_REGISTER_SUCCEEDED_RESTART = {
    u"Scheme の登録に成功しました\r\n今すぐ再起動しますか\uFF1F",
    u"Successful registration of Scheme\r\nWould you like to restart now?"};
inline constexpr TMessagePair MSG_CONFIRM_SEND = {u"ウォレットに送金情報を設定します\r\nよろしいですか\uFF1F",
                                                  u"Set up remittance information on Wallet\r\nAre you sure?"};
// Placeholders, in both languages: converted coin amount, amount as given, currency code,
// price of one coin (%.10f), currency code, time of the price.
inline constexpr TMessagePair MSG_CONFIRM_SEND_CONVERTED = {
    u"ウォレットに送金情報を設定します\r\n\r\n送金金額: %s[ORVL]\r\n%s[%s] を 1[ORVL] = %.10f[%s] として換算\r\n"
    u"\u203B%s 時現在\r\n\r\nよろしいですか\uFF1F",
    u"Set up remittance information on Wallet\r\n\r\nAmount: %s[ORVL]\r\nConverted %s[%s] as 1[ORVL] = "
    u"%.10f[%s]\r\n*LastUpdated %s\r\n\r\nAre you sure?"};

// No price was obtained: nothing is handed to the wallet, so no fiat number is ever
// offered as a coin amount.
inline constexpr TMessagePair MSG_RATE_UNAVAILABLE = {
    u"為替レートを取得できませんでした\r\nウォレットには何も送信していません",
    u"Failed to get the exchange rate\r\nNothing was sent to Wallet"};
inline constexpr TMessagePair MSG_NO_ADDRESS = {u"送金先アドレスが設定されていません",
                                                u"Payment address not set"};
inline constexpr TMessagePair MSG_CURRENCY_UNSUPPORTED = {u"この通貨には対応していません",
                                                          u"Currency not supported"};

// The member of the pair in the program's language; decides the language first if needed.
[[nodiscard]] std::u16string GetLocalizedMessage(const TMessagePair& iPair);
// Asks the locale service: "ja" exactly means Japanese, any other code English. Without a
// locale service nothing changes and the next lookup asks again.
void InitMessageLanguage();

namespace test_support {
// Back to the start of a run (Japanese, undecided), for tests of the decision.
void ResetMessageLanguage();
}  // namespace test_support

}  // namespace uMessages
