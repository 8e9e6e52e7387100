#include "keystring/keystring.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace osk {
namespace {

using Kind = KeyEvent::Kind;
using Events = std::vector<KeyEvent>;

KeyEvent down(std::uint8_t code) { return {Kind::KeyDown, code, 0}; }
KeyEvent up(std::uint8_t code) { return {Kind::KeyUp, code, 0}; }
KeyEvent chr(char32_t ch) { return {Kind::Char, 0, ch}; }

Events press(std::uint8_t code, int times = 1) {
  Events out;
  for (int i = 0; i < times; ++i) {
    out.push_back(down(code));
    out.push_back(up(code));
  }
  return out;
}

Events chars(char32_t ch, int times) { return Events(static_cast<std::size_t>(times), chr(ch)); }

Events cat(std::initializer_list<Events> parts) {
  Events out;
  for (const Events& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

std::string repeatText(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

std::string describe(const Events& events) {
  std::string out;
  for (const KeyEvent& e : events) {
    switch (e.kind) {
      case Kind::KeyDown:
        out += "D" + std::to_string(e.vk) + " ";
        break;
      case Kind::KeyUp:
        out += "U" + std::to_string(e.vk) + " ";
        break;
      case Kind::Char:
        out += "C" + std::to_string(static_cast<unsigned>(e.ch)) + " ";
        break;
    }
  }
  return out;
}

struct Accepted {
  std::string text;
  Events events;
};

void expectAccepted(const std::vector<Accepted>& cases) {
  for (const Accepted& c : cases) {
    SCOPED_TRACE("key string: " + c.text);
    const ParseResult r = parseKeyString(c.text);
    ASSERT_TRUE(r.plan.has_value()) << r.error;
    EXPECT_TRUE(r.error.empty());
    EXPECT_EQ(r.plan->source, c.text);
    EXPECT_EQ(describe(r.plan->events), describe(c.events));
  }
}

TEST(KeyString, CharactersAndEnter) {
  expectAccepted({
      {"", {}},
      {"a", {chr('a')}},
      {"aB3", {chr('a'), chr('B'), chr('3')}},
      {" ", {chr(' ')}},
      {"[]", {chr('['), chr(']')}},
      {"a\tb", {chr('a'), chr('\t'), chr('b')}},
      {"£", {chr(0xA3)}},
      {"€", {chr(0x20AC)}},
      {"\xF0\x9F\x98\x80", {chr(0x1F600)}},
      {"\xF4\x8F\xBF\xBF", {chr(0x10FFFF)}},
      {"é£x", {chr(0xE9), chr(0xA3), chr('x')}},
      {"~", press(vk::kReturn)},
      {"a~b", cat({{chr('a')}, press(vk::kReturn), {chr('b')}})},
  });
}

TEST(KeyString, Prefixes) {
  expectAccepted({
      {"+a", {down(vk::kShift), chr('a'), up(vk::kShift)}},
      {"^c", {down(vk::kControl), chr('c'), up(vk::kControl)}},
      {"%a", {down(vk::kMenu), chr('a'), up(vk::kMenu)}},
      {"+2", {down(vk::kShift), chr('2'), up(vk::kShift)}},
      {"^{c}", {down(vk::kControl), chr('c'), up(vk::kControl)}},
      {"+ab", {down(vk::kShift), chr('a'), up(vk::kShift), chr('b')}},
      {"+~", cat({{down(vk::kShift)}, press(vk::kReturn), {up(vk::kShift)}})},
      {"%{PRTSC}", cat({{down(vk::kMenu)}, press(vk::kSnapshot), {up(vk::kMenu)}})},
      {"^%{a}", {down(vk::kControl), down(vk::kMenu), chr('a'), up(vk::kMenu), up(vk::kControl)}},
      {"^%+{F1}", cat({{down(vk::kControl), down(vk::kMenu), down(vk::kShift)},
                       press(vk::kF1),
                       {up(vk::kShift), up(vk::kMenu), up(vk::kControl)}})},
      // Pressed in the order written, released in reverse.
      {"+%a", {down(vk::kShift), down(vk::kMenu), chr('a'), up(vk::kMenu), up(vk::kShift)}},
      {"+{LEFT 3}", cat({{down(vk::kShift)}, press(vk::kLeft, 3), {up(vk::kShift)}})},
      {"+£", {down(vk::kShift), chr(0xA3), up(vk::kShift)}},
  });
}

TEST(KeyString, Groups) {
  expectAccepted({
      {"(ab)", {chr('a'), chr('b')}},
      {"+(abc)", {down(vk::kShift), chr('a'), chr('b'), chr('c'), up(vk::kShift)}},
      {"+(ab)c", {down(vk::kShift), chr('a'), chr('b'), up(vk::kShift), chr('c')}},
      {"+(a^b)",
       {down(vk::kShift), chr('a'), down(vk::kControl), chr('b'), up(vk::kControl), up(vk::kShift)}},
      {"^(a(b)c)", {down(vk::kControl), chr('a'), chr('b'), chr('c'), up(vk::kControl)}},
      {"%(+(x))", {down(vk::kMenu), down(vk::kShift), chr('x'), up(vk::kShift), up(vk::kMenu)}},
      {"+({LEFT}{DOWN 2})",
       cat({{down(vk::kShift)}, press(vk::kLeft), press(vk::kDown, 2), {up(vk::kShift)}})},
      {"+(~)", cat({{down(vk::kShift)}, press(vk::kReturn), {up(vk::kShift)}})},
      {repeatText("(", 32) + "a" + repeatText(")", 32), {chr('a')}},
  });
}

TEST(KeyString, NamedKeysAndAliasesInAnyCase) {
  const std::vector<std::pair<std::string, std::uint8_t>> names{
      {"BACKSPACE", vk::kBack},    {"BS", vk::kBack},           {"BKSP", vk::kBack},
      {"BREAK", vk::kCancel},      {"CAPSLOCK", vk::kCapital},  {"DELETE", vk::kDelete},
      {"DEL", vk::kDelete},        {"DOWN", vk::kDown},         {"END", vk::kEnd},
      {"ENTER", vk::kReturn},      {"ESC", vk::kEscape},        {"HELP", vk::kHelp},
      {"HOME", vk::kHome},         {"INSERT", vk::kInsert},     {"INS", vk::kInsert},
      {"LEFT", vk::kLeft},         {"NUMLOCK", vk::kNumLock},   {"PGDN", vk::kNext},
      {"PGUP", vk::kPrior},        {"PRTSC", vk::kSnapshot},    {"RIGHT", vk::kRight},
      {"SCROLLLOCK", vk::kScroll}, {"TAB", vk::kTab},           {"UP", vk::kUp},
      {"ADD", vk::kAdd},           {"SUBTRACT", vk::kSubtract}, {"MULTIPLY", vk::kMultiply},
      {"DIVIDE", vk::kDivide},
  };
  std::vector<Accepted> cases;
  for (const auto& [name, code] : names) {
    std::string lower = name;
    for (char& c : lower) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    std::string mixed = lower;
    mixed[0] = name[0];
    for (const std::string& spelt : {name, lower, mixed}) {
      cases.push_back({"{" + spelt + "}", press(code)});
    }
  }
  for (int n = 1; n <= 16; ++n) {
    const auto code = static_cast<std::uint8_t>(vk::kF1 + n - 1);
    cases.push_back({"{F" + std::to_string(n) + "}", press(code)});
    cases.push_back({"{f" + std::to_string(n) + "}", press(code)});
  }
  expectAccepted(cases);
}

TEST(KeyString, BracedLiterals) {
  expectAccepted({
      {"{+}", {chr('+')}},
      {"{^}", {chr('^')}},
      {"{%}", {chr('%')}},
      {"{~}", {chr('~')}},
      {"{(}", {chr('(')}},
      {"{)}", {chr(')')}},
      {"{{}", {chr('{')}},
      {"{}}", {chr('}')}},
      {"{[}", {chr('[')}},
      {"{]}", {chr(']')}},
      {"{a}", {chr('a')}},
      {"{A}", {chr('A')}},
      {"{ }", {chr(' ')}},
      {"{£}", {chr(0xA3)}},
      {"{\xF0\x9F\x98\x80}", {chr(0x1F600)}},
      {"x{}}y", {chr('x'), chr('}'), chr('y')}},
      {"{{}{}}", {chr('{'), chr('}')}},
  });
}

TEST(KeyString, RepeatCounts) {
  expectAccepted({
      {"{LEFT 3}", press(vk::kLeft, 3)},
      {"{left 1}", press(vk::kLeft, 1)},
      {"{h 10}", chars('h', 10)},
      {"{x 007}", chars('x', 7)},
      {"{} 2}", chars('}', 2)},
      {"{{ 2}", chars('{', 2)},
      {"{~ 2}", chars('~', 2)},
      {"{  3}", chars(' ', 3)},
      {"{£ 2}", chars(0xA3, 2)},
      {"{F12 2}", press(static_cast<std::uint8_t>(vk::kF1 + 11), 2)},
      {"{a " + std::to_string(kMaxRepeat) + "}", chars('a', static_cast<int>(kMaxRepeat))},
      // Exactly at the plan limit.
      {repeatText("{LEFT " + std::to_string(kMaxRepeat) + "}",
                  static_cast<int>(kMaxPlanEvents / (2 * kMaxRepeat))),
       press(vk::kLeft, static_cast<int>(kMaxPlanEvents / 2))},
  });
}

struct Rejected {
  std::string text;
  std::string reason;  // a part of the message that names the fault
};

TEST(KeyString, RejectsMalformedStringsWhole) {
  const std::string over = std::to_string(kMaxRepeat + 1);
  const std::string tooMany =
      repeatText("{a " + std::to_string(kMaxRepeat) + "}", static_cast<int>(kMaxPlanEvents / kMaxRepeat)) +
      "b";
  const std::vector<Rejected> cases{
      // Braces
      {"{", "'{' without a matching '}'"},
      {"{abc", "'{' without a matching '}'"},
      {"a{LEFT", "'{' without a matching '}'"},
      {"}", "'}' without a matching '{'"},
      {"a}", "'}' without a matching '{'"},
      {"+}", "'}' without a matching '{'"},
      {"{}", "empty braces"},
      {"{}abc", "empty braces"},
      // Parentheses
      {"(", "'(' without a matching ')'"},
      {"+(ab", "'(' without a matching ')'"},
      {"((a)", "'(' without a matching ')'"},
      {")", "')' without a matching '('"},
      {"a)", "')' without a matching '('"},
      {"(a))", "')' without a matching '('"},
      {"()", "empty parentheses"},
      {"+()", "empty parentheses"},
      {repeatText("(", 33) + "a" + repeatText(")", 33), "nested deeper"},
      // Unknown names
      {"{FOO}", "unknown key name 'FOO'"},
      {"{ENTERX}", "unknown key name"},
      {"{LEFT3}", "unknown key name"},
      {"{F0}", "unknown key name"},
      {"{F17}", "unknown key name"},
      {"{F01}", "unknown key name"},
      {"{F1X}", "unknown key name"},
      {"{ab}", "unknown key name"},
      {"{ 3}", "unknown key name"},
      {"{}a}", "unknown key name"},
      {"{LEFT 3 4}", "unknown key name 'LEFT 3'"},
      // Repeat counts
      {"{LEFT }", "missing repeat count"},
      {"{LEFT x}", "not a number"},
      {"{LEFT -1}", "not a number"},
      {"{LEFT +3}", "not a number"},
      {"{a 3.5}", "not a number"},
      {"{LEFT 0}", "outside 1.."},
      {"{LEFT " + over + "}", "outside 1.."},
      {"{a 99999999999999999999999999}", "outside 1.."},
      {tooMany, "more than"},
      // Prefixes
      {"+", "has no key after it"},
      {"^", "has no key after it"},
      {"%", "has no key after it"},
      {"^%+", "prefix '^%+' has no key after it"},
      {"a+", "has no key after it"},
      {"(+)", "has no key after it"},
      {"(a^)", "has no key after it"},
      {"++a", "given twice"},
      {"+^+a", "given twice"},
      {"+(+a)", "Shift is already held"},
      {"^(b%(^c))", "Ctrl is already held"},
      // Encoding
      {"\xFF", "invalid UTF-8"},
      {"\x80", "invalid UTF-8"},
      {"\xC3", "invalid UTF-8"},
      {"\xC3\x28", "invalid UTF-8"},
      {"\xC0\xAF", "invalid UTF-8"},
      {"\xE0\x80\xAF", "invalid UTF-8"},
      {"\xF0\x80\x80\x80", "invalid UTF-8"},
      {"\xED\xA0\x80", "invalid UTF-8"},
      {"\xF4\x90\x80\x80", "invalid UTF-8"},
      {"\xF8\x88\x80\x80\x80", "invalid UTF-8"},
      {"abc\xFF", "invalid UTF-8 at offset 3"},
      {"{\xFF}", "invalid UTF-8"},
      {std::string("a\0b", 3), "NUL"},
  };
  for (const Rejected& c : cases) {
    SCOPED_TRACE("key string: " + c.text);
    const ParseResult r = parseKeyString(c.text);
    EXPECT_FALSE(r.plan.has_value());
    EXPECT_FALSE(static_cast<bool>(r));
    EXPECT_NE(r.error.find(c.reason), std::string::npos) << "error was: " << r.error;
    EXPECT_NE(r.error.find("at offset"), std::string::npos) << "error was: " << r.error;
  }
}

TEST(KeyString, ErrorPointsAtTheFault) {
  const std::vector<std::pair<std::string, std::size_t>> cases{
      {"ab{FOO}", 2}, {"abc)", 3}, {"x(y", 1}, {"ab+", 2}, {"{LEFT q}", 6}, {"\xC3\xA9\xFF", 2},
  };
  for (const auto& [text, offset] : cases) {
    SCOPED_TRACE("key string: " + text);
    const ParseResult r = parseKeyString(text);
    ASSERT_FALSE(r.plan.has_value());
    EXPECT_NE(r.error.find("at offset " + std::to_string(offset)), std::string::npos) << r.error;
  }
}

}  // namespace
}  // namespace osk
