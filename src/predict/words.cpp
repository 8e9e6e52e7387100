#include "predict/words.h"

namespace osk::predict {

namespace {

constexpr char32_t kApostrophe = U'\'';
constexpr char32_t kRightQuote = U'\u2019';  // the typographic apostrophe

// Latin-1 letters with a case pair inside Latin-1: U+00C0..U+00DE and
// U+00E0..U+00FE, less the multiplication and division signs.
bool isLatin1Upper(char32_t ch) { return ch >= 0xC0 && ch <= 0xDE && ch != 0xD7; }
bool isLatin1Lower(char32_t ch) { return ch >= 0xE0 && ch <= 0xFE && ch != 0xF7; }

char32_t toLower(char32_t ch) {
  if (ch >= U'A' && ch <= U'Z') return ch - U'A' + U'a';
  if (isLatin1Upper(ch)) return ch + 0x20;
  return ch;
}

char32_t toUpper(char32_t ch) {
  if (ch >= U'a' && ch <= U'z') return ch - U'a' + U'A';
  if (isLatin1Lower(ch)) return ch - 0x20;
  return ch;
}

bool isUpper(char32_t ch) { return (ch >= U'A' && ch <= U'Z') || isLatin1Upper(ch); }
bool isLower(char32_t ch) {
  return (ch >= U'a' && ch <= U'z') || isLatin1Lower(ch) || ch == 0xDF || ch == 0xFF;
}

template <typename Map>
std::string mapped(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t ch = 0;
    const std::size_t len = decodeUtf8(text, i, ch);
    if (len == 0) {  // not ours to mend: passed through as it is
      out += text[i++];
      continue;
    }
    appendUtf8(out, map(i, ch));
    i += len;
  }
  return out;
}

}  // namespace

bool isWordCharacter(char32_t ch) {
  if (ch == kApostrophe || ch == kRightQuote) return true;
  if ((ch >= U'a' && ch <= U'z') || (ch >= U'A' && ch <= U'Z')) return true;
  if (ch >= 0xC0 && ch <= 0x24F) return ch != 0xD7 && ch != 0xF7;  // Latin-1 and Latin Extended
  if (ch >= 0x386 && ch <= 0x3FF) return ch != 0x387;              // Greek letters
  return ch >= 0x400 && ch <= 0x4FF;                               // Cyrillic
}

void appendUtf8(std::string& out, char32_t ch) {
  if (ch < 0x80) {
    out += static_cast<char>(ch);
  } else if (ch < 0x800) {
    out += static_cast<char>(0xC0 | (ch >> 6));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else if (ch < 0x10000) {
    out += static_cast<char>(0xE0 | (ch >> 12));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (ch >> 18));
    out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  }
}

bool isWord(std::string_view text) {
  if (text.empty() || text.size() > kMaxWordBytes) return false;
  for (std::size_t i = 0; i < text.size();) {
    char32_t ch = 0;
    const std::size_t len = decodeUtf8(text, i, ch);
    if (len == 0 || !isWordCharacter(ch)) return false;
    i += len;
  }
  return true;
}

std::string fold(std::string_view text) {
  return mapped(text, [](std::size_t, char32_t ch) { return ch == kRightQuote ? kApostrophe : toLower(ch); });
}

std::string upper(std::string_view text) {
  return mapped(text, [](std::size_t, char32_t ch) { return toUpper(ch); });
}

std::string capitalised(std::string_view text) {
  return mapped(text, [](std::size_t at, char32_t ch) { return at == 0 ? toUpper(ch) : ch; });
}

bool startsWithCapital(std::string_view text) {
  char32_t ch = 0;
  return !text.empty() && decodeUtf8(text, 0, ch) != 0 && isUpper(ch);
}

bool allCapitals(std::string_view text) {
  int letters = 0;
  for (std::size_t i = 0; i < text.size();) {
    char32_t ch = 0;
    const std::size_t len = decodeUtf8(text, i, ch);
    if (len == 0) return false;
    if (isLower(ch)) return false;
    if (isUpper(ch)) ++letters;
    i += len;
  }
  return letters >= 2;
}

}  // namespace osk::predict
