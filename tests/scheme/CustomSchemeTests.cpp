// Nox::Utils::CustomScheme against the real registry and shell. Each test uses a scheme and
// an executable name of its own ("orvellatest-<pid>") and removes its keys in TearDown.

#include "scheme/Nox.Utils.CustomScheme.hpp"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "SchemeTestSupport.hpp"
#include "toolkit/UniqueHandle.hpp"

namespace {

using Nox::Utils::CustomScheme::TCustomScheme;
using namespace scheme_tests;

const std::u16string kClasses = u"SOFTWARE\\Classes\\";

class CustomSchemeTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const char16_t* extra : {u"", u"\\sub"}) {
      DeleteTreeRaw(HKEY_LOCAL_MACHINE, kClasses + scheme_ + extra);
      DeleteTreeRaw(HKEY_CURRENT_USER, kClasses + scheme_ + extra);
    }
    DeleteTreeRaw(HKEY_LOCAL_MACHINE, kClasses + u"Applications\\" + appName_);
  }

  [[nodiscard]] std::u16string SchemeKey(const std::u16string& sub = u"") const {
    return kClasses + scheme_ + (sub.empty() ? u"" : u"\\" + sub);
  }
  [[nodiscard]] std::u16string AppKey(const std::u16string& sub = u"") const {
    return kClasses + u"Applications\\" + appName_ + (sub.empty() ? u"" : u"\\" + sub);
  }
  // Writes the open command of the test scheme by hand, as another installer might.
  void WriteCommandRaw(const std::u16string& command) const {
    WriteRaw(HKEY_LOCAL_MACHINE, SchemeKey(u"shell\\open\\command"), u"", REG_SZ, Utf16Bytes(command, true));
  }

  const std::u16string scheme_ = u"orvellatest-" + Pid();
  std::u16string appName_ = scheme_ + u" app.exe";
  std::u16string appPath_ = u"C:\\Program Files\\Orvella Test\\" + appName_;
};

TEST_F(CustomSchemeTest, RegisterWritesTheTenValuesInOrder) {
  const std::u16string quoted = u"\"" + appPath_ + u"\"";
  const std::u16string command = quoted + u" \"%1\"";
  const std::u16string description = u"URL:" + scheme_ + u" Protocol";
  struct Row {
    HKEY root;
    std::u16string key, name, data;
  };
  const Row rows[] = {
      {HKEY_LOCAL_MACHINE, SchemeKey(), u"", description},
      {HKEY_LOCAL_MACHINE, SchemeKey(), u"URL Protocol", u""},
      {HKEY_LOCAL_MACHINE, SchemeKey(u"DefaultIcon"), u"", quoted + u",1"},
      {HKEY_LOCAL_MACHINE, SchemeKey(u"shell\\open\\command"), u"", command},
      {HKEY_CURRENT_USER, SchemeKey(), u"", description},
      {HKEY_CURRENT_USER, SchemeKey(), u"URL Protocol", u""},
      {HKEY_CURRENT_USER, SchemeKey(u"DefaultIcon"), u"", quoted + u",1"},
      {HKEY_CURRENT_USER, SchemeKey(u"shell\\open\\command"), u"", command},
      {HKEY_LOCAL_MACHINE, AppKey(), u"NoOpenWith", u""},
      {HKEY_LOCAL_MACHINE, AppKey(u"shell\\open\\command"), u"", command},
  };

  TSetValueRecorder recorder;
  ASSERT_TRUE(TCustomScheme(scheme_, appPath_).Register());
  ASSERT_EQ(recorder.calls().size(), std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Row& row = rows[i];
    SCOPED_TRACE(testing::Message() << "write " << i + 1 << ": " << rtl::Utf16ToUtf8(row.key) << " / "
                                    << rtl::Utf16ToUtf8(row.name));
    const auto& call = recorder.calls()[i];
    EXPECT_EQ(call.Name, row.name);
    EXPECT_EQ(call.Text, row.data);
    EXPECT_EQ(call.Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(call.ByteCount, 2 * row.data.size());

    const TRawValue raw = ReadRaw(row.root, row.key, row.name);
    ASSERT_TRUE(raw.Found);
    EXPECT_EQ(raw.Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw.Bytes, StoredBytes(row.data));
  }
  // Nothing else was written: the keys hold exactly these values and subkeys.
  for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    EXPECT_EQ(CountsRaw(root, SchemeKey()).Values, 2u);
    EXPECT_EQ(CountsRaw(root, SchemeKey()).Subkeys, 2u);
    EXPECT_EQ(CountsRaw(root, SchemeKey(u"DefaultIcon")).Values, 1u);
    EXPECT_EQ(CountsRaw(root, SchemeKey(u"shell")).Subkeys, 1u);
    EXPECT_EQ(CountsRaw(root, SchemeKey(u"shell\\open")).Subkeys, 1u);
    EXPECT_EQ(CountsRaw(root, SchemeKey(u"shell\\open\\command")).Values, 1u);
  }
  EXPECT_EQ(CountsRaw(HKEY_LOCAL_MACHINE, AppKey()).Values, 1u);
  EXPECT_EQ(CountsRaw(HKEY_LOCAL_MACHINE, AppKey(u"shell\\open\\command")).Values, 1u);
}

