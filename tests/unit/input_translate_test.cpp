#include "keystring/input_translate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace osk {
namespace {

using Raw = std::vector<RawKey>;

// VK_OEM_ codes of a UK keyboard.
constexpr std::uint8_t kOem1 = 0xBA;       // ; :
constexpr std::uint8_t kOemPlus = 0xBB;    // = +
constexpr std::uint8_t kOemComma = 0xBC;   // , <
constexpr std::uint8_t kOemMinus = 0xBD;   // - _
constexpr std::uint8_t kOemPeriod = 0xBE;  // . >
constexpr std::uint8_t kOem2 = 0xBF;       // / ?
constexpr std::uint8_t kOem3 = 0xC0;       // ' @
constexpr std::uint8_t kOem4 = 0xDB;       // [ {
constexpr std::uint8_t kOem5 = 0xDC;       // \ |
constexpr std::uint8_t kOem6 = 0xDD;       // ] }
constexpr std::uint8_t kOem7 = 0xDE;       // # ~
constexpr std::uint8_t kOem8 = 0xDF;       // ` ¬

// What VkKeyScanW answers under the UK layout, for the characters the
// tests type.
class UkLayout final : public KeyboardLayout {
 public:
  bool caps = false;
  std::vector<std::uint8_t> held;

  UkLayout() {
    for (char32_t c = 'a'; c <= 'z'; ++c) add(c, static_cast<std::uint8_t>(c - 'a' + 'A'));
    for (char32_t c = 'A'; c <= 'Z'; ++c) add(c, static_cast<std::uint8_t>(c), kShift);
    for (char32_t c = '0'; c <= '9'; ++c) add(c, static_cast<std::uint8_t>(c));
    const char32_t* shiftedDigits = U")!\"£$%^&*(";
    for (int d = 0; d <= 9; ++d) add(shiftedDigits[d], static_cast<std::uint8_t>('0' + d), kShift);
    const std::vector<std::tuple<char32_t, char32_t, std::uint8_t>> pairs{
        {';', ':', kOem1},      {'=', '+', kOemPlus}, {',', '<', kOemComma}, {'-', '_', kOemMinus},
        {'.', '>', kOemPeriod}, {'/', '?', kOem2},    {'\'', '@', kOem3},    {'[', '{', kOem4},
        {'\\', '|', kOem5},     {']', '}', kOem6},    {'#', '~', kOem7},     {'`', 0xAC, kOem8},
    };
    for (auto [plain, shifted, code] : pairs) {
      add(plain, code);
      add(shifted, code, kShift);
    }
    add(' ', 0x20);
    add('\t', vk::kTab);
    add('\r', vk::kReturn);
    add('\b', vk::kBack);
    add('\n', vk::kReturn, kCtrl);
    // AltGr (Ctrl+Alt) characters.
    add(0x20AC, '4', kCtrl | kAlt);
    add(0xA6, kOem8, kCtrl | kAlt);
    add(0xE9, 'E', kCtrl | kAlt);
  }

  std::optional<LayoutKey> keyFor(char32_t ch) const override {
    auto it = keys_.find(ch);
    if (it == keys_.end()) return std::nullopt;
    return it->second;
  }
  std::uint16_t scanCode(std::uint8_t code) const override { return fakeScan(code); }
  bool capsLockOn() const override { return caps; }
  std::vector<std::uint8_t> heldModifiers() const override { return held; }

  // Any fixed answer will do: the tests check that it is the one passed on.
  static std::uint16_t fakeScan(std::uint8_t code) {
    return static_cast<std::uint16_t>((code * 37 + 11) & 0x7F);
  }

