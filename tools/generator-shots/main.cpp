// generator-shots STATE READYFILE DONEFILE
// Opens the generator window in STATE ("empty"; "filled": fields typed, Generate pressed
// and the currency list open; "copied": filled, then Copy pressed, with the "Copied"
// overlay held at the start of its fade), writes READYFILE once it is drawn, and closes when
// DONEFILE appears or after 30 seconds, so a screenshot script never waits for ever.
#include <windows.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <thread>

#include "generator/uCreateBIPForm.hpp"
#include "rtl/Text.hpp"
#include "toolkit/FormLoader.hpp"
#include "toolkit/Lang.hpp"

namespace {

using namespace std::chrono_literals;

void PumpFor(std::chrono::milliseconds time) {
  const auto end = std::chrono::steady_clock::now() + time;
  while (std::chrono::steady_clock::now() < end) {
    ui::Application().ProcessMessages();
    std::this_thread::sleep_for(10ms);
  }
}

void Fill(uCreateBIPForm::TfrmCreateBIP& f) {
  const auto type = [](ui::TEdit& edit, const wchar_t* text) {
    SetFocus(edit.NativeWnd());
    for (const wchar_t* c = text; *c; ++c) SendMessageW(edit.NativeWnd(), WM_CHAR, *c, 1);
  };
  type(f.edtAddress, L"ORVa1b2c3d4e5f6g7h8");
  type(f.edtAmount, L"12.5");
  type(f.edtLabel, L"Coffee Shop");
  type(f.edtMessage, L"Order 42");
  SendMessageW(f.chbxORV21.NativeWnd(), BM_CLICK, 0, 0);
  type(f.edtAmountExt, L"1500");
  SendMessageW(f.btnGenerate.NativeWnd(), BM_CLICK, 0, 0);
  PumpFor(200ms);
  f.cmbbxAmountType.DropDown(true);
}

// Copy as the user presses it; the overlay's fade is stopped where it starts, so the
// picture shows the overlay whole.
void Copy(uCreateBIPForm::TfrmCreateBIP& f) {
  f.cmbbxAmountType.DropDown(false);
  SendMessageW(f.btnCopy.NativeWnd(), BM_CLICK, 0, 0);
  f.animOpacity.Stop();
  f.rectCopied.SetOpacity(f.animOpacity.StartValue);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  const std::wstring state = argv[1];
  ui::Application().Initialize();
  // The translation table that the main window holds, in force as it is there.
  const ui::TFormLoadResult main = ui::LoadFormResource("uMainGUI");
  if (!main.Root) return 3;
  const ui::TLang lang = ui::TLang::FromResource(*main.Root->FindObject(u"langJaEn"));
  const ui::TLangScope scope(lang, lang.ChooseLanguage());

  auto form = ui::MakeForm<uCreateBIPForm::TfrmCreateBIP>();
  form->SetStyleBook(&ui::TStyleBook::Jet());
  form->Show();
  PumpFor(500ms);
  if (state == L"filled" || state == L"copied") Fill(*form);
  if (state == L"copied") Copy(*form);
  PumpFor(700ms);
  std::ofstream(argv[2]) << "ready\n";
  const auto end = std::chrono::steady_clock::now() + 30s;
  while (std::chrono::steady_clock::now() < end && GetFileAttributesW(argv[3]) == INVALID_FILE_ATTRIBUTES) {
    PumpFor(50ms);
  }
  return 0;
}
