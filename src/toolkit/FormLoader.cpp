#include "toolkit/FormLoader.hpp"

#include <array>
#include <charconv>
#include <set>

#include "rtl/Text.hpp"
#include "toolkit/FormResources.hpp"

namespace ui {

namespace {

using TKind = TResValue::TKind;

const TResValue* Single(const TResObject& object, std::string_view name, TKind kind) {
  const TResProperty* p = object.Find(name);
  if (!p || p->Values.size() != 1 || p->Values[0].Kind != kind) return nullptr;
  return &p->Values[0];
}

std::optional<std::vector<float>> Numbers(const TResObject& object, std::string_view name, std::size_t count) {
  const TResProperty* p = object.Find(name);
  if (!p || p->Values.size() != count) return std::nullopt;
  std::vector<float> numbers;
  for (const TResValue& v : p->Values) {
    if (v.Kind != TKind::Number) return std::nullopt;
    numbers.push_back(static_cast<float>(v.Number));
  }
  return numbers;
}

std::optional<TAlphaColor> ParseColor(std::u16string_view word) {
  if (word.size() != 9 || word[0] != u'#') return std::nullopt;
  const std::string hex = rtl::Utf16ToUtf8(word.substr(1));
  TAlphaColor value = 0;
  const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), value, 16);
  if (ec != std::errc() || end != hex.data() + hex.size()) return std::nullopt;
  return value;
}

struct TAlignName {
  std::u16string_view Name;
  TAlignLayout Align;
};
constexpr std::array<TAlignName, 8> kAligns = {{{u"None", TAlignLayout::None},
                                                {u"Top", TAlignLayout::Top},
                                                {u"Bottom", TAlignLayout::Bottom},
                                                {u"Left", TAlignLayout::Left},
                                                {u"Right", TAlignLayout::Right},
                                                {u"Client", TAlignLayout::Client},
                                                {u"Center", TAlignLayout::Center},
                                                {u"Contents", TAlignLayout::Contents}}};

std::optional<TAlignLayout> ParseAlign(std::u16string_view word) {
  for (const TAlignName& a : kAligns) {
    if (a.Name == word) return a.Align;
  }
  return std::nullopt;
}

// The value shape of every property the loader knows.
enum class TShape { Number, Pair, Bounds, String, Word, Bool, Color, Align, Event, StringPair };
struct TPropertyShape {
  std::string_view Name;
  TShape Shape;
};
constexpr TPropertyShape kShapes[] = {
    {"Caption", TShape::String},       {"ClientSize", TShape::Pair},     {"BorderStyle", TShape::Word},
    {"BorderIcons", TShape::Word},     {"FormPosition", TShape::Word},   {"StyleBook", TShape::Word},
    {"Align", TShape::Align},          {"Margins", TShape::Bounds},      {"Padding", TShape::Bounds},
    {"Position", TShape::Pair},        {"Size", TShape::Pair},           {"Text", TShape::String},
    {"FontSize", TShape::Number},      {"FontColor", TShape::Color},     {"FontFamily", TShape::String},
    {"TextAlign", TShape::Word},       {"AutoSize", TShape::Bool},       {"WordWrap", TShape::Bool},
    {"TabOrder", TShape::Number},      {"TabStop", TShape::Bool},        {"Cancel", TShape::Bool},
    {"Enabled", TShape::Bool},         {"Visible", TShape::Bool},        {"Opacity", TShape::Number},
    {"HitTest", TShape::Bool},         {"ReadOnly", TShape::Bool},       {"ShowScrollBars", TShape::Bool},
    {"StyleLookup", TShape::String},   {"IsChecked", TShape::Bool},      {"LineType", TShape::Word},
    {"Stroke", TShape::Color},         {"StrokeKind", TShape::Word},     {"Fill", TShape::Color},
    {"Bitmap", TShape::Word},          {"Style", TShape::Word},          {"Lang", TShape::String},
    {"Translation", TShape::StringPair}, {"PropertyName", TShape::String}, {"StartValue", TShape::Number},
    {"StopValue", TShape::Number},     {"Duration", TShape::Number},     {"Interpolation", TShape::Word},
    {"GlowColor", TShape::Color},      {"Softness", TShape::Number},     {"OnCreate", TShape::Event},
    {"OnDestroy", TShape::Event},      {"OnClose", TShape::Event},       {"OnClick", TShape::Event},
    {"OnTyping", TShape::Event},       {"OnValidating", TShape::Event},  {"OnChange", TShape::Event},
};

bool HasShape(const TResProperty& p, TShape shape) {
  const auto all = [&](TKind kind, std::size_t count) {
    if (p.Values.size() != count) return false;
    for (const TResValue& v : p.Values) {
      if (v.Kind != kind) return false;
    }
    return true;
  };
  switch (shape) {
    case TShape::Number: return all(TKind::Number, 1);
    case TShape::Pair: return all(TKind::Number, 2);
    case TShape::Bounds: return all(TKind::Number, 4);
    case TShape::String: return all(TKind::String, 1);
    case TShape::StringPair: return all(TKind::String, 2);
    case TShape::Word:
    case TShape::Event: return all(TKind::Word, 1);
    case TShape::Bool: return all(TKind::Word, 1) && (p.Values[0].Text == u"true" || p.Values[0].Text == u"false");
    case TShape::Color: return all(TKind::Word, 1) && ParseColor(p.Values[0].Text).has_value();
    case TShape::Align: return all(TKind::Word, 1) && ParseAlign(p.Values[0].Text).has_value();
  }
  return false;
}

