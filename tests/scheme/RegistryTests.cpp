// Nox::Utils::Registry against the real registry (Wine's when run there). Every test works
// below a key of its own under HKCU\Software and removes it in TearDown.

#include "scheme/Nox.Utils.Registry.hpp"

#include <gtest/gtest.h>

#include "toolkit/UniqueHandle.hpp"

#include "SchemeTestSupport.hpp"

namespace {

namespace Reg = Nox::Utils::Registry;
using namespace scheme_tests;

class RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override { DeleteTreeRaw(HKEY_CURRENT_USER, base_); }

  [[nodiscard]] std::u16string Key(const std::u16string& sub) const { return base_ + u"\\" + sub; }

  const std::u16string base_ = u"Software\\OrvellaTest-" + Pid() + u"-registry";
};

TEST(ExcludeTrailingRegDelimiter, RemovesOneTrailingBackslashOnly) {
  struct Row {
    std::u16string in, out;
  };
  const Row rows[] = {
      {u"", u""},
      {u"\\", u""},
      {u"SOFTWARE\\Classes\\", u"SOFTWARE\\Classes"},
      {u"SOFTWARE\\Classes\\\\", u"SOFTWARE\\Classes\\"},
      {u"SOFTWARE\\Classes", u"SOFTWARE\\Classes"},
      {u"\\SOFTWARE", u"\\SOFTWARE"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(row.in));
    EXPECT_EQ(Reg::ExcludeTrailingRegDelimiter(row.in), row.out);
  }
}

TEST_F(RegistryTest, WriteStoresRegSzWithoutTerminatorAndReadsBackTrimmed) {
  struct Row {
    std::u16string name, data, read;
  };
  const Row rows[] = {
      {u"", u"default value", u"default value"},
      {u"Empty", u"", u""},
      {u"URL Protocol", u"x", u"x"},
      {u"Padded", u"  \t padded text \r\n", u"padded text"},
      {u"Unicode", u"\u65e5\u672c\u8a9e \u00fc \U0001F600", u"\u65e5\u672c\u8a9e \u00fc \U0001F600"},
  };
  const std::u16string key = Key(u"values\\");
  for (const Row& row : rows) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(row.name));
    TSetValueRecorder recorder;
    ASSERT_TRUE(Reg::RegWriteString(HKEY_CURRENT_USER, key, row.name, row.data));
    ASSERT_EQ(recorder.calls().size(), 1u);
    EXPECT_EQ(recorder.calls()[0].Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(recorder.calls()[0].ByteCount, 2 * row.data.size());  // no terminator handed over
    EXPECT_EQ(recorder.calls()[0].Name, row.name);

    const TRawValue raw = ReadRaw(HKEY_CURRENT_USER, Reg::ExcludeTrailingRegDelimiter(key), row.name);
    ASSERT_TRUE(raw.Found);
    EXPECT_EQ(raw.Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw.Bytes, StoredBytes(row.data));  // Wine adds a terminator; Windows does not

    EXPECT_EQ(Reg::RegReadString(HKEY_CURRENT_USER, key, row.name), row.read);
  }
  EXPECT_EQ(CountsRaw(HKEY_CURRENT_USER, Key(u"values")).Values, std::size(rows));
}

