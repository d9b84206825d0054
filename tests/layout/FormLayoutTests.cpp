// The compiled-in window layouts, arranged as their windows arrange them.
#include <gtest/gtest.h>

#include <map>

#include "rtl/Text.hpp"
#include "toolkit/FormLoader.hpp"

namespace {

class FormLayout : public ::testing::Test {
 protected:
  void Load(std::string_view name) {
    ui::TFormLoadResult loaded = ui::LoadFormResource(name);
    ASSERT_TRUE(loaded.Root) << loaded.Error;
    root_ = std::move(*loaded.Root);
    for (const ui::TPlacement& p : ui::ArrangeLayout(root_)) placements_[rtl::Utf16ToUtf8(p.Name)] = p;
  }
  const ui::TPlacement& At(const std::string& name) {
    static const ui::TPlacement none{};
    const auto it = placements_.find(name);
    if (it == placements_.end()) {
      ADD_FAILURE() << name << " is not placed";
      return none;
    }
    return it->second;
  }

  ui::TResObject root_;
  std::map<std::string, ui::TPlacement> placements_;
};

struct Edges {
  const char* name;
  float left, top, right, bottom;
};

void ExpectEdges(const ui::TRectF& rect, const Edges& e) {
  EXPECT_FLOAT_EQ(rect.Left, e.left);
  EXPECT_FLOAT_EQ(rect.Top, e.top);
  EXPECT_FLOAT_EQ(rect.Right, e.right);
  EXPECT_FLOAT_EQ(rect.Bottom, e.bottom);
}

TEST_F(FormLayout, MainWindowStacksItsControlsDownwards) {
  Load("uMainGUI");
  EXPECT_EQ(ui::ReadString(root_, "Caption"), u"Register ORVL SCHEME");
  // Window controls in client coordinates, the button column inside layoutButtonBase.
  const Edges window[] = {
      {"lblTitle", 4, 0, 270, 32},         {"lblCopyrght", 16, 32, 262, 50}, {"lblCreated", 16, 50, 262, 68},
      {"layoutButtonBase", 0, 68, 270, 263}, {"imgIcon", 8, 32, 72, 69},
  };
  for (const Edges& e : window) {
    SCOPED_TRACE(e.name);
    ExpectEdges(At(e.name).InClient, e);
  }
  const Edges inLayout[] = {
      {"lineSep1", 0, 8, 270, 16},       {"btnReg", 8, 16, 262, 49},   {"btnUnreg", 8, 57, 262, 90},
      {"lineSep2", 0, 98, 270, 106},     {"btnCreateParam", 8, 106, 262, 139},
      {"lineSep3", 0, 147, 270, 155},    {"btnExit", 8, 155, 262, 188},
  };
  for (const Edges& e : inLayout) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(At(e.name).Parent, u"layoutButtonBase");
    ExpectEdges(At(e.name).InParent, e);
  }
}

TEST_F(FormLayout, GeneratorWindowGivesEachControlItsSize) {
  Load("uCreateBIPForm");
  EXPECT_EQ(ui::ReadString(root_, "Caption"), u"BIP21 URI Generator");
  struct Size {
    const char* name;
    float width, height;
  };
  const Size sizes[] = {
      {"layoutEditBase", 400, 381},       {"layoutResultBase", 400, 128}, {"layoutGenerateBase", 400, 56},
      {"lblAddress", 385, 17},            {"edtAddress", 384, 22},        {"chbxORV21", 61, 25},
      {"lineSepORV21", 401, 9},           {"cmbbxAmountType", 385, 22},   {"lineGenerateSep", 400, 2},
      {"btnGenerate", 185, 28},           {"lineSepResult", 400, 9},      {"lblResult", 392, 17},
      {"memoResult", 384, 56},            {"layoutResultButtonBase", 400, 44},
      {"btnCopy", 185, 28},               {"btnExit", 185, 28},           {"rectCopied", 217, 48},
      {"lblCopied", 120, 47},
  };
  for (const Size& s : sizes) {
    SCOPED_TRACE(s.name);
    const ui::TRectF& r = At(s.name).InParent;
    EXPECT_FLOAT_EQ(r.Width(), s.width);
    EXPECT_FLOAT_EQ(r.Height(), s.height);
  }
  // The three bases share the window between them; the buttons sit at their margins.
  const Edges edges[] = {
      {"layoutEditBase", 0, 0, 400, 381},   {"layoutGenerateBase", 0, 381, 400, 437},
      {"layoutResultBase", 0, 437, 400, 565}, {"cmbbxAmountType", 8, 346, 393, 368},
      {"memoResult", 8, 465, 392, 521},     {"btnCopy", 8, 529, 193, 557}, {"btnExit", 207, 529, 392, 557},
  };
  for (const Edges& e : edges) {
    SCOPED_TRACE(e.name);
    ExpectEdges(At(e.name).InClient, e);
  }
}

TEST(FormResources, EveryLayoutIsSoundAndUnknownNamesAreNone) {
  for (const char* name : {"uMainGUI", "uCreateBIPForm"}) {
    SCOPED_TRACE(name);
    const ui::TFormLoadResult loaded = ui::LoadFormResource(name);
    EXPECT_TRUE(loaded.Root) << loaded.Error;
  }
  const ui::TFormLoadResult missing = ui::LoadFormResource("uNoSuchForm");
  EXPECT_FALSE(missing.Root);
  EXPECT_NE(missing.Error.find("uNoSuchForm"), std::string::npos);
}

}  // namespace