TEST_F(CustomSchemeTest, RegisteredFollowsRegisterAndUnregister) {
  TCustomScheme scheme(scheme_, appPath_);
  EXPECT_FALSE(scheme.Registered());
  ASSERT_TRUE(scheme.Register());
  EXPECT_TRUE(scheme.Registered());
  ASSERT_TRUE(scheme.Register());  // again: the same values overwritten
  EXPECT_TRUE(scheme.Registered());
  EXPECT_EQ(CountsRaw(HKEY_LOCAL_MACHINE, SchemeKey()).Values, 2u);

  EXPECT_TRUE(scheme.Unregister());
  EXPECT_FALSE(scheme.Registered());
  EXPECT_FALSE(KeyExistsRaw(HKEY_LOCAL_MACHINE, SchemeKey()));
  EXPECT_FALSE(KeyExistsRaw(HKEY_CURRENT_USER, SchemeKey()));
  EXPECT_FALSE(KeyExistsRaw(HKEY_LOCAL_MACHINE, AppKey()));
  EXPECT_TRUE(KeyExistsRaw(HKEY_LOCAL_MACHINE, kClasses + u"Applications"));
}

TEST_F(CustomSchemeTest, UserKeyRemovedByHandIsNotRegisteredAndUnregisterCleansTheRest) {
  TCustomScheme scheme(scheme_, appPath_);
  ASSERT_TRUE(scheme.Register());
  DeleteTreeRaw(HKEY_CURRENT_USER, SchemeKey());
  EXPECT_FALSE(scheme.Registered());
  EXPECT_TRUE(scheme.Unregister());
  EXPECT_FALSE(KeyExistsRaw(HKEY_LOCAL_MACHINE, SchemeKey()));
  EXPECT_FALSE(KeyExistsRaw(HKEY_LOCAL_MACHINE, AppKey()));
}

TEST_F(CustomSchemeTest, UnregisterWithNothingRegisteredSucceeds) {
  EXPECT_TRUE(TCustomScheme(scheme_, appPath_).Unregister());
}

TEST_F(CustomSchemeTest, RegisterStopsAtTheFirstFailedWrite) {
  for (const std::size_t failing : {1u, 5u, 9u, 10u}) {
    SCOPED_TRACE(failing);
    {
      TSetValueRecorder recorder(failing);
      EXPECT_FALSE(TCustomScheme(scheme_, appPath_).Register());
      EXPECT_EQ(recorder.calls().size(), failing);  // nothing attempted after the failure
    }
    // The writes before the failure stay (no rollback); the one that failed is not there.
    EXPECT_EQ(ReadRaw(HKEY_LOCAL_MACHINE, SchemeKey(), u"").Found, failing > 1);
    EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, SchemeKey(), u"").Found, failing > 5);
    EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, AppKey(u"shell\\open\\command"), u"").Found);
    EXPECT_TRUE(TCustomScheme(scheme_, appPath_).Unregister());
  }
}

// Wine grants every process full access to HKEY_LOCAL_MACHINE, so the process that is not
// elevated is shown with a scheme key there that this process may read but not control.
TEST_F(CustomSchemeTest, WithoutFullAccessToTheMachineKeyNothingIsWritten) {
  WriteRaw(HKEY_CURRENT_USER, SchemeKey(u"shell\\open\\command"), u"", REG_SZ, Utf16Bytes(u"old", true));
  ui::TUniqueRegKey machineKey;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, rtl::WStr(SchemeKey()), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            machineKey.put(), nullptr),
            ERROR_SUCCESS);
  ASSERT_NO_FATAL_FAILURE(SetDacl(machineKey.get(), L"D:P(A;;KR;;;WD)"));
  struct TUnlock {
    HKEY key;
    ~TUnlock() { SetDacl(key, L"D:(A;;KA;;;WD)"); }  // so that TearDown can remove it
  } unlock{machineKey.get()};

  TCustomScheme scheme(scheme_, appPath_);
  TSetValueRecorder recorder;
  EXPECT_FALSE(scheme.Register());
  EXPECT_TRUE(recorder.calls().empty());
  EXPECT_FALSE(ReadRaw(HKEY_CURRENT_USER, SchemeKey(), u"").Found);
  EXPECT_FALSE(KeyExistsRaw(HKEY_LOCAL_MACHINE, AppKey()));
  EXPECT_FALSE(scheme.Registered());

  // Only the user's tree can go, and that counts as success: the machine key cannot be opened.
  EXPECT_TRUE(scheme.Unregister());
  EXPECT_FALSE(KeyExistsRaw(HKEY_CURRENT_USER, SchemeKey()));
  EXPECT_TRUE(KeyExistsRaw(HKEY_LOCAL_MACHINE, SchemeKey()));
}