TEST_F(RegistryTest, ReadTakesStoredBytesAsTextWhateverTheType) {
  struct Row {
    const char* what;
    DWORD type;
    std::vector<BYTE> bytes;
    std::u16string read;
  };
  const Row rows[] = {
      {"REG_SZ without terminator", REG_SZ, Utf16Bytes(u"abc"), u"abc"},
      {"REG_SZ with terminator", REG_SZ, Utf16Bytes(u"abc", true), u"abc"},
      {"REG_BINARY with an odd last byte", REG_BINARY, {'a', 0, 'b', 0, 'c'}, u"ab"},
      {"REG_EXPAND_SZ", REG_EXPAND_SZ, Utf16Bytes(u"%PATH%", true), u"%PATH%"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    WriteRaw(HKEY_CURRENT_USER, Key(u"raw"), u"v", row.type, row.bytes);
    EXPECT_EQ(Reg::RegReadString(HKEY_CURRENT_USER, Key(u"raw\\"), u"v"), row.read);
  }
}

TEST_F(RegistryTest, ReadBufferHolds255Characters) {
  struct Row {
    std::size_t length;
    bool readWholeOnWindows;
    bool readWholeOnWine;  // Wine's added terminator pushes 510 bytes over the buffer
  };
  const Row rows[] = {{254, true, true}, {255, true, false}, {256, false, false}, {1000, false, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.length);
    const std::u16string text(row.length, u'x');
    TSetValueRecorder recorder;
    ASSERT_TRUE(Reg::RegWriteString(HKEY_CURRENT_USER, Key(u"long"), u"v", text));
    ASSERT_EQ(recorder.calls().size(), 1u);
    EXPECT_EQ(recorder.calls()[0].ByteCount, 2 * row.length);
    const bool whole = RunningOnWine() ? row.readWholeOnWine : row.readWholeOnWindows;
    EXPECT_EQ(Reg::RegReadString(HKEY_CURRENT_USER, Key(u"long"), u"v"), whole ? text : u"");
  }
}

TEST_F(RegistryTest, MissingKeyOrValueReadsEmptyAndDoesNotExist) {
  EXPECT_EQ(Reg::RegReadString(HKEY_CURRENT_USER, Key(u"missing\\"), u""), u"");
  EXPECT_FALSE(Reg::RegKeyExists(HKEY_CURRENT_USER, Key(u"missing\\")));
  EXPECT_FALSE(KeyExistsRaw(HKEY_CURRENT_USER, Key(u"missing")));  // reading created nothing

  ASSERT_TRUE(Reg::RegWriteString(HKEY_CURRENT_USER, Key(u"present"), u"other", u"1"));
  EXPECT_EQ(Reg::RegReadString(HKEY_CURRENT_USER, Key(u"present"), u"absent"), u"");
  EXPECT_EQ(Reg::RegReadString(HKEY_CURRENT_USER, Key(u"present"), u""), u"");
}

TEST_F(RegistryTest, TrailingBackslashNamesTheSameKey) {
  ASSERT_TRUE(Reg::RegWriteString(HKEY_CURRENT_USER, Key(u"a\\b\\"), u"v", u"data"));
  EXPECT_TRUE(KeyExistsRaw(HKEY_CURRENT_USER, Key(u"a\\b")));
  EXPECT_EQ(CountsRaw(HKEY_CURRENT_USER, Key(u"a\\b")).Subkeys, 0u);  // no empty-named child
  for (const std::u16string& path : {Key(u"a\\b"), Key(u"a\\b\\")}) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(path));
    EXPECT_TRUE(Reg::RegKeyExists(HKEY_CURRENT_USER, path));
    EXPECT_EQ(Reg::RegReadString(HKEY_CURRENT_USER, path, u"v"), u"data");
  }
  EXPECT_TRUE(Reg::RegDeleteKeyAll(HKEY_CURRENT_USER, Key(u"a\\b\\")));
  EXPECT_FALSE(KeyExistsRaw(HKEY_CURRENT_USER, Key(u"a\\b")));
  EXPECT_TRUE(KeyExistsRaw(HKEY_CURRENT_USER, Key(u"a")));
}

TEST_F(RegistryTest, DeleteMissingKeyIsSuccess) {
  EXPECT_TRUE(Reg::RegDeleteKeyAll(HKEY_CURRENT_USER, Key(u"never\\created\\")));
  EXPECT_FALSE(Reg::RegDeleteKeyTree(HKEY_CURRENT_USER, Key(u"never\\created\\")));
}

TEST_F(RegistryTest, DeleteRemovesThreeLevelTreeAndLeavesSiblings) {
  for (const char16_t* sub : {u"tree\\a\\b\\c", u"tree\\a\\b2", u"tree\\a2", u"tree\\a\\b\\c2", u"keep"}) {
    WriteRaw(HKEY_CURRENT_USER, Key(sub), u"v", REG_SZ, Utf16Bytes(u"x", true));
  }
  WriteRaw(HKEY_CURRENT_USER, Key(u"tree"), u"", REG_SZ, Utf16Bytes(u"top", true));

  EXPECT_TRUE(Reg::RegDeleteKeyAll(HKEY_CURRENT_USER, Key(u"tree\\")));
  EXPECT_FALSE(KeyExistsRaw(HKEY_CURRENT_USER, Key(u"tree")));
  EXPECT_TRUE(KeyExistsRaw(HKEY_CURRENT_USER, Key(u"keep")));
  EXPECT_EQ(CountsRaw(HKEY_CURRENT_USER, base_).Subkeys, 1u);
}

