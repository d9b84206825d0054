#pragma once
// Translation of captions (TLang): tables of source text -> translation, one per language.
// While a table is in force, text controls show the translation of a caption that equals
// a source text exactly (with case) whenever their style is applied; any other caption
// stays as written. Portable: which captions change is tested natively.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "toolkit/FormResource.hpp"

namespace ui {

using TTranslations = std::map<std::u16string, std::u16string, std::less<>>;

class TLang {
 public:
  // The stored language, used when the user's language cannot be asked.
  std::u16string Lang;

  void AddLanguage(const std::u16string& iCode, TTranslations iTable) {
    tables_[iCode] = std::make_shared<const TTranslations>(std::move(iTable));
  }
  // The table of a language, or null when there is none.
  [[nodiscard]] std::shared_ptr<const TTranslations> Find(std::u16string_view iCode) const;

  // The user's language from the locale service when it is registered, else Lang.
  [[nodiscard]] std::u16string ChooseLanguage() const;

  // Reads "Lang" and the child tables ("object ja: TLangTable" with "Translation = src dst").
  [[nodiscard]] static TLang FromResource(const TResObject& iObject);

 private:
  std::map<std::u16string, std::shared_ptr<const TTranslations>, std::less<>> tables_;
};

// Puts the table of the chosen language in force for its lifetime (none if the language
// has no table) and restores the previous one afterwards. The window that holds the
// translation component holds one, so the table lives exactly as long as that window.
class TLangScope {
 public:
  TLangScope(const TLang& iLang, std::u16string_view iLanguage);
  TLangScope(const TLangScope&) = delete;
  TLangScope& operator=(const TLangScope&) = delete;
  ~TLangScope();

 private:
  std::shared_ptr<const TTranslations> previous_;
};

// The caption as the table in force shows it.
[[nodiscard]] std::u16string TranslateCaption(std::u16string_view iCaption);

}  // namespace ui