// A scheme that is no URI scheme (empty, with a backslash) or a path without a file name
// would put the keys on SOFTWARE\Classes itself or deeper than the scheme's own key, and
// unregistering would delete someone else's keys: nothing is written or deleted.
TEST_F(CustomSchemeTest, InvalidSchemeOrPathTouchesNothing) {
  WriteRaw(HKEY_CURRENT_USER, SchemeKey(u"sub\\keep"), u"v", REG_SZ, Utf16Bytes(u"x", true));
  struct Row {
    std::u16string scheme, path;
  };
  const Row rows[] = {
      {u"", appPath_},
      {scheme_ + u"\\sub", appPath_},
      {u"1" + scheme_, appPath_},
      {u"*", appPath_},
      {scheme_ + u" x", appPath_},
      {scheme_, u"C:\\Program Files\\"},
      {scheme_, u""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(row.scheme + u" | " + row.path));
    TCustomScheme scheme(row.scheme, row.path);
    TSetValueRecorder recorder;
    EXPECT_FALSE(scheme.Register());
    EXPECT_TRUE(recorder.calls().empty());
    EXPECT_FALSE(scheme.Registered());
    EXPECT_FALSE(scheme.Unregister());
    EXPECT_TRUE(KeyExistsRaw(HKEY_CURRENT_USER, SchemeKey(u"sub\\keep")));
    EXPECT_EQ(TCustomScheme::GetAppPath(row.scheme), u"");
  }
}

TEST_F(CustomSchemeTest, GetAppPathReversesTheRegisteredCommand) {
  EXPECT_EQ(TCustomScheme::GetAppPath(scheme_), u"");  // not registered
  ASSERT_TRUE(TCustomScheme(scheme_, appPath_).Register());
  EXPECT_EQ(TCustomScheme::GetAppPath(scheme_), appPath_);
}

TEST_F(CustomSchemeTest, GetAppPathOfHandWrittenCommands) {
  const std::u16string longPath = u"C:\\" + std::u16string(300, u'p') + u".exe";
  struct Row {
    const char* what;
    std::u16string command, path;
  };
  const Row rows[] = {
      {"quoted path with blanks", u"\"C:\\Program Files\\a b.exe\" \"%1\"", u"C:\\Program Files\\a b.exe"},
      {"doubled quote inside", u"\"C:\\x\"\"y.exe\" \"%1\"", u"C:\\x\"y.exe"},
      {"lone quote inside is dropped", u"\"C:\\x\"y.exe\" \"%1\"", u"C:\\xy.exe"},
      {"unquoted path", u"C:\\x.exe \"%1\"", u"C:\\x.exe"},
      {"no tail", u"\"C:\\x.exe\" %1", u""},
      {"tail in other case", u"\"C:\\x.exe\" \"%L\"", u""},
      {"only the tail", u" \"%1\"", u""},
      {"longer than the read buffer", u"\"" + longPath + u"\" \"%1\"", u""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    WriteCommandRaw(row.command);
    EXPECT_EQ(TCustomScheme::GetAppPath(scheme_), row.path);
  }
}

TEST_F(CustomSchemeTest, GetAppPathAtTheReadBufferLimit) {
  struct Row {
    std::size_t pathLength;
    bool wholeOnWindows;
    bool wholeOnWine;  // the command is stored with an added terminator there
  };
  // Quotes and tail add 7 characters: 248 fill the 255-character buffer exactly.
  const Row rows[] = {{247, true, true}, {248, true, false}, {249, false, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.pathLength);
    appName_ = u"x.exe";
    appPath_ = u"C:\\" + std::u16string(row.pathLength - 9, u'p') + u"\\x.exe";
    ASSERT_EQ(appPath_.size(), row.pathLength);
    TSetValueRecorder recorder;
    ASSERT_TRUE(TCustomScheme(scheme_, appPath_).Register());
    EXPECT_EQ(recorder.calls()[3].ByteCount, 2 * (row.pathLength + 7));
    const bool whole = RunningOnWine() ? row.wholeOnWine : row.wholeOnWindows;
    EXPECT_EQ(TCustomScheme::GetAppPath(scheme_), whole ? appPath_ : u"");
    EXPECT_TRUE(TCustomScheme(scheme_, appPath_).Unregister());
  }
}

// Listens for the shell's "associations changed" notice, as Explorer does, on a window of
// this thread.
class TAssocChangeListener {
 public:
  static constexpr UINT kNotice = WM_APP + 7;

  TAssocChangeListener() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);  // may exist from an earlier listener
    window_.reset(CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr));
    EXPECT_TRUE(window_.valid());
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&notices_));
    PIDLIST_ABSOLUTE desktop = nullptr;
    EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop), S_OK);
    const SHChangeNotifyEntry entry{desktop, TRUE};
    id_ = SHChangeNotifyRegister(window_.get(), SHCNRF_ShellLevel | SHCNRF_InterruptLevel, SHCNE_ASSOCCHANGED,
                                 kNotice, 1, &entry);
    CoTaskMemFree(desktop);
    EXPECT_NE(id_, 0u);
  }
  TAssocChangeListener(const TAssocChangeListener&) = delete;
  TAssocChangeListener& operator=(const TAssocChangeListener&) = delete;
  ~TAssocChangeListener() {
    if (id_ != 0) SHChangeNotifyDeregister(id_);
  }

  // Handles this thread's messages until a notice has come or the time is up.
  [[nodiscard]] bool WaitForNotice(DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
      Pump();
      if (notices_ > 0) return true;
      const ULONGLONG now = GetTickCount64();
      if (now >= deadline) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    }
  }
  // What has arrived so far, after handling what is queued.
  [[nodiscard]] int Notices() {
    Pump();
    return notices_;
  }
  void Reset() {
    Pump();
    notices_ = 0;
  }

 private:
  static constexpr const wchar_t* kClass = L"OrvellaSchemeTestAssocListener";

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kNotice) {
      if (auto* count = reinterpret_cast<int*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) ++*count;
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  static void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }

  int notices_ = 0;
  ui::TUniqueWindow window_;
  ULONG id_ = 0;
};

