#include "toolkit/Lang.hpp"

#include <gtest/gtest.h>

#include <set>

#include "rtl/Text.hpp"
#include "toolkit/FormLoader.hpp"
#include "toolkit/LocaleService.hpp"

namespace {

// Every caption of both windows' text controls, as the layouts write them.
void CollectCaptions(const ui::TResObject& object, std::set<std::u16string>& out) {
  for (const char* name : {"Text", "Caption"}) {
    if (auto text = ui::ReadString(object, name)) out.insert(*text);
  }
  for (const ui::TResObject& child : object.Children) {
    if (child.ClassName != "TLang") CollectCaptions(child, out);
  }
}

class Translation : public ::testing::Test {
 protected:
  void SetUp() override {
    const ui::TFormLoadResult main = ui::LoadFormResource("uMainGUI");
    const ui::TFormLoadResult generator = ui::LoadFormResource("uCreateBIPForm");
    ASSERT_TRUE(main.Root && generator.Root);
    const ui::TResObject* langObject = main.Root->FindObject(u"langJaEn");
    ASSERT_NE(langObject, nullptr);
    lang_ = ui::TLang::FromResource(*langObject);
    CollectCaptions(*main.Root, captions_);
    CollectCaptions(*generator.Root, captions_);
  }

  // The captions that the table of iLanguage changes, with what they become.
  std::map<std::u16string, std::u16string> Translated(std::u16string_view iLanguage) {
    const ui::TLangScope scope(lang_, iLanguage);
    std::map<std::u16string, std::u16string> changed;
    for (const std::u16string& caption : captions_) {
      const std::u16string shown = ui::TranslateCaption(caption);
      if (shown != caption) changed[caption] = shown;
    }
    return changed;
  }

  ui::TLang lang_;
  std::set<std::u16string> captions_;
};

TEST_F(Translation, JapaneseChangesExactlyTheFifteenSourceTexts) {
  EXPECT_EQ(lang_.Lang, u"ja");
  const std::map<std::u16string, std::u16string> expected = {
      {u"Register ORVELLA Scheme", u"ORVELLA スキームを登録"},
      {u"Unregister ORVELLA Scheme", u"ORVELLA スキームを削除"},
      {u"Create BIP21 URI...", u"BIP21 URI を生成..."},
      {u"Exit", u"終了"},
      {u"ORVELLA Address", u"ORVELLA アドレス"},
      {u"Amount", u"送金額"},
      {u"Label (Optional)", u"ラベル\uFF08省略可\uFF09"},
      {u"Message (Optional)", u"メッセージ\uFF08省略可\uFF09"},
      {u"Copy", u"コピー"},
      {u"Close", u"閉じる"},
      {u"Result", u"結果"},
      {u"Generate", u"生成"},
      {u"Copied", u"コピーしました"},
      {u"Amount with Currency (Optional)", u"ORVL 以外の通貨での送金額"},
      {u"AmountType (Optional)", u"送金に使う通貨"},
  };
  EXPECT_EQ(Translated(u"ja"), expected);
  // What stays: the window captions, the title, the small labels and the check box.
  for (const std::u16string stays : {u"BIP21 URI Generator", u"Register ORVL SCHEME", u"Register ORVL Scheme",
                                     u"ORV21"}) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(stays));
    EXPECT_TRUE(captions_.count(stays));
    const ui::TLangScope scope(lang_, u"ja");
    EXPECT_EQ(ui::TranslateCaption(stays), stays);
  }
}

TEST_F(Translation, OtherLanguagesAndNearMissesChangeNothing) {
  for (const std::u16string language : {u"en", u"de", u"", u"JA", u"jp"}) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(language));
    EXPECT_TRUE(Translated(language).empty());
  }
  const ui::TLangScope scope(lang_, u"ja");
  for (const std::u16string caption : {u"exit", u"Exit ", u" Exit", u"Copy\n", u"Generate!", u""}) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(caption));
    EXPECT_EQ(ui::TranslateCaption(caption), caption);
  }
}

TEST_F(Translation, TheTableIsInForceOnlyWhileItsScopeLives) {
  EXPECT_EQ(ui::TranslateCaption(u"Exit"), u"Exit");
  {
    const ui::TLangScope japanese(lang_, u"ja");
    {
      const ui::TLangScope english(lang_, u"en");
      EXPECT_EQ(ui::TranslateCaption(u"Exit"), u"Exit");
    }
    EXPECT_EQ(ui::TranslateCaption(u"Exit"), u"終了");
  }
  EXPECT_EQ(ui::TranslateCaption(u"Exit"), u"Exit");
}

class FixedLocale final : public ui::IFMXLocaleService {
 public:
  explicit FixedLocale(std::u16string lang) : lang_(std::move(lang)) {}
  std::u16string GetCurrentLangID() override { return lang_; }

 private:
  std::u16string lang_;
};

TEST_F(Translation, TheUsersLanguageWinsOverTheStoredOneWhenItCanBeAsked) {
  auto& services = ui::TPlatformServices::Current();
  std::shared_ptr<ui::IInterface> saved = services.GetPlatformService(ui::IFMXLocaleService::IID());
  services.RemovePlatformService(ui::IFMXLocaleService::IID());
  EXPECT_EQ(lang_.ChooseLanguage(), u"ja");
  services.AddPlatformService(ui::IFMXLocaleService::IID(), std::make_shared<FixedLocale>(u"en"));
  EXPECT_EQ(lang_.ChooseLanguage(), u"en");
  services.RemovePlatformService(ui::IFMXLocaleService::IID());
  if (saved) services.AddPlatformService(ui::IFMXLocaleService::IID(), saved);
}

}  // namespace
