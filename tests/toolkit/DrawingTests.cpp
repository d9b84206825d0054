// The toolkit's drawing under Wine: pictures, labels that wrap and size themselves, and
// the glow of the overlay rectangle, painted into real DCs and real windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "../win/EventLoop.hpp"
#include "generator/uCreateBIPForm.hpp"
#include "toolkit/Bitmap.hpp"
#include "toolkit/Controls.hpp"
#include "toolkit/FormLoader.hpp"
#include "toolkit/FormResource.hpp"
#include "toolkit/Thread.hpp"

namespace {

using namespace std::chrono_literals;
using testsupport::PumpUntil;
using testsupport::Settle;

constexpr ui::TColorRef kBack = 0x00302C2A;  // the style's background, as GDI takes it

// A 32-bit top-down DIB section selected into a memory DC, filled with one colour.
class TCanvas {
 public:
  TCanvas(int width, int height, ui::TColorRef fill = kBack) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dib_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<std::uint32_t*>(bits);
    dc_.reset(CreateCompatibleDC(nullptr));
    old_ = SelectObject(dc_.get(), dib_.get());
    ui::TUniqueGdiObject brush(CreateSolidBrush(fill));
    const RECT all{0, 0, width, height};
    FillRect(dc_.get(), &all, static_cast<HBRUSH>(brush.get()));
    GdiFlush();
  }
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;
  ~TCanvas() { SelectObject(dc_.get(), old_); }

  [[nodiscard]] HDC DC() const noexcept { return dc_.get(); }
  // The pixel as GDI writes colours (0x00BBGGRR).
  [[nodiscard]] ui::TColorRef At(int x, int y) const {
    GdiFlush();
    const std::uint32_t p = bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
    return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
  }
  [[nodiscard]] int Width() const noexcept { return width_; }
  [[nodiscard]] int Height() const noexcept { return height_; }