TEST_F(CustomSchemeTest, ShellIsToldAfterASuccessfulChangeOnly) {
  TAssocChangeListener listener;
  TCustomScheme scheme(scheme_, appPath_);
  {
    TSetValueRecorder failing(1);
    ASSERT_FALSE(scheme.Register());
  }
  EXPECT_EQ(listener.Notices(), 0);

  ASSERT_TRUE(scheme.Register());
  EXPECT_TRUE(listener.WaitForNotice(10000));
  listener.Reset();
  ASSERT_TRUE(scheme.Unregister());
  EXPECT_TRUE(listener.WaitForNotice(10000));
}

// ---- The real shell: opening a link of the scheme starts the registered program. ----

std::filesystem::path RecorderPath() {
  // Under Wine the Unix path of the build tree is reachable through drive Z:.
  std::filesystem::path path = ORVELLA_SCHEME_RECORDER;
  if (!path.has_root_name()) path = L"Z:" + path.wstring();
  return path.make_preferred();
}

class SchemeShellTest : public CustomSchemeTest {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH + 1] = {};
    ASSERT_NE(GetTempPathW(MAX_PATH + 1, temp), 0u);
    folder_ = std::filesystem::path(temp) / (L"orvella test " + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::create_directories(folder_);
    program_ = folder_ / L"scheme recorder.exe";  // blanks in both folder and file name
    std::filesystem::copy_file(RecorderPath(), program_, std::filesystem::copy_options::overwrite_existing);
    appPath_ = rtl::FromW(program_.c_str());
    appName_ = u"scheme recorder.exe";
  }
  void TearDown() override {
    CustomSchemeTest::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // Opens the link as a browser would; true when the shell started a program, which has ended.
  bool Open(const std::u16string& link) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = rtl::WStr(link);
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info)) return false;
    const ui::TUniqueKernelHandle process(info.hProcess);
    EXPECT_TRUE(process.valid());
    if (process) {
      EXPECT_EQ(WaitForSingleObject(process.get(), 20000), WAIT_OBJECT_0);
    }
    return true;
  }

  [[nodiscard]] std::filesystem::path ArgsFile() const { return program_.native() + L".args"; }

  [[nodiscard]] std::u16string RecordedArgs() const {
    std::ifstream in(ArgsFile(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
  }

  std::filesystem::path folder_;
  std::filesystem::path program_;
};

TEST_F(SchemeShellTest, OpeningALinkStartsTheProgramWithTheLinkAsItsOneArgument) {
  TCustomScheme scheme(scheme_, appPath_);
  ASSERT_TRUE(scheme.Register());
  const std::u16string link = scheme_ + u":addr?amount=1";
  ASSERT_TRUE(Open(link));
  EXPECT_EQ(RecordedArgs(), link + u"\n");

  ASSERT_TRUE(scheme.Unregister());
  std::filesystem::remove(ArgsFile());
  EXPECT_FALSE(Open(link));
  EXPECT_FALSE(std::filesystem::exists(ArgsFile()));
}

}  // namespace