// A path that names the root or a parent must not be taken as the key to wipe: "a\\"
// would open "a\" and delete everything below it.
TEST_F(RegistryTest, DeleteRefusesPathsWithAnEmptyKeyName) {
  WriteRaw(HKEY_CURRENT_USER, Key(u"child"), u"v", REG_SZ, Utf16Bytes(u"x", true));
  HKEY parent = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, rtl::WStr(base_), 0, KEY_ALL_ACCESS, &parent), ERROR_SUCCESS);
  const ui::TUniqueRegKey owner(parent);

  struct Row {
    HKEY root;
    std::u16string path;
  };
  const Row rows[] = {
      {parent, u""},
      {parent, u"\\"},
      {HKEY_CURRENT_USER, base_ + u"\\\\"},
      {HKEY_CURRENT_USER, base_ + u"\\\\child"},
      {parent, u"\\child"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(row.path));
    EXPECT_FALSE(Reg::RegDeleteKeyTree(row.root, row.path));
    EXPECT_TRUE(KeyExistsRaw(HKEY_CURRENT_USER, Key(u"child")));
  }
  EXPECT_FALSE(Reg::RegDeleteKeyAll(parent, u"\\"));  // the root is still there
  EXPECT_TRUE(KeyExistsRaw(HKEY_CURRENT_USER, Key(u"child")));
}

// Keys this process may read but not fully control, as HKEY_LOCAL_MACHINE keys are for a
// process that is not elevated. The handle from creation keeps full access, so TearDown can
// open the keys up again before removing them.
class LockedRegistryTest : public RegistryTest {
 protected:
  void TearDown() override {
    for (const ui::TUniqueRegKey& key : locked_) SetDacl(key.get(), L"D:(A;;KA;;;WD)");
    locked_.clear();
    RegistryTest::TearDown();
  }

  void CreateLocked(const std::u16string& sub) {
    ui::TUniqueRegKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, rtl::WStr(Key(sub)), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              key.put(), nullptr),
              ERROR_SUCCESS);
    const std::u16string text = u"secret";
    ASSERT_EQ(RegSetValueExW(key.get(), L"v", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), 12),
              ERROR_SUCCESS);
    ASSERT_NO_FATAL_FAILURE(SetDacl(key.get(), L"D:P(A;;KR;;;WD)"));  // everyone: read only
    locked_.push_back(std::move(key));
    ui::TUniqueRegKey probe;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, rtl::WStr(Key(sub)), 0, KEY_ALL_ACCESS, probe.put()),
              ERROR_ACCESS_DENIED);
  }

  std::vector<ui::TUniqueRegKey> locked_;
};

TEST_F(LockedRegistryTest, KeyWithoutFullAccessCountsAsAbsent) {
  ASSERT_NO_FATAL_FAILURE(CreateLocked(u"locked"));
  EXPECT_TRUE(KeyExistsRaw(HKEY_CURRENT_USER, Key(u"locked")));
  EXPECT_FALSE(Reg::RegKeyExists(HKEY_CURRENT_USER, Key(u"locked\\")));
  EXPECT_EQ(Reg::RegReadString(HKEY_CURRENT_USER, Key(u"locked"), u"v"), u"");
  EXPECT_TRUE(ReadRaw(HKEY_CURRENT_USER, Key(u"locked"), u"v").Found);
  EXPECT_FALSE(Reg::RegWriteString(HKEY_CURRENT_USER, Key(u"locked"), u"w", u"x"));
  // Gone as far as full access can tell, though it is still there.
  EXPECT_TRUE(Reg::RegDeleteKeyAll(HKEY_CURRENT_USER, Key(u"locked\\")));
  EXPECT_TRUE(KeyExistsRaw(HKEY_CURRENT_USER, Key(u"locked")));
}

TEST_F(LockedRegistryTest, DeleteSkipsASubkeyItCannotDeleteAndRemovesTheOthers) {
  for (const char16_t* sub : {u"tree\\a\\deep", u"tree\\b", u"tree\\z"}) {
    WriteRaw(HKEY_CURRENT_USER, Key(sub), u"v", REG_SZ, Utf16Bytes(u"x", true));
  }
  ASSERT_NO_FATAL_FAILURE(CreateLocked(u"tree\\locked"));

  EXPECT_FALSE(Reg::RegDeleteKeyTree(HKEY_CURRENT_USER, Key(u"tree\\")));
  for (const char16_t* sub : {u"tree\\a", u"tree\\b", u"tree\\z"}) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(sub));
    EXPECT_FALSE(KeyExistsRaw(HKEY_CURRENT_USER, Key(sub)));
  }
  EXPECT_TRUE(KeyExistsRaw(HKEY_CURRENT_USER, Key(u"tree\\locked")));
  EXPECT_EQ(CountsRaw(HKEY_CURRENT_USER, Key(u"tree")).Subkeys, 1u);
  EXPECT_FALSE(Reg::RegDeleteKeyAll(HKEY_CURRENT_USER, Key(u"tree\\")));
}

}  // namespace
