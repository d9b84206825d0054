#include "rtl/Text.hpp"

namespace rtl {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

[[nodiscard]] bool IsTrimmed(char16_t c) { return c <= 0x20; }

[[nodiscard]] bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

void AppendCodePoint(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Length of a well-formed sequence starting at `lead`, and the range its second byte
// must lie in (the tighter ranges exclude overlong forms and surrogates).
struct LeadInfo {
  int length;
  unsigned char secondMin, secondMax;
};

[[nodiscard]] LeadInfo ClassifyLead(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};
  if (lead == 0xED) return {3, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
  if (lead == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    const LeadInfo info = ClassifyLead(lead);
    if (info.length == 0) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    char32_t cp = lead & (0xFF >> (info.length + 1));
    std::size_t used = 1;
    bool complete = true;
    for (int k = 1; k < info.length; ++k) {
      if (i + used >= text.size()) {
        complete = false;
        break;
      }
      const auto b = static_cast<unsigned char>(text[i + used]);
      const bool inRange = k == 1 ? (b >= info.secondMin && b <= info.secondMax) : IsContinuation(b);
      if (!inRange) {
        complete = false;
        break;
      }
      cp = (cp << 6) | (b & 0x3F);
      ++used;
    }
    // A truncated or broken sequence is replaced as a whole (its maximal valid prefix).
    if (complete) {
      AppendCodePoint(out, cp);
    } else {
      out.push_back(kReplacement);
    }
    i += used;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      const char32_t cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      AppendUtf8(out, cp);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

std::u16string TrimLeft(std::u16string_view text) {
  std::size_t first = 0;
  while (first < text.size() && IsTrimmed(text[first])) ++first;
  return std::u16string(text.substr(first));
}

std::u16string TrimRight(std::u16string_view text) {
  std::size_t end = text.size();
  while (end > 0 && IsTrimmed(text[end - 1])) --end;
  return std::u16string(text.substr(0, end));
}

std::u16string Trim(std::u16string_view text) { return TrimLeft(TrimRight(text)); }

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to) {
  std::u16string out;
  if (from.empty()) return std::u16string(text);
  std::size_t pos = 0;
  for (;;) {
    const std::size_t hit = text.find(from, pos);
    if (hit == std::u16string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::u16string AsciiToUtf16(std::string_view text) {
  return std::u16string(text.begin(), text.end());
}

}  // namespace rtl
