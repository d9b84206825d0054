#include "toolkit/Lang.hpp"

#include "toolkit/LocaleService.hpp"
#include "toolkit/PlatformServices.hpp"

namespace ui {

namespace {
// The table in force; owned by the TLangScope objects that put it there.
std::shared_ptr<const TTranslations>& ActiveTable() {
  static std::shared_ptr<const TTranslations> table;
  return table;
}
}  // namespace

std::shared_ptr<const TTranslations> TLang::Find(std::u16string_view iCode) const {
  const auto it = tables_.find(iCode);
  return it == tables_.end() ? nullptr : it->second;
}

std::u16string TLang::ChooseLanguage() const {
  std::shared_ptr<IFMXLocaleService> locale;
  if (TPlatformServices::Current().SupportsPlatformService(IFMXLocaleService::IID(), locale)) {
    return locale->GetCurrentLangID();
  }
  return Lang;
}

TLang TLang::FromResource(const TResObject& iObject) {
  TLang lang;
  if (const TResProperty* p = iObject.Find("Lang"); p && p->Values.size() == 1) lang.Lang = p->Values[0].Text;
  for (const TResObject& table : iObject.Children) {
    TTranslations pairs;
    for (const TResProperty& p : table.Properties) {
      if (p.Name != "Translation" || p.Values.size() != 2) continue;
      pairs.emplace(p.Values[0].Text, p.Values[1].Text);
    }
    lang.AddLanguage(table.Name, std::move(pairs));
  }
  return lang;
}

TLangScope::TLangScope(const TLang& iLang, std::u16string_view iLanguage)
    : previous_(std::exchange(ActiveTable(), iLang.Find(iLanguage))) {}

TLangScope::~TLangScope() { ActiveTable() = std::move(previous_); }

std::u16string TranslateCaption(std::u16string_view iCaption) {
  if (const auto& table = ActiveTable()) {
    if (const auto it = table->find(iCaption); it != table->end()) return it->second;
  }
  return std::u16string(iCaption);
}

}  // namespace ui
