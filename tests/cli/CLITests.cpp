// The command runner's portable half: line dispatch, character boundaries and the facade.

#include "utils/Nox.CLI.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Nox::CLI::TPendingText;

std::vector<std::u16string> Dispatch(TPendingText& pending, const std::u16string& chunk) {
  std::vector<std::u16string> lines;
  pending.Append(chunk);
  EXPECT_TRUE(pending.DispatchLines([&](const std::u16string& line) {
    lines.push_back(line);
    return true;
  }));
  return lines;
}

TEST(TPendingText, SplitsAtCRLFOnlyAcrossReads) {
  using Lines = std::vector<std::u16string>;
  struct TCase {
    const char* Name;
    std::vector<std::u16string> Chunks;
    Lines Expected;
    std::u16string Remainder;
  };
  const std::u16string withNul(u"a\0b\r\n", 5);
  const TCase cases[] = {
      {"two lines in one read", {u"one\r\ntwo\r\n"}, {u"one", u"two"}, u""},
      {"CR LF split between reads", {u"one\r", u"\ntwo"}, {u"one"}, u"two"},
      {"line over three reads", {u"o", u"n", u"e\r\n"}, {u"one"}, u""},
      {"lone CR and LF are text", {u"a\rb\nc\n\r"}, {}, u"a\rb\nc\n\r"},
      {"CR before CR LF stays in the line", {u"a\r\r\n"}, {u"a\r"}, u""},
      {"empty lines", {u"\r\n\r\n", u"\r\n"}, {u"", u"", u""}, u""},
      {"NUL inside a line", {withNul}, {std::u16string(u"a\0b", 3)}, u""},
      {"unterminated last line", {u"one\r\ntail"}, {u"one"}, u"tail"},
      {"nothing", {u""}, {}, u""},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.Name);
    TPendingText pending;
    Lines lines;
    for (const auto& chunk : row.Chunks) {
      const Lines more = Dispatch(pending, chunk);
      lines.insert(lines.end(), more.begin(), more.end());
    }
    EXPECT_EQ(lines, row.Expected);
    Lines rest;
    pending.DispatchRemainder([&](const std::u16string& text) {
      rest.push_back(text);
      return true;
    });
    EXPECT_EQ(rest, row.Remainder.empty() ? Lines{} : Lines{row.Remainder});
    EXPECT_EQ(pending.Text(), u"");
  }
}

TEST(TPendingText, StopsAtTheFirstFalseAndKeepsTheRestForTheRemainder) {
  TPendingText pending;
  pending.Append(u"one\r\ntwo\r\nthree\r\n");
  std::vector<std::u16string> lines;
  EXPECT_FALSE(pending.DispatchLines([&](const std::u16string& line) {
    lines.push_back(line);
    return line != u"two";
  }));
  EXPECT_EQ(lines, (std::vector<std::u16string>{u"one", u"two"}));
  std::u16string rest;
  pending.DispatchRemainder([&](const std::u16string& text) {
    rest = text;
    return false;  // ignored
  });
  EXPECT_EQ(rest, u"three\r\n");
}

TEST(TPendingText, WithoutHandlerReadsAndDiscards) {
  TPendingText pending;
  pending.Append(u"one\r\ntail");
  EXPECT_TRUE(pending.DispatchLines(nullptr));
  EXPECT_EQ(pending.Text(), u"tail");
  pending.DispatchRemainder(nullptr);
  EXPECT_EQ(pending.Text(), u"");
}

TEST(TPendingText, LineIsGoneWhenTheHandlerThrows) {
  TPendingText pending;
  pending.Append(u"bad\r\nnext\r\n");
  EXPECT_THROW(static_cast<void>(pending.DispatchLines([](const std::u16string&) -> bool {
                 throw std::runtime_error("handler failed");
               })),
               std::runtime_error);
  EXPECT_EQ(pending.Text(), u"next\r\n");
}

// Shift_JIS: lead bytes 0x81-0x9F and 0xE0-0xFC; the trail byte may itself look like a lead.
std::size_t ShiftJisByteCount(unsigned char lead) {
  return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
}