 private:
  static constexpr unsigned kShift = 1, kCtrl = 2, kAlt = 4;
  void add(char32_t ch, std::uint8_t code, unsigned state = 0) {
    keys_[ch] = LayoutKey{code, (state & kShift) != 0, (state & kCtrl) != 0, (state & kAlt) != 0, false};
  }
  std::map<char32_t, LayoutKey> keys_;
};

RawKey keyDown(std::uint8_t code) {
  return {code, UkLayout::fakeScan(code), isExtendedKey(code) ? rawflag::kExtendedKey : 0u};
}
RawKey keyUp(std::uint8_t code) {
  RawKey r = keyDown(code);
  r.flags |= rawflag::kKeyUp;
  return r;
}
Raw tap(std::uint8_t code) { return {keyDown(code), keyUp(code)}; }
Raw shifted(std::uint8_t code) {
  return {keyDown(vk::kShift), keyDown(code), keyUp(code), keyUp(vk::kShift)};
}
Raw unit(std::uint16_t u) { return {{0, u, rawflag::kUnicode}, {0, u, rawflag::kUnicode | rawflag::kKeyUp}}; }
Raw mask() { return {{vk::kMask, 0, 0}, {vk::kMask, 0, rawflag::kKeyUp}}; }

Raw cat(std::initializer_list<Raw> parts) {
  Raw out;
  for (const Raw& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

std::string describe(const Raw& raw) {
  std::string out;
  for (const RawKey& r : raw) {
    out += (r.flags & rawflag::kUnicode) ? "U+" + std::to_string(r.scan) : "vk" + std::to_string(r.vk);
    out += "/" + std::to_string(r.scan);
    if (r.flags & rawflag::kExtendedKey) out += "e";
    out += (r.flags & rawflag::kKeyUp) ? "^ " : "v ";
  }
  return out;
}

Raw translate(const std::string& keys, const UkLayout& layout) {
  const ParseResult parsed = parseKeyString(keys);
  EXPECT_TRUE(parsed.plan.has_value()) << keys << ": " << parsed.error;
  if (!parsed.plan) return {};
  return translatePlan(*parsed.plan, layout);
}

struct Case {
  std::string keys;
  bool caps;
  std::vector<std::uint8_t> held;
  Raw expected;
};

void expectTranslations(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE("key string: " + c.keys + (c.caps ? " (Caps Lock on)" : "") +
                 " held modifiers: " + std::to_string(c.held.size()));
    UkLayout layout;
    layout.caps = c.caps;
    layout.held = c.held;
    EXPECT_EQ(describe(translate(c.keys, layout)), describe(c.expected));
  }
}

TEST(InputTranslate, NamedKeysCarryScanCodeAndExtendedFlag) {
  // Formatting would give each field of a long case a line of its own.
  // clang-format off
  expectTranslations({
      {"", false, {}, {}},
      {"{LEFT}", false, {}, tap(vk::kLeft)},
      {"+{LEFT}", false, {}, shifted(vk::kLeft)},
      {"+{DOWN 2}", false, {},
       cat({{keyDown(vk::kShift)}, tap(vk::kDown), tap(vk::kDown), {keyUp(vk::kShift)}})},
      {"~", false, {}, tap(vk::kReturn)},
      {"^{ESC}", false, {}, cat({{keyDown(vk::kControl)}, tap(vk::kEscape), {keyUp(vk::kControl)}})},
      {"%{F4}", false, {}, cat({{keyDown(vk::kMenu)}, tap(static_cast<std::uint8_t>(vk::kF1 + 3)), {keyUp(vk::kMenu)}})},
  });
  // clang-format on
  // The flag itself, key by key: these keys have E0-prefixed scan codes.
  const std::set<std::uint8_t> extended{vk::kInsert, vk::kDelete,  vk::kHome,     vk::kEnd,    vk::kPrior,
                                        vk::kNext,   vk::kLeft,    vk::kUp,       vk::kRight,  vk::kDown,
                                        vk::kDivide, vk::kNumLock, vk::kSnapshot, vk::kCancel, vk::kRControl,
                                        vk::kRMenu,  vk::kLWin,    vk::kRWin,     vk::kApps};
  for (int code = 1; code < 0xFF; ++code) {
    const auto v = static_cast<std::uint8_t>(code);
    EXPECT_EQ(isExtendedKey(v), extended.count(v) == 1) << "vk " << code;
  }
  for (const char* name : {"INS", "DEL", "HOME", "END", "PGUP", "PGDN", "UP", "DOWN", "LEFT", "RIGHT",
                           "DIVIDE", "NUMLOCK", "PRTSC", "BREAK"}) {
    UkLayout layout;
    const Raw raw = translate(std::string("+{") + name + "}", layout);
    ASSERT_EQ(raw.size(), 4u) << name;
    EXPECT_EQ(raw[1].flags, rawflag::kExtendedKey) << name;
    EXPECT_EQ(raw[2].flags, rawflag::kExtendedKey | rawflag::kKeyUp) << name;
    EXPECT_EQ(raw[0].flags & rawflag::kExtendedKey, 0u) << "Shift is not extended";
  }
}

TEST(InputTranslate, PlainCharactersTypeAsWrittenWhateverCapsLock) {
  expectTranslations({
      {"a", false, {}, tap('A')},
      {"a", true, {}, shifted('A')},
      {"A", false, {}, shifted('A')},
      {"A", true, {}, tap('A')},
      {"aZ", true, {}, cat({shifted('A'), tap('Z')})},
      // Caps Lock leaves the number row and punctuation alone.
      {"1", true, {}, tap('1')},
      {"!", true, {}, shifted('1')},
      {"\"", false, {}, shifted('2')},
      {"£", true, {}, shifted('3')},
      {"{~}", false, {}, shifted(kOem7)},
      {"#", true, {}, tap(kOem7)},
      {"{+}", false, {}, shifted(kOemPlus)},
      {"{{}", false, {}, shifted(kOem4)},
      {"[", false, {}, tap(kOem4)},
      {"@", false, {}, shifted(kOem3)},
      {"¬", false, {}, shifted(kOem8)},
      {" ", true, {}, tap(0x20)},
      {"\t", false, {}, tap(vk::kTab)},
      // A Caps Lock toggle in the plan counts for the characters after it.
      {"{CAPSLOCK}a", false, {}, cat({tap(vk::kCapital), shifted('A')})},
      {"{CAPSLOCK}a", true, {}, cat({tap(vk::kCapital), tap('A')})},
  });
}

TEST(InputTranslate, CharactersOffTheLayoutGoAsText) {
  expectTranslations({
      {"€", false, {}, unit(0x20AC)},  // AltGr+4 would be read as Ctrl+Alt+4
      {"é", true, {}, unit(0xE9)},
      {"¦", false, {}, unit(0xA6)},
      {"\n", false, {}, unit('\n')},  // needs Ctrl on the layout
      {"ж", false, {}, unit(0x436)},
      {"ж", true, {}, unit(0x436)},
      {"\xF0\x9F\x98\x80", false, {}, cat({unit(0xD83D), unit(0xDE00)})},
      {"{\xF4\x8F\xBF\xBF}", false, {}, cat({unit(0xDBFF), unit(0xDFFF)})},
      {"a€b", false, {}, cat({tap('A'), unit(0x20AC), tap('B')})},
  });
}

TEST(InputTranslate, CharactersUnderPrefixesPressTheirKey) {
  // Formatting would give each field of a long case a line of its own.
  // clang-format off
  expectTranslations({
      {"^{c}", false, {}, cat({{keyDown(vk::kControl)}, tap('C'), {keyUp(vk::kControl)}})},
      // A chord ignores Caps Lock: Ctrl+C must not become Ctrl+Shift+C.
      {"^{c}", true, {}, cat({{keyDown(vk::kControl)}, tap('C'), {keyUp(vk::kControl)}})},
      {"^{C}", false, {},
       cat({{keyDown(vk::kControl), keyDown(vk::kShift)}, tap('C'), {keyUp(vk::kShift), keyUp(vk::kControl)}})},
      {"+2", false, {}, shifted('2')},
      {"+5", true, {}, shifted('5')},
      {"+{\"}", false, {}, shifted('2')},
      {"%{a}", false, {}, cat({{keyDown(vk::kMenu)}, tap('A'), {keyUp(vk::kMenu)}})},
      {"^%+{z}", true, {},
       cat({{keyDown(vk::kControl), keyDown(vk::kMenu), keyDown(vk::kShift)},
            tap('Z'),
            {keyUp(vk::kShift), keyUp(vk::kMenu), keyUp(vk::kControl)}})},
      {"+(ab)", false, {}, cat({{keyDown(vk::kShift)}, tap('A'), tap('B'), {keyUp(vk::kShift)}})},
      {"^{ж}", false, {}, cat({{keyDown(vk::kControl)}, unit(0x436), {keyUp(vk::kControl)}})},
      {"^{€}", false, {},
       cat({{keyDown(vk::kControl), keyDown(vk::kMenu)}, tap('4'), {keyUp(vk::kMenu), keyUp(vk::kControl)}})},
      // After the prefix ends, characters are plain again.
      {"^{c}a", true, {}, cat({{keyDown(vk::kControl)}, tap('C'), {keyUp(vk::kControl)}, shifted('A')})},
  });
  // clang-format on
}

TEST(InputTranslate, HeldModifiersAreLetGoForCharactersOnly) {
  const std::vector<std::uint8_t> lshift{vk::kLShift};
  const std::vector<std::uint8_t> altGr{vk::kLControl, vk::kRMenu};
  const std::vector<std::uint8_t> lwin{vk::kLWin};
  // Formatting would give each field of a long case a line of its own.
  // clang-format off
  expectTranslations({
      {"a", false, lshift, cat({{keyUp(vk::kLShift)}, tap('A'), {keyDown(vk::kLShift)}})},
      {"A", true, lshift, cat({{keyUp(vk::kLShift)}, tap('A'), {keyDown(vk::kLShift)}})},
      {"ab", false, lshift, cat({{keyUp(vk::kLShift)}, tap('A'), tap('B'), {keyDown(vk::kLShift)}})},
      {"€", false, lshift, cat({{keyUp(vk::kLShift)}, unit(0x20AC), {keyDown(vk::kLShift)}})},
      // A held Alt or Windows key is masked before its release, so the
      // target does not open its menu and the Start menu stays shut.
      {"a", false, altGr,
       cat({mask(), {keyUp(vk::kLControl), keyUp(vk::kRMenu)}, tap('A'), {keyDown(vk::kRMenu), keyDown(vk::kLControl)}})},
      {"x", false, lwin, cat({mask(), {keyUp(vk::kLWin)}, tap('X'), {keyDown(vk::kLWin)}})},
      // Named keys and chords go out with what the user holds.
      {"{LEFT}", false, lshift, tap(vk::kLeft)},
      {"+a", false, lshift, shifted('A')},
      {"a{TAB}b", false, lshift,
       cat({{keyUp(vk::kLShift)}, tap('A'), {keyDown(vk::kLShift)}, tap(vk::kTab), {keyUp(vk::kLShift)}, tap('B'),
            {keyDown(vk::kLShift)}})},
  });
  // clang-format on
  // The right-hand keys keep their extended flag on the way up and down.
  UkLayout layout;
  layout.held = altGr;
  const Raw raw = translate("a", layout);
  ASSERT_GE(raw.size(), 4u);
  EXPECT_EQ(raw[3],
            (RawKey{vk::kRMenu, UkLayout::fakeScan(vk::kRMenu), rawflag::kExtendedKey | rawflag::kKeyUp}));
}

// Whatever the string, the state and what is held: every key pressed is let
// go, the user's modifiers end as they were, and no lock key is touched
// unless the string names it.
TEST(InputTranslate, LeavesKeyboardStateAsItFoundIt) {
  const std::vector<std::string> strings{
      "a",         "Hello, World!", "+(abc)", "^{c}",    "%{F4}",          "^%+{z}",     "{LEFT 3}+{RIGHT 2}",
      "€ж😀",       "+{DOWN}",       "~",      "{BS 2}x", "^(a+b)c",        "\"£$%^&*",   "{CAPSLOCK}aA",
      "{NUMLOCK}", "{SCROLLLOCK}",  "\t\n",   "^{€}",    "x{ENTER}y{TAB}", "{DEL}{INS}",
  };
  const std::vector<std::vector<std::uint8_t>> helds{
      {}, {vk::kLShift}, {vk::kRShift, vk::kRControl}, {vk::kLControl, vk::kRMenu}, {vk::kLMenu, vk::kLWin}};
  const std::set<std::uint16_t> locks{vk::kCapital, vk::kNumLock, vk::kScroll};
  for (const std::string& s : strings) {
    for (bool caps : {false, true}) {
      for (const auto& held : helds) {
        SCOPED_TRACE(s + (caps ? " caps" : "") + " held " + std::to_string(held.size()));
        UkLayout layout;
        layout.caps = caps;
        layout.held = held;
        std::map<std::uint16_t, int> down;
        for (std::uint8_t m : held) down[m] = 1;
        std::set<std::uint16_t> locksTouched;
        for (const RawKey& r : translate(s, layout)) {
          const std::uint16_t id =
              (r.flags & rawflag::kUnicode) ? static_cast<std::uint16_t>(0x10000 - 1 - r.scan) : r.vk;
          if (locks.count(r.vk) != 0 && (r.flags & rawflag::kUnicode) == 0) locksTouched.insert(r.vk);
          if (r.flags & rawflag::kKeyUp) {
            EXPECT_EQ(down[id], 1) << "released a key that was not down: " << id;
            down[id] = 0;
          } else {
            EXPECT_EQ(down[id], 0) << "pressed a key that was already down: " << id;
            down[id] = 1;
          }
        }
        for (const auto& [id, isDown] : down) {
          const bool wasHeld = std::find(held.begin(), held.end(), id) != held.end();
          EXPECT_EQ(isDown, wasHeld ? 1 : 0) << "key " << id;
        }
        std::set<std::uint16_t> named;
        if (s.find("{CAPSLOCK}") != std::string::npos) named.insert(vk::kCapital);
        if (s.find("{NUMLOCK}") != std::string::npos) named.insert(vk::kNumLock);
        if (s.find("{SCROLLLOCK}") != std::string::npos) named.insert(vk::kScroll);
        EXPECT_EQ(locksTouched, named);
      }
    }
  }
}

TEST(InputTranslate, CapsLockShiftsOnlyCasedLetters) {
  const std::vector<std::pair<char32_t, bool>> cases{
      {'a', true},   {'Z', true},   {'0', false},  {'@', false},    {' ', false},     {0xE9, true},
      {0xC9, true},  {0xDF, false}, {0xD7, false}, {0xF7, false},   {0xA3, false},    {0x153, true},
      {0x3B1, true}, {0x416, true}, {0x436, true}, {0x20AC, false}, {0x1F600, false},
  };
  for (auto [ch, expected] : cases) EXPECT_EQ(capsLockShifts(ch), expected) << static_cast<unsigned>(ch);
}

}  // namespace
}  // namespace osk
