// Feeds arbitrary bytes to the key string parser and the input translation.
// Any accepted string must leave no key down; any rejected one must say why.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string_view>
#include <vector>

#include "keystring/input_translate.h"
#include "keystring/keystring.h"

namespace {

[[noreturn]] void fault(const char* what) {
  std::fprintf(stderr, "keystring_fuzz: %s\n", what);
  std::abort();
}

// A small US-like layout: enough to drive every path of the translation.
class AsciiLayout final : public osk::KeyboardLayout {
 public:
  AsciiLayout(bool caps, std::vector<std::uint8_t> held) : caps_(caps), held_(std::move(held)) {}
  std::optional<osk::LayoutKey> keyFor(char32_t ch) const override {
    if (ch >= 'a' && ch <= 'z')
      return osk::LayoutKey{static_cast<std::uint8_t>(ch - 'a' + 'A'), false, false, false, false};
    if (ch >= 'A' && ch <= 'Z')
      return osk::LayoutKey{static_cast<std::uint8_t>(ch), true, false, false, false};
    if (ch >= '0' && ch <= '9')
      return osk::LayoutKey{static_cast<std::uint8_t>(ch), false, false, false, false};
    if (ch == 0x20AC) return osk::LayoutKey{'5', false, true, true, false};
    if (ch >= 0x21 && ch <= 0x7E)
      return osk::LayoutKey{static_cast<std::uint8_t>(0xBA + (ch % 7)), (ch & 1) != 0, false, false, false};
    return std::nullopt;
  }
  std::uint16_t scanCode(std::uint8_t vk) const override { return static_cast<std::uint16_t>(vk & 0x7F); }
  bool capsLockOn() const override { return caps_; }
  std::vector<std::uint8_t> heldModifiers() const override { return held_; }

 private:
  bool caps_;
  std::vector<std::uint8_t> held_;
};

void checkPlan(const osk::KeyPlan& plan) {
  std::array<bool, 256> down{};
  for (const osk::KeyEvent& e : plan.events) {
    switch (e.kind) {
      case osk::KeyEvent::Kind::KeyDown:
        if (down[e.vk]) fault("key pressed twice");
        down[e.vk] = true;
        break;
      case osk::KeyEvent::Kind::KeyUp:
        if (!down[e.vk]) fault("key released that was not down");
        down[e.vk] = false;
        break;
      case osk::KeyEvent::Kind::Char:
        if (e.ch == 0 || e.ch > 0x10FFFF || (e.ch >= 0xD800 && e.ch <= 0xDFFF))
          fault("character is not a scalar value");
        break;
    }
  }
  for (bool d : down) {
    if (d) fault("key (or modifier) still down at the end of the plan");
  }
  if (plan.events.size() > osk::kMaxPlanEvents) fault("plan over its size limit");
}

void checkRaw(const osk::KeyPlan& plan, bool caps, std::vector<std::uint8_t> held) {
  const AsciiLayout layout(caps, held);
  std::map<std::uint32_t, bool> down;
  for (std::uint8_t m : held) down[m] = true;
  for (const osk::RawKey& r : osk::translatePlan(plan, layout)) {
    // Unicode records are keyed by their code unit, away from the vk range.
    const std::uint32_t id = (r.flags & osk::rawflag::kUnicode) != 0 ? 0x10000u + r.scan : r.vk;
    const bool up = (r.flags & osk::rawflag::kKeyUp) != 0;
    bool& isDown = down[id];
    if (up != isDown)
      fault(up ? "raw release of a key that was not down" : "raw press of a key already down");
    isDown = !up;
  }
  for (const auto& [id, isDown] : down) {
    const bool wasHeld =
        id < 0x100 && std::find(held.begin(), held.end(), static_cast<std::uint8_t>(id)) != held.end();
    if (isDown != wasHeld) fault("raw input leaves the keyboard in another state");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const osk::ParseResult r = osk::parseKeyString(text);
  if (r.plan) {
    if (!r.error.empty()) fault("accepted string with an error");
    if (r.plan->source != text) fault("plan source differs from the input");
    checkPlan(*r.plan);
    const bool caps = (size & 1) != 0;
    std::vector<std::uint8_t> held;
    if (size % 3 == 1) held = {osk::vk::kLShift};
    if (size % 3 == 2) held = {osk::vk::kLControl, osk::vk::kRMenu};
    checkRaw(*r.plan, caps, held);
  } else {
    if (r.error.empty()) fault("rejected string without a reason");
  }
  return 0;
}