TEST(CompleteCharsLength, EndsOnACharacterBoundary) {
  struct TCase {
    const char* Name;
    std::string Bytes;
    bool Utf8;
    std::size_t Expected;
  };
  const TCase cases[] = {
      {"empty", "", false, 0},
      {"single bytes", "ab", false, 2},
      {"DBCS lead byte at the end", "a\x93", false, 1},
      {"DBCS pair complete", "a\x93\xfa", false, 3},
      {"trail byte that looks like a lead", "\x82\x82\x82", false, 2},
      {"UTF-8 two of three bytes", "a\xe6\x97", true, 1},
      {"UTF-8 complete", "\xe6\x97\xa5", true, 3},
      {"UTF-8 four-byte lead alone", "\xf0", true, 0},
      {"UTF-8 stray continuation bytes", "\x80\x80", true, 2},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.Name);
    const Nox::CLI::TCharByteCount count =
        row.Utf8 ? Nox::CLI::TCharByteCount(Nox::CLI::Utf8CharByteCount) : Nox::CLI::TCharByteCount(ShiftJisByteCount);
    EXPECT_EQ(Nox::CLI::CompleteCharsLength(row.Bytes, count), row.Expected);
  }
}

TEST(TCLI, IdentitiesAreDistinctAndValid) {
  EXPECT_NE(Nox::CLI::ICLI::IID(), rtl::TGUID{});
  EXPECT_NE(Nox::CLI::ICLIFactory::IID(), rtl::TGUID{});
  EXPECT_NE(Nox::CLI::ICLI::IID(), Nox::CLI::ICLIFactory::IID());
}

TEST(TCLI, WithoutFactoryDoesNothing) {
  Nox::CLI::TCLI cli;
  EXPECT_EQ(cli.Execute(u"anything.exe"), u"");
  std::vector<std::u16string> calls;
  cli.WhileExec(u"anything.exe", [&](const std::u16string& line) {
    calls.push_back(line);
    return false;
  });
  EXPECT_EQ(calls, std::vector<std::u16string>{u""});
  cli.WhileExec(u"anything.exe", nullptr);
  cli.WhileBreak();
}

// A runner that records what the facade forwards.
class TRecordingCLI final : public Nox::CLI::ICLI {
 public:
  std::u16string Execute(const std::u16string& iCommand) override { return u"ran " + iCommand; }
  void WhileExec(const std::u16string& iCommand, const Nox::CLI::TCLIReadEvent& iHandler) override {
    static_cast<void>(iHandler(iCommand));
  }
  void WhileBreak() override { ++Breaks; }
  int Breaks = 0;
};

class TRecordingFactory final : public Nox::CLI::TCLIFactory {
 public:
  std::shared_ptr<Nox::CLI::ICLI> CreateCLI() override {
    Created.push_back(std::make_shared<TRecordingCLI>());
    return Created.back();
  }
  std::vector<std::shared_ptr<TRecordingCLI>> Created;
};

class TCLIWithFactory : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::TPlatformServices::Current().AddPlatformService(Nox::CLI::ICLIFactory::IID(), Factory);
  }
  void TearDown() override { ui::TPlatformServices::Current().RemovePlatformService(Nox::CLI::ICLIFactory::IID()); }
  std::shared_ptr<TRecordingFactory> Factory = std::make_shared<TRecordingFactory>();
};

TEST_F(TCLIWithFactory, EachFacadeGetsItsOwnRunnerAndForwards) {
  Nox::CLI::TCLI first;
  Nox::CLI::TCLI second;
  ASSERT_EQ(Factory->Created.size(), 2u);
  EXPECT_EQ(first.Execute(u"a.exe"), u"ran a.exe");
  std::u16string seen;
  second.WhileExec(u"b.exe", [&](const std::u16string& line) {
    seen = line;
    return true;
  });
  EXPECT_EQ(seen, u"b.exe");
  second.WhileBreak();
  EXPECT_EQ(Factory->Created[0]->Breaks, 0);
  EXPECT_EQ(Factory->Created[1]->Breaks, 1);
}

}  // namespace
