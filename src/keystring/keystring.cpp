#include "keystring/keystring.h"

#include <array>
#include <cstddef>

#include "keystring/utf8.h"

namespace osk {

namespace {

struct NamedKey {
  std::string_view name;  // upper case; lookups fold the input
  std::uint8_t vk;
};

// The key names of the Windows Script Host notation, aliases included.
constexpr std::array kNamedKeys{
    NamedKey{"BACKSPACE", vk::kBack},    NamedKey{"BS", vk::kBack},
    NamedKey{"BKSP", vk::kBack},         NamedKey{"BREAK", vk::kCancel},
    NamedKey{"CAPSLOCK", vk::kCapital},  NamedKey{"DELETE", vk::kDelete},
    NamedKey{"DEL", vk::kDelete},        NamedKey{"DOWN", vk::kDown},
    NamedKey{"END", vk::kEnd},           NamedKey{"ENTER", vk::kReturn},
    NamedKey{"ESC", vk::kEscape},        NamedKey{"HELP", vk::kHelp},
    NamedKey{"HOME", vk::kHome},         NamedKey{"INSERT", vk::kInsert},
    NamedKey{"INS", vk::kInsert},        NamedKey{"LEFT", vk::kLeft},
    NamedKey{"NUMLOCK", vk::kNumLock},   NamedKey{"PGDN", vk::kNext},
    NamedKey{"PGUP", vk::kPrior},        NamedKey{"PRTSC", vk::kSnapshot},
    NamedKey{"RIGHT", vk::kRight},       NamedKey{"SCROLLLOCK", vk::kScroll},
    NamedKey{"TAB", vk::kTab},           NamedKey{"UP", vk::kUp},
    NamedKey{"ADD", vk::kAdd},           NamedKey{"SUBTRACT", vk::kSubtract},
    NamedKey{"MULTIPLY", vk::kMultiply}, NamedKey{"DIVIDE", vk::kDivide},
};

constexpr unsigned kFunctionKeys = 16;

// Groups can nest in the notation; the bound keeps recursion shallow for
// hostile input while being far deeper than any real key string.
constexpr int kMaxGroupDepth = 32;

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool equalsFolded(std::string_view text, std::string_view upper) {
  if (text.size() != upper.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (upperAscii(text[i]) != upper[i]) return false;
  }
  return true;
}

std::optional<std::uint8_t> lookupName(std::string_view name) {
  for (const NamedKey& key : kNamedKeys) {
    if (equalsFolded(name, key.name)) return key.vk;
  }
  // F1..F16, written without leading zeros.
  if (name.size() >= 2 && name.size() <= 3 && upperAscii(name[0]) == 'F' && name[1] >= '1' &&
      name[1] <= '9') {
    auto n = static_cast<unsigned>(name[1] - '0');
    if (name.size() == 3) {
      if (name[2] < '0' || name[2] > '9') return std::nullopt;
      n = n * 10 + static_cast<unsigned>(name[2] - '0');
    }
    if (n >= 1 && n <= kFunctionKeys) return static_cast<std::uint8_t>(vk::kF1 + n - 1);
  }
  return std::nullopt;
}

enum Modifier : unsigned { kShiftBit = 1, kCtrlBit = 2, kAltBit = 4 };

struct Prefix {
  char sign;
  Modifier bit;
  std::uint8_t vk;
  std::string_view name;
};

constexpr std::array kPrefixes{
    Prefix{'+', kShiftBit, vk::kShift, "Shift"},
    Prefix{'^', kCtrlBit, vk::kControl, "Ctrl"},
    Prefix{'%', kAltBit, vk::kMenu, "Alt"},
};

const Prefix* prefixFor(char c) {
  for (const Prefix& p : kPrefixes) {
    if (p.sign == c) return &p;
  }
  return nullptr;
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  ParseResult run() {
    ParseResult result;
    if (validate() && sequence(0, 0) && (pos_ == text_.size() || fail("')' without a matching '('"))) {
      result.plan = KeyPlan{std::string(text_), std::move(events_)};
    } else {
      result.error = std::move(error_);
    }
    return result;
  }

 private:
  bool fail(std::string what) { return failAt(pos_, std::move(what)); }
  bool failAt(std::size_t at, std::string what) {
    error_ = std::move(what) + " at offset " + std::to_string(at);
    return false;
  }

  bool validate() {
    for (std::size_t i = 0; i < text_.size();) {
      char32_t cp = 0;
      const std::size_t len = decodeUtf8(text_, i, cp);
      if (len == 0) return failAt(i, "invalid UTF-8");
      if (cp == 0) return failAt(i, "NUL character");
      i += len;
    }
    return true;
  }

  bool emit(KeyEvent e) {
    if (events_.size() >= kMaxPlanEvents) {
      return fail("key string expands to more than " + std::to_string(kMaxPlanEvents) + " key events");
    }
    events_.push_back(e);
    return true;
  }
  bool press(std::uint8_t code) {
    return emit({KeyEvent::Kind::KeyDown, code, 0}) && emit({KeyEvent::Kind::KeyUp, code, 0});
  }

  // Items up to the end of the text or the ')' that closes the enclosing
  // group, which is left for the caller to consume.
  bool sequence(unsigned held, int depth) {
    while (pos_ < text_.size() && text_[pos_] != ')') {
      if (!item(held, depth)) return false;
    }
    return true;
  }

  bool item(unsigned held, int depth) {
    const std::size_t start = pos_;
    unsigned mine = 0;
    std::array<const Prefix*, kPrefixes.size()> order{};
    std::size_t count = 0;
    while (pos_ < text_.size()) {
      const Prefix* p = prefixFor(text_[pos_]);
      if (p == nullptr) break;
      if ((mine & p->bit) != 0)
        return fail(std::string("'").append(1, p->sign).append("' given twice for one key"));
      if ((held & p->bit) != 0) {
        return fail(std::string(p->name) + " is already held by an enclosing prefix");
      }
      mine |= p->bit;
      order[count++] = p;
      ++pos_;
    }
    if (count > 0 && (pos_ == text_.size() || text_[pos_] == ')')) {
      return failAt(start,
                    "prefix '" + std::string(text_.substr(start, pos_ - start)) + "' has no key after it");
    }
    for (std::size_t i = 0; i < count; ++i) {
      if (!emit({KeyEvent::Kind::KeyDown, order[i]->vk, 0})) return false;
    }
    if (!operand(held | mine, depth)) return false;
    for (std::size_t i = count; i-- > 0;) {
      if (!emit({KeyEvent::Kind::KeyUp, order[i]->vk, 0})) return false;
    }
    return true;
  }

  bool operand(unsigned held, int depth) {
    const char c = text_[pos_];
    switch (c) {
      case '(':
        return group(held, depth);
      case '{':
        return braced();
      case '}':
        return fail("'}' without a matching '{'");
      case '~':
        ++pos_;
        return press(vk::kReturn);
      default:
        break;
    }
    char32_t cp = 0;
    pos_ += decodeUtf8(text_, pos_, cp);
    return emit({KeyEvent::Kind::Char, 0, cp});
  }

  bool group(unsigned held, int depth) {
    const std::size_t open = pos_++;
    if (depth + 1 > kMaxGroupDepth) {
      return failAt(open, "parentheses nested deeper than " + std::to_string(kMaxGroupDepth));
    }
    if (pos_ < text_.size() && text_[pos_] == ')') return failAt(open, "empty parentheses");
    if (!sequence(held, depth + 1)) return false;
    if (pos_ == text_.size()) return failAt(open, "'(' without a matching ')'");
    ++pos_;  // ')'
    return true;
  }

  // The count after the last space of a braced body; `at` is where it
  // starts in the whole text, for the message.
  bool repeatCount(std::string_view body, std::size_t space, std::size_t at, unsigned& repeat) {
    const std::string_view digits = body.substr(space + 1);
    if (digits.empty()) return failAt(at, "missing repeat count in {" + std::string(body) + "}");
    unsigned long long n = 0;
    for (char d : digits) {
      if (d < '0' || d > '9') return failAt(at, "repeat count '" + std::string(digits) + "' is not a number");
      n = n * 10 + static_cast<unsigned>(d - '0');
      if (n > kMaxRepeat) break;
    }
    if (n < 1 || n > kMaxRepeat) {
      return failAt(at,
                    "repeat count '" + std::string(digits) + "' is outside 1.." + std::to_string(kMaxRepeat));
    }
    repeat = static_cast<unsigned>(n);
    return true;
  }

  // "{NAME}", "{NAME n}", "{c}", "{c n}". The first character after the
  // brace always belongs to the name, which is how "{}}" means '}'.
  bool braced() {
    const std::size_t open = pos_;
    const std::size_t first = open + 1;
    if (first == text_.size()) return failAt(open, "'{' without a matching '}'");
    char32_t firstCp = 0;
    const std::size_t firstLen = decodeUtf8(text_, first, firstCp);
    const std::size_t close = text_.find('}', first + firstLen);
    if (close == std::string_view::npos) {
      if (firstCp == '}') return failAt(open, "empty braces");
      return failAt(open, "'{' without a matching '}'");
    }
    const std::string_view body = text_.substr(first, close - first);
    std::string_view name = body;
    unsigned repeat = 1;
    const std::size_t space = body.rfind(' ');
    if (space != std::string_view::npos && space >= firstLen) {
      name = body.substr(0, space);
      if (!repeatCount(body, space, first + space + 1, repeat)) return false;
    }

    KeyEvent down{};
    bool named = false;
    if (name.size() == firstLen) {
      down = {KeyEvent::Kind::Char, 0, firstCp};
    } else if (auto code = lookupName(name)) {
      down = {KeyEvent::Kind::KeyDown, *code, 0};
      named = true;
    } else {
      return failAt(open, "unknown key name '" + std::string(name) + "'");
    }
    const std::size_t perRepeat = named ? 2 : 1;
    if (events_.size() + perRepeat * repeat > kMaxPlanEvents) {
      return failAt(open,
                    "key string expands to more than " + std::to_string(kMaxPlanEvents) + " key events");
    }
    pos_ = close + 1;
    for (unsigned i = 0; i < repeat; ++i) {
      if (named) {
        press(down.vk);
      } else {
        events_.push_back(down);
      }
    }
    return true;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::vector<KeyEvent> events_;
  std::string error_;
};

}  // namespace

ParseResult parseKeyString(std::string_view utf8) { return Parser(utf8).run(); }

}  // namespace osk
