#include "toolkit/FormResource.hpp"

#include <gtest/gtest.h>

#include "toolkit/FormLoader.hpp"

namespace {

TEST(ParseFormResource, ReadsNestedObjectsValuesAndEscapes) {
  const ui::TResParseResult parsed = ui::ParseFormResource(
      "# a window\n"
      "object frm: TForm   # trailing comment\r\n"
      "  Caption = \"A \\\"b\\\" \\\\ # not a comment\"\n"
      "  Size = 10 -2.5\n"
      "  object lbl: TLabel\n"
      "    Text = \"\xE7\xB5\x82\\uFF08x\\uFF09\"\n"
      "    FontColor = #FF808080\n"
      "  end\n"
      "end\n");
  ASSERT_TRUE(parsed.Root) << parsed.Error;
  const ui::TResObject& frm = *parsed.Root;
  EXPECT_EQ(frm.Name, u"frm");
  EXPECT_EQ(frm.ClassName, "TForm");
  EXPECT_EQ(ui::ReadString(frm, "Caption"), u"A \"b\" \\ # not a comment");
  const auto size = ui::ReadPair(frm, "Size");
  ASSERT_TRUE(size);
  EXPECT_FLOAT_EQ(size->Height, -2.5f);
  const ui::TResObject* lbl = frm.FindObject(u"lbl");
  ASSERT_NE(lbl, nullptr);
  EXPECT_EQ(ui::ReadString(*lbl, "Text"), u"\u7D42\uFF08x\uFF09");
  EXPECT_EQ(ui::ReadColor(*lbl, "FontColor"), 0xFF808080u);
}

TEST(ParseFormResource, RejectsBrokenTextWithItsLine) {
  struct Row {
    const char* text;
    const char* error;
  };
  const Row rows[] = {
      {"", "line 0: no object"},
      {"object a: T\n", "line 1: object without 'end'"},
      {"object a: T\nend\nend\n", "line 3: 'end' without 'object'"},
      {"object a: T\nend\nobject b: T\nend\n", "line 3: a second top-level object"},
      {"Text = \"x\"\n", "line 1: a property outside any object"},
      {"object a T\nend\n", "line 1: expected: object <name>: <class>"},
      {"object a: T\n  Text \"x\"\nend\n", "line 2: expected: <property> = <values>"},
      {"object a: T\n  Text =\nend\n", "line 2: expected: <property> = <values>"},
      {"object a: T\n  Text = \"x\nend\n", "line 2: unterminated string"},
      {"object a: T\n  Text = \"x\\q\"\nend\n", "line 2: bad escape \\q"},
      {"object a: T\n  Text = \"\\u12G4\"\nend\n", "line 2: bad \\u escape"},
      {"object a: T\n  Size = 1 $\nend\n", "line 2: unexpected character '$'"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const ui::TResParseResult parsed = ui::ParseFormResource(row.text);
    EXPECT_FALSE(parsed.Root);
    EXPECT_EQ(parsed.Error, row.error);
  }
}

TEST(CheckFormResource, NamesEveryUnknownOrMisshapenProperty) {
  const ui::TResParseResult parsed = ui::ParseFormResource(
      "object frm: TForm\n"
      "  Colour = #FF000000\n"
      "  object a: TLabel\n"
      "    Align = Middle\n"
      "    Size = 10\n"
      "    Visible = yes\n"
      "    FontColor = #FF0000\n"
      "    Text = 5\n"
      "  end\n"
      "  object a: TLabel\n"
      "  end\n"
      "end\n");
  ASSERT_TRUE(parsed.Root) << parsed.Error;
  const std::vector<std::string> problems = ui::CheckFormResource(*parsed.Root);
  const std::vector<std::string> expected = {
      "frm (line 1), line 2: Colour is not a known property",
      "a (line 3), line 4: Align has a value of the wrong kind",
      "a (line 3), line 5: Size has a value of the wrong kind",
      "a (line 3), line 6: Visible has a value of the wrong kind",
      "a (line 3), line 7: FontColor has a value of the wrong kind",
      "a (line 3), line 8: Text has a value of the wrong kind",
      "a (line 10): the name is used twice",
  };
  EXPECT_EQ(problems, expected);
}

}  // namespace