 private:
  int width_, height_;
  ui::TUniqueGdiObject dib_;
  ui::TUniqueMemoryDC dc_;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

// The largest difference of one channel between two colours.
int Distance(ui::TColorRef a, ui::TColorRef b) {
  int most = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    most = std::max(most, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
  }
  return most;
}

// 0xAARRGGBB over a GDI background, as alpha blending gives it.
ui::TColorRef Over(std::uint32_t argb, ui::TColorRef back, float opacity = 1.0f) {
  return ui::BlendColor(ui::ToColorRef(argb), back, static_cast<float>(argb >> 24) / 255.0f * opacity);
}

// A small form stand-in: a real top-level window and a chosen scale.
class TTestHost final : public ui::IControlHost {
 public:
  explicit TTestHost(float scale)
      : scale_(scale),
        wnd_(CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 500, 400, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  [[nodiscard]] HWND HostWnd() const noexcept override { return wnd_.get(); }
  [[nodiscard]] float HostScale() const noexcept override { return scale_; }
  [[nodiscard]] const ui::TStyleBook& HostStyleBook() const noexcept override { return ui::TStyleBook::Jet(); }
  void ControlChanged(ui::TControl&, bool iRealign) override { Realigns += iRealign ? 1 : 0; }
  void FocusNext(ui::TControl&, bool) override {}
  void CancelPressed() override {}
  void FocusControl(ui::TControl&) override {}
  int Realigns = 0;

 private:
  float scale_;
  ui::TUniqueWindow wnd_;
};

// The control a layout snippet describes (one object, no children built).
template <typename T>
std::unique_ptr<T> Make(const std::string& text) {
  const ui::TResParseResult parsed = ui::ParseFormResource(text);
  EXPECT_TRUE(parsed.Root) << parsed.Error;
  if (!parsed.Root) return nullptr;
  std::unique_ptr<ui::TControl> control = ui::CreateControl(*parsed.Root);
  auto* typed = dynamic_cast<T*>(control.get());
  EXPECT_NE(typed, nullptr);
  if (!typed) return nullptr;
  (void)control.release();
  return std::unique_ptr<T>(typed);
}

// ---- TImage ----

std::unique_ptr<ui::TImage> Logo(const std::string& extra = "") {
  return Make<ui::TImage>("object img: TImage\n  Size = 64 37\n  Bitmap = logo\n" + extra + "end\n");
}

TEST(ImageDrawing, DrawsEveryPixelOfThePictureOverTheBackgroundByItsAlpha) {
  const auto logo = ui::LoadImageResource("logo");
  ASSERT_TRUE(logo);
  struct Row {
    const char* Name;
    std::string Extra;
    float Opacity;
  };
  const Row rows[] = {{"opaque", "", 1.0f}, {"half faded", "  Opacity = 0.5\n", 0.5f}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    auto image = Logo(row.Extra);
    ASSERT_TRUE(image && image->HasBitmap());
    TCanvas canvas(84, 57);
    image->Paint(canvas.DC(), {10, 10, 74, 47}, ui::TStyleBook::Jet().Default());
    int wrong = 0;
    for (int y = 0; y < 37; ++y) {
      for (int x = 0; x < 64; ++x) {
        if (Distance(canvas.At(10 + x, 10 + y), Over(logo->At(x, y), kBack, row.Opacity)) > 2) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0);
    // Transparent corners leave the background, and nothing is drawn around the rectangle.
    EXPECT_EQ(canvas.At(10, 10), kBack);
    for (int x = 0; x < canvas.Width(); ++x) {
      EXPECT_EQ(canvas.At(x, 9), kBack);
      EXPECT_EQ(canvas.At(x, 47), kBack);
    }
    for (int y = 0; y < canvas.Height(); ++y) {
      EXPECT_EQ(canvas.At(9, y), kBack);
      EXPECT_EQ(canvas.At(74, y), kBack);
    }
  }
}

TEST(ImageDrawing, IsStretchedOverItsPixelsAtTheFormsScale) {
  // 64 x 37 DIP at scale 1.5 are the 96 x 56 pixels the form passes.
  auto image = Logo();
  ASSERT_TRUE(image);
  TCanvas canvas(110, 70);
  image->Paint(canvas.DC(), {4, 6, 100, 62}, ui::TStyleBook::Jet().Default());
  const ui::TColorRef plate = ui::ToColorRef(0xFF17807A);
  EXPECT_LE(Distance(canvas.At(4, 34), plate), 2);   // left edge, middle row
  EXPECT_LE(Distance(canvas.At(99, 34), plate), 2);  // right edge
  EXPECT_LE(Distance(canvas.At(52, 7), plate), 2);   // top edge
  EXPECT_EQ(canvas.At(3, 34), kBack);
  EXPECT_EQ(canvas.At(100, 34), kBack);
  EXPECT_EQ(canvas.At(52, 5), kBack);
  EXPECT_EQ(canvas.At(52, 62), kBack);
  EXPECT_EQ(canvas.At(4, 6), kBack);  // a transparent corner
}

TEST(ImageDrawing, AMissingPictureDrawsNothing) {
  for (const std::string extra : {"", "  Bitmap = nosuchpicture\n"}) {
    auto image = Make<ui::TImage>("object img: TImage\n  Size = 64 37\n" + extra + "end\n");
    ASSERT_TRUE(image);
    EXPECT_FALSE(image->HasBitmap());
    TCanvas canvas(70, 40);
    image->Paint(canvas.DC(), {0, 0, 64, 37}, ui::TStyleBook::Jet().Default());
    for (int y = 0; y < 40; y += 3) {
      for (int x = 0; x < 70; x += 3) ASSERT_EQ(canvas.At(x, y), kBack) << x << "," << y;
    }
  }
}

TEST(ImageDrawing, TheMainWindowsIconHasTheLogo) {
  const ui::TFormLoadResult main = ui::LoadFormResource("uMainGUI");
  ASSERT_TRUE(main.Root) << main.Error;
  const ui::TResObject* icon = main.Root->FindObject(u"imgIcon");
  ASSERT_NE(icon, nullptr);
  const std::unique_ptr<ui::TControl> control = ui::CreateControl(*icon);
  const auto* image = dynamic_cast<const ui::TImage*>(control.get());
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(image->HasBitmap());
}

// ---- TLabel ----

std::unique_ptr<ui::TLabel> Label(const std::string& properties) {
  return Make<ui::TLabel>("object lbl: TLabel\n" + properties + "end\n");
}

// The label attached to the host and its style applied, as a form does on creation.
ui::TSizeF Fitted(ui::TLabel& label, TTestHost& host) {
  label.Attach(host);
  label.ApplyStyle();
  return label.Layout.Size;
}

const std::string kShort = "  Text = \"Hi\"\n";
const std::string kLong = "  Text = \"Register ORVL Scheme for every wallet on this computer\"\n";

TEST(LabelAutoSize, AFreeOneLineLabelTakesTheWidthAndHeightOfItsCaption) {
  TTestHost host(1.0f);
  const std::string props = "  Size = 50 100\n  FontSize = 24\n  AutoSize = true\n";
  auto shortLabel = Label(props + kShort);
  auto longLabel = Label(props + kLong);
  const ui::TSizeF s = Fitted(*shortLabel, host);
  const ui::TSizeF l = Fitted(*longLabel, host);
  EXPECT_GT(l.Width, s.Width * 5);
  EXPECT_GT(l.Width, 300.0f);
  EXPECT_LT(s.Width, 50.0f);
  // One line of a 24 DIP font, in whole DIP.
  EXPECT_EQ(l.Height, s.Height);
  EXPECT_GE(s.Height, 24.0f);
  EXPECT_LE(s.Height, 40.0f);
  EXPECT_EQ(l.Width, std::ceil(l.Width));
  EXPECT_GT(host.Realigns, 0);  // the form lays out again
}

TEST(LabelAutoSize, AlignmentAndWrappingDecideWhetherTheWidthFollows) {
  struct Row {
    const char* Name;
    std::string Properties;
    bool WidthKept;
  };
  const Row rows[] = {
      {"top-aligned", "  Align = Top\n", true},
      {"client-aligned", "  Align = Client\n", true},
      {"centred", "  Align = Center\n", false},
      {"wrapped", "  WordWrap = true\n", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    TTestHost host(1.0f);
    auto label = Label("  Size = 120 100\n  FontSize = 16\n  AutoSize = true\n" + row.Properties + kLong);
    const ui::TSizeF size = Fitted(*label, host);
    if (row.WidthKept) {
      EXPECT_EQ(size.Width, 120.0f);
    } else {
      EXPECT_GT(size.Width, 120.0f);
    }
    EXPECT_NE(size.Height, 100.0f);
  }
}

TEST(LabelAutoSize, AWrappedLongCaptionGetsTallerThanAShortOne) {
  TTestHost host(1.0f);
  const std::string props = "  Size = 120 10\n  FontSize = 16\n  AutoSize = true\n  WordWrap = true\n";
  auto shortLabel = Label(props + kShort);
  auto longLabel = Label(props + kLong);
  const ui::TSizeF s = Fitted(*shortLabel, host);
  const ui::TSizeF l = Fitted(*longLabel, host);
  EXPECT_GE(l.Height, s.Height * 3);  // at least three lines
  EXPECT_EQ(l.Width, 120.0f);
}

TEST(LabelAutoSize, MeasuresInDipWhateverTheScale) {
  const std::string props = "  Size = 50 10\n  FontSize = 20\n  AutoSize = true\n" + kLong;
  TTestHost one(1.0f), larger(1.5f);
  auto a = Label(props);
  auto b = Label(props);
  const ui::TSizeF atOne = Fitted(*a, one);
  const ui::TSizeF atLarger = Fitted(*b, larger);
  EXPECT_NEAR(atLarger.Width, atOne.Width, atOne.Width * 0.08f);
  EXPECT_NEAR(atLarger.Height, atOne.Height, 3.0f);
}

TEST(LabelAutoSize, ANewCaptionIsMeasuredAgain) {
  TTestHost host(1.0f);
  auto label = Label("  Size = 50 10\n  FontSize = 16\n  AutoSize = true\n" + kShort);
  const ui::TSizeF before = Fitted(*label, host);
  label->SetText(u"A much longer caption than before");
  EXPECT_GT(label->Layout.Size.Width, before.Width * 4);
}

TEST(LabelAutoSize, OffKeepsTheDesignedSize) {
  TTestHost host(1.0f);
  for (const std::string wrap : {"  WordWrap = true\n", "  WordWrap = false\n"}) {
    auto label = Label("  Size = 50 10\n  FontSize = 16\n" + wrap + kLong);
    EXPECT_EQ(Fitted(*label, host), (ui::TSizeF{50, 10}));
    label->SetText(u"x");
    EXPECT_EQ(label->Layout.Size, (ui::TSizeF{50, 10}));
    EXPECT_EQ(host.Realigns, 0);
  }
}

// The rows of the canvas in which the caption left ink (pixels far from the background).
std::pair<int, int> InkRows(const TCanvas& canvas) {
  int first = -1, last = -1;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      if (Distance(canvas.At(x, y), kBack) > 60) {
        if (first < 0) first = y;
        last = y;
        break;
      }
    }
  }
  return {first, last};
}

TEST(LabelWordWrap, BreaksALongCaptionIntoLinesOrKeepsItOnOne) {
  struct Row {
    std::string WordWrap;
    std::string Align;
    bool Lines;
  };
  const Row rows[] = {
      {"true", "Leading", true}, {"false", "Leading", false}, {"true", "Center", true}, {"false", "Center", false}};
  for (const Row& row : rows) {
    SCOPED_TRACE("WordWrap " + row.WordWrap + ", " + row.Align);
    TTestHost host(1.0f);
    auto label = Label("  Size = 120 200\n  FontSize = 16\n  WordWrap = " + row.WordWrap + "\n  TextAlign = " +
                       row.Align + "\n" + kLong);
    label->Attach(host);
    TCanvas canvas(120, 200);
    label->Paint(canvas.DC(), {0, 0, 120, 200}, ui::TStyleBook::Jet().Default());
    const auto [first, last] = InkRows(canvas);
    ASSERT_GE(first, 0);
    if (row.Lines) {
      EXPECT_GT(last - first, 16 * 2);
    } else {
      EXPECT_LT(last - first, 16 * 3 / 2);
    }
    // Centred text sits in the middle of the label's height, wrapped or not.
    if (row.Align == "Center") {
      EXPECT_NEAR(first, 200 - 1 - last, 8);
    } else {
      EXPECT_LT(first, 8);
    }
  }
}

// ---- TRoundRect and its glow ----

const std::string kGlowRect =
    "object rect: TRoundRect\n  Size = 217 48\n  Fill = #FF000000\n  HitTest = false\n"
    "  object glow: TGlowEffect\n    GlowColor = #FF000000\n    Softness = 0.4\n    Opacity = 0.9\n  end\nend\n";
const std::string kPlainRect = "object rect: TRoundRect\n  Size = 217 48\n  Fill = #FF000000\n  HitTest = false\nend\n";

RECT RectInParent(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  MapWindowPoints(nullptr, GetParent(wnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST(RoundRectGlow, TheWindowGrowsByTheGlowOnEverySideAndIsRounded) {
  struct Row {
    const char* Name;
    const std::string* Layout;
    float Scale;
    int Glow;  // pixels
  };
  const Row rows[] = {{"glow at 1", &kGlowRect, 1.0f, 4},
                      {"glow at 1.5", &kGlowRect, 1.5f, 6},
                      {"no glow", &kPlainRect, 1.0f, 0},
                      {"no glow at 1.5", &kPlainRect, 1.5f, 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    TTestHost host(row.Scale);
    auto rect = Make<ui::TRoundRect>(*row.Layout);
    ASSERT_TRUE(rect);
    rect->Attach(host);
    ASSERT_NE(rect->NativeWnd(), nullptr);
    EXPECT_EQ(rect->GlowPixels(), row.Glow);
    rect->PlaceNative({100, 80, 317, 128});
    const RECT placed = RectInParent(rect->NativeWnd());
    EXPECT_EQ(placed.left, 100 - row.Glow);
    EXPECT_EQ(placed.top, 80 - row.Glow);
    EXPECT_EQ(placed.right, 317 + row.Glow);
    EXPECT_EQ(placed.bottom, 128 + row.Glow);
    const ui::TUniqueGdiObject region(CreateRectRgn(0, 0, 0, 0));
    const int kind = GetWindowRgn(rect->NativeWnd(), static_cast<HRGN>(region.get()));
    const int width = placed.right - placed.left, height = placed.bottom - placed.top;
    if (row.Glow == 0) {
      EXPECT_EQ(kind, ERROR);  // the plain window, as without effects
    } else {
      ASSERT_NE(kind, ERROR);
      const auto in = [&](int x, int y) { return PtInRegion(static_cast<HRGN>(region.get()), x, y) != 0; };
      EXPECT_FALSE(in(0, 0));
      EXPECT_FALSE(in(width - 1, height - 1));
      EXPECT_TRUE(in(0, height / 2));
      EXPECT_TRUE(in(width / 2, 0));
      EXPECT_TRUE(in(width / 2, height / 2));
    }
    // Clicks go through the glow as through the rectangle.
    POINT screen{placed.left + 1, placed.top + height / 2};
    ClientToScreen(host.HostWnd(), &screen);
    EXPECT_EQ(SendMessageW(rect->NativeWnd(), WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)), HTTRANSPARENT);
  }
}

// Where bright pixels (the white caption) are.
struct TInk {
  int Left = INT_MAX, Top = INT_MAX, Right = -1, Bottom = -1;
};
TInk InkOf(const TCanvas& canvas) {
  TInk ink;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      if (Distance(canvas.At(x, y), 0) > 128) {
        ink.Left = std::min(ink.Left, x), ink.Right = std::max(ink.Right, x);
        ink.Top = std::min(ink.Top, y), ink.Bottom = std::max(ink.Bottom, y);
      }
    }
  }
  return ink;
}

// A one-line caption wider than its label is drawn whole, not cut at the label's edges:
// centred, it spreads to both sides (a translated caption is often longer).
TEST(LabelWordWrap, AOneLineCaptionWiderThanItsLabelIsDrawnWhole) {
  TTestHost host(1.0f);
  auto label = Label("  Size = 60 40\n  FontSize = 16\n  TextAlign = Center\n" + kLong);
  label->Attach(host);
  TCanvas canvas(600, 40);
  const ui::TRect at{270, 0, 330, 40};
  label->Paint(canvas.DC(), at, ui::TStyleBook::Jet().Default());
  const TInk ink = InkOf(canvas);
  ASSERT_GE(ink.Right, 0);
  EXPECT_LT(ink.Left, at.Left - 100);
  EXPECT_GT(ink.Right, at.Right + 100);
  EXPECT_NEAR(at.Left - ink.Left, ink.Right - at.Right, 4);
}

class CopiedOverlay : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ui::Application().Initialize(); }
  void SetUp() override {
    form_ = ui::MakeForm<uCreateBIPForm::TfrmCreateBIP>();
    form_->SetStyleBook(&ui::TStyleBook::Jet());
    form_->Show();
    ASSERT_TRUE(PumpUntil([&] { return form_->Visible(); }));
    form_->rectCopied.SetVisible(true);
    Settle();
  }
  void TearDown() override { form_.reset(); }
  ui::TFormPtr<uCreateBIPForm::TfrmCreateBIP> form_;
};

TEST_F(CopiedOverlay, GlowsAroundTheRectangleWithTheCaptionInItsMiddle) {
  ui::TRoundRect& rect = form_->rectCopied;
  ASSERT_TRUE(rect.Glow);
  const float scale = form_->HostScale();
  const int glow = static_cast<int>(std::lround(4.0f * scale));
  ASSERT_EQ(rect.GlowPixels(), glow);
  const ui::TRect pixels = ui::ScaleToPixels(rect.ClientRect(), scale);
  const RECT placed = RectInParent(rect.NativeWnd());
  EXPECT_EQ(placed.left, pixels.Left - glow);
  EXPECT_EQ(placed.top, pixels.Top - glow);
  EXPECT_EQ(placed.right, pixels.Right + glow);
  EXPECT_EQ(placed.bottom, pixels.Bottom + glow);

  const int width = placed.right - placed.left, height = placed.bottom - placed.top;
  TCanvas canvas(width, height, 0x00FF00FF);
  SendMessageW(rect.NativeWnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.DC()), PRF_CLIENT);
  const ui::TColorRef fill = ui::BlendColor(0, kBack, rect.AbsoluteOpacity());
  const int middle = height / 2;
  // Outside the glow's reach the background; the innermost ring of the band is darker
  // than the background and lighter than the fill; then the fill.
  EXPECT_EQ(canvas.At(0, 0), kBack);
  const ui::TColorRef band = canvas.At(glow - 1, middle);
  EXPECT_GT(Distance(band, kBack), 8);
  EXPECT_GT(Distance(band, fill), 4);
  EXPECT_LE(Distance(canvas.At(glow + 2, middle), fill), 1);
  EXPECT_LE(Distance(canvas.At(width - glow - 3, middle), fill), 1);
  // The band fades outwards.
  EXPECT_LE(Distance(canvas.At(0, middle), kBack), Distance(band, kBack));

  // The caption is drawn where the label lies in the rectangle, inside the glow: its ink
  // is where the label alone paints it at that place.
  ui::TControl* label = rect.FindControl(u"lblCopied");
  ASSERT_NE(label, nullptr);
  const ui::TRectF& r = label->ClientRect();
  const ui::TRectF& in = rect.ClientRect();
  const ui::TRect local = ui::ScaleToPixels({r.Left - in.Left, r.Top - in.Top, r.Right - in.Left, r.Bottom - in.Top}, scale);
  TCanvas alone(width, height, fill);
  label->Paint(alone.DC(), {local.Left + glow, local.Top + glow, local.Right + glow, local.Bottom + glow},
               ui::TStyleBook::Jet().Default());
  const TInk drawn = InkOf(canvas), expected = InkOf(alone);
  ASSERT_GE(expected.Right, 0) << "the label drew nothing";
  EXPECT_EQ(drawn.Left, expected.Left);
  EXPECT_EQ(drawn.Top, expected.Top);
  EXPECT_EQ(drawn.Right, expected.Right);
  EXPECT_EQ(drawn.Bottom, expected.Bottom);
}

}  // namespace