void CheckObject(const TResObject& object, std::set<std::u16string>& names, std::vector<std::string>& problems) {
  const std::string where = rtl::Utf16ToUtf8(object.Name) + " (line " + std::to_string(object.Line) + ")";
  if (!names.insert(object.Name).second) problems.push_back(where + ": the name is used twice");
  for (const TResProperty& p : object.Properties) {
    const TPropertyShape* shape = nullptr;
    for (const TPropertyShape& s : kShapes) {
      if (s.Name == p.Name) shape = &s;
    }
    const std::string at = where + ", line " + std::to_string(p.Line) + ": " + p.Name;
    if (!shape) {
      problems.push_back(at + " is not a known property");
    } else if (!HasShape(p, shape->Shape)) {
      problems.push_back(at + " has a value of the wrong kind");
    }
  }
  for (const TResObject& child : object.Children) CheckObject(child, names, problems);
}

void ArrangeChildren(const TResObject& parent, const TRectF& parentInClient, std::vector<TPlacement>& out) {
  std::vector<TLayoutItem> items;
  std::vector<const TResObject*> objects;
  for (const TResObject& child : parent.Children) {
    if (!IsVisualClass(child.ClassName)) continue;
    items.push_back(ReadLayoutItem(child));
    objects.push_back(&child);
  }
  std::vector<TLayoutItem*> pointers;
  for (TLayoutItem& item : items) pointers.push_back(&item);
  const TBounds padding = ReadBounds(parent, "Padding").value_or(TBounds{});
  AlignChildren({parentInClient.Width(), parentInClient.Height()}, padding, pointers);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const TRectF inParent = items[i].BoundsRect();
    const TRectF inClient{parentInClient.Left + inParent.Left, parentInClient.Top + inParent.Top,
                          parentInClient.Left + inParent.Right, parentInClient.Top + inParent.Bottom};
    out.push_back({objects[i]->Name, parent.Name, inParent, inClient});
    ArrangeChildren(*objects[i], inClient, out);
  }
}

}  // namespace

TFormLoadResult LoadFormResource(std::string_view iName) {
  TFormLoadResult result;
  const auto text = FindFormResource(iName);
  if (!text) {
    result.Error = "no layout named " + std::string(iName);
    return result;
  }
  TResParseResult parsed = ParseFormResource(*text);
  if (!parsed.Root) {
    result.Error = std::string(iName) + ": " + parsed.Error;
    return result;
  }
  const std::vector<std::string> problems = CheckFormResource(*parsed.Root);
  if (!problems.empty()) {
    result.Error = std::string(iName) + ": " + problems.front();
    return result;
  }
  result.Root = std::move(parsed.Root);
  return result;
}

std::vector<std::string> CheckFormResource(const TResObject& iRoot) {
  std::vector<std::string> problems;
  std::set<std::u16string> names;
  CheckObject(iRoot, names, problems);
  return problems;
}

std::optional<double> ReadNumber(const TResObject& iObject, std::string_view iName) {
  const TResValue* v = Single(iObject, iName, TKind::Number);
  return v ? std::optional<double>(v->Number) : std::nullopt;
}

std::optional<std::u16string> ReadString(const TResObject& iObject, std::string_view iName) {
  const TResValue* v = Single(iObject, iName, TKind::String);
  return v ? std::optional<std::u16string>(v->Text) : std::nullopt;
}

std::optional<std::u16string> ReadWord(const TResObject& iObject, std::string_view iName) {
  const TResValue* v = Single(iObject, iName, TKind::Word);
  return v ? std::optional<std::u16string>(v->Text) : std::nullopt;
}

std::optional<bool> ReadBool(const TResObject& iObject, std::string_view iName) {
  const auto word = ReadWord(iObject, iName);
  if (word == u"true") return true;
  if (word == u"false") return false;
  return std::nullopt;
}

std::optional<TAlphaColor> ReadColor(const TResObject& iObject, std::string_view iName) {
  const auto word = ReadWord(iObject, iName);
  return word ? ParseColor(*word) : std::nullopt;
}

std::optional<TSizeF> ReadPair(const TResObject& iObject, std::string_view iName) {
  const auto n = Numbers(iObject, iName, 2);
  return n ? std::optional<TSizeF>(TSizeF{(*n)[0], (*n)[1]}) : std::nullopt;
}

std::optional<TBounds> ReadBounds(const TResObject& iObject, std::string_view iName) {
  const auto n = Numbers(iObject, iName, 4);
  return n ? std::optional<TBounds>(TBounds{(*n)[0], (*n)[1], (*n)[2], (*n)[3]}) : std::nullopt;
}

TLayoutItem ReadLayoutItem(const TResObject& iObject) {
  TLayoutItem item;
  if (const auto word = ReadWord(iObject, "Align")) item.Align = ParseAlign(*word).value_or(TAlignLayout::None);
  item.Margins = ReadBounds(iObject, "Margins").value_or(TBounds{});
  const TSizeF position = ReadPair(iObject, "Position").value_or(TSizeF{});
  item.Position = {position.Width, position.Height};
  item.Size = ReadPair(iObject, "Size").value_or(TSizeF{});
  item.Visible = ReadBool(iObject, "Visible").value_or(true);
  return item;
}

bool IsVisualClass(std::string_view iClassName) noexcept {
  constexpr std::string_view components[] = {"TStyleBook", "TLang", "TLangTable", "TFloatAnimation", "TGlowEffect"};
  for (const std::string_view c : components) {
    if (c == iClassName) return false;
  }
  return true;
}

std::vector<TPlacement> ArrangeLayout(const TResObject& iRoot) {
  const TSizeF client = ReadPair(iRoot, "ClientSize").value_or(TSizeF{});
  std::vector<TPlacement> placements;
  ArrangeChildren(iRoot, {0, 0, client.Width, client.Height}, placements);
  return placements;
}

}  // namespace ui
