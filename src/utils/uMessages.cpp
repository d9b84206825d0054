#include "utils/uMessages.hpp"

#include <memory>

#include "toolkit/LocaleService.hpp"

namespace uMessages {
namespace {

// The program's language for the whole run: 0 Japanese, 1 English.
int gLanguageIndex = 0;
bool gDecided = false;

}  // namespace

void InitMessageLanguage() {
  std::shared_ptr<ui::IFMXLocaleService> locale;
  if (!ui::TPlatformServices::Current().SupportsPlatformService(ui::IFMXLocaleService::IID(), locale)) return;
  gLanguageIndex = locale->GetCurrentLangID() == u"ja" ? 0 : 1;
  gDecided = true;
}

std::u16string GetLocalizedMessage(const TMessagePair& iPair) {
  if (!gDecided) InitMessageLanguage();
  return std::u16string(iPair[gLanguageIndex]);
}

namespace test_support {
void ResetMessageLanguage() {
  gLanguageIndex = 0;
  gDecided = false;
}
}  // namespace test_support

}  // namespace uMessages
