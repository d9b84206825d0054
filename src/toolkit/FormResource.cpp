#include "toolkit/FormResource.hpp"

#include <cctype>
#include <charconv>

#include "rtl/Text.hpp"

namespace ui {

const TResProperty* TResObject::Find(std::string_view iName) const noexcept {
  const TResProperty* found = nullptr;
  for (const TResProperty& p : Properties) {
    if (p.Name == iName) found = &p;
  }
  return found;
}

const TResObject* TResObject::FindObject(std::u16string_view iName) const noexcept {
  for (const TResObject& child : Children) {
    if (child.Name == iName) return &child;
    if (const TResObject* deeper = child.FindObject(iName)) return deeper;
  }
  return nullptr;
}

namespace {

[[nodiscard]] bool IsWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '#' || c == '-';
}

// Splits one line into tokens; fails on an unterminated string or a bad escape.
class TLineReader {
 public:
  explicit TLineReader(std::string_view line) : line_(line) {}

  // False at the end of the line or at a comment.
  bool Next(TResValue& out, std::string& error) {
    while (pos_ < line_.size() && (line_[pos_] == ' ' || line_[pos_] == '\t' || line_[pos_] == '\r')) ++pos_;
    if (pos_ >= line_.size() || (line_[pos_] == '#' && !IsColour())) return false;
    if (line_[pos_] == '"') return ReadString(out, error);
    if (line_[pos_] == '=' || line_[pos_] == ':') {
      out = {TResValue::TKind::Word, 0, std::u16string(1, static_cast<char16_t>(line_[pos_++]))};
      return true;
    }
    const std::size_t start = pos_;
    while (pos_ < line_.size() && IsWordChar(line_[pos_])) ++pos_;
    if (pos_ == start) {
      error = "unexpected character '" + std::string(1, line_[pos_]) + "'";
      return false;
    }
    const std::string_view word = line_.substr(start, pos_ - start);
    double number = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), number);
    if (ec == std::errc() && end == word.data() + word.size()) {
      out = {TResValue::TKind::Number, number, rtl::AsciiToUtf16(word)};
    } else {
      out = {TResValue::TKind::Word, 0, rtl::AsciiToUtf16(word)};
    }
    return true;
  }

 private:
  // "#" followed by a hex digit is a colour, anything else starts a comment.
  [[nodiscard]] bool IsColour() const {
    return pos_ + 1 < line_.size() && std::isxdigit(static_cast<unsigned char>(line_[pos_ + 1]));
  }

  bool ReadString(TResValue& out, std::string& error) {
    std::string utf8;
    std::u16string text;
    ++pos_;
    while (pos_ < line_.size() && line_[pos_] != '"') {
      char c = line_[pos_++];
      if (c != '\\') {
        utf8 += c;
        continue;
      }
      if (pos_ >= line_.size()) break;
      c = line_[pos_++];
      if (c == 'n') {
        utf8 += '\n';
      } else if (c == '"' || c == '\\') {
        utf8 += c;
      } else if (c == 'u' && pos_ + 4 <= line_.size()) {
        unsigned code = 0;
        const auto [end, ec] = std::from_chars(line_.data() + pos_, line_.data() + pos_ + 4, code, 16);
        if (ec != std::errc() || end != line_.data() + pos_ + 4) {
          error = "bad \\u escape";
          return false;
        }
        text += rtl::Utf8ToUtf16(utf8);
        utf8.clear();
        text += static_cast<char16_t>(code);
        pos_ += 4;
      } else {
        error = "bad escape \\" + std::string(1, c);
        return false;
      }
    }
    if (pos_ >= line_.size()) {
      error = "unterminated string";
      return false;
    }
    ++pos_;
    text += rtl::Utf8ToUtf16(utf8);
    out = {TResValue::TKind::String, 0, std::move(text)};
    return true;
  }

  std::string_view line_;
  std::size_t pos_ = 0;
};

[[nodiscard]] bool IsWord(const TResValue& v, std::u16string_view word) {
  return v.Kind == TResValue::TKind::Word && v.Text == word;
}

class TParser {
 public:
  TResParseResult Run(std::string_view text) {
    std::vector<TResObject> stack;
    std::optional<TResObject> root;
    int lineNo = 0;
    while (!text.empty()) {
      const std::size_t eol = text.find('\n');
      const std::string_view line = text.substr(0, eol);
      text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
      ++lineNo;
      std::vector<TResValue> tokens;
      if (!Tokenise(line, tokens)) return Fail(lineNo, error_);
      if (tokens.empty()) continue;
      if (IsWord(tokens[0], u"object")) {
        if (root) return Fail(lineNo, "a second top-level object");
        if (tokens.size() != 4 || tokens[1].Kind != TResValue::TKind::Word || !IsWord(tokens[2], u":") ||
            tokens[3].Kind != TResValue::TKind::Word) {
          return Fail(lineNo, "expected: object <name>: <class>");
        }
        TResObject object;
        object.Name = tokens[1].Text;
        object.ClassName = rtl::Utf16ToUtf8(tokens[3].Text);
        object.Line = lineNo;
        stack.push_back(std::move(object));
      } else if (IsWord(tokens[0], u"end") && tokens.size() == 1) {
        if (stack.empty()) return Fail(lineNo, "'end' without 'object'");
        TResObject done = std::move(stack.back());
        stack.pop_back();
        if (stack.empty()) {
          root = std::move(done);
        } else {
          stack.back().Children.push_back(std::move(done));
        }
      } else {
        if (stack.empty()) return Fail(lineNo, "a property outside any object");
        if (tokens.size() < 3 || tokens[0].Kind != TResValue::TKind::Word || !IsWord(tokens[1], u"=")) {
          return Fail(lineNo, "expected: <property> = <values>");
        }
        TResProperty property{rtl::Utf16ToUtf8(tokens[0].Text), {tokens.begin() + 2, tokens.end()}, lineNo};
        stack.back().Properties.push_back(std::move(property));
      }
    }
    if (!stack.empty()) return Fail(stack.back().Line, "object without 'end'");
    if (!root) return Fail(lineNo, "no object");
    TResParseResult result;
    result.Root = std::move(root);
    return result;
  }

 private:
  bool Tokenise(std::string_view line, std::vector<TResValue>& tokens) {
    TLineReader reader(line);
    TResValue value;
    error_.clear();
    while (reader.Next(value, error_)) tokens.push_back(value);
    return error_.empty();
  }

  static TResParseResult Fail(int line, const std::string& message) {
    TResParseResult result;
    result.Error = "line " + std::to_string(line) + ": " + message;
    return result;
  }

  std::string error_;
};

}  // namespace

TResParseResult ParseFormResource(std::string_view iText) { return TParser().Run(iText); }

}  // namespace ui
