// Which key events of the user's own in another program end the word being
// tracked: a run of them as a hand makes it, each event decided on its own.
#include "predict/caret_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace osk {
namespace {

TEST(CaretKeys, OnlyKeysThatMayTypeOrMoveEndTheWord) {
  struct Case {
    const char* what;
    // The virtual-key codes of the presses (and auto-repeats) in order.
    std::vector<unsigned> presses;
    // Per press: k the word is kept, e it ends.
    std::string want;
  };
  const Case cases[] = {
      {"Shift held, its auto-repeat, either side", {0x10, 0x10, 0x10, 0xA0, 0xA1}, "kkkkk"},
      {"Ctrl and Alt alone, generic and either side", {0x11, 0xA2, 0xA3, 0x12, 0xA4, 0xA5}, "kkkkkk"},
      {"the Windows keys alone", {0x5B, 0x5C}, "kk"},
      {"Caps Lock, Num Lock, Scroll Lock", {0x14, 0x90, 0x91}, "kkk"},
      {"Ctrl held, then Left: the arrow moves the caret", {0x11, 0x11, 0x25}, "kke"},
      {"Shift held, then a letter: it types", {0x10, 0x41}, "ke"},
      {"Shift held, then End: it selects", {0xA0, 0x23}, "ke"},
      {"Alt then Backspace: undo in many editors", {0x12, 0x08}, "ke"},
      {"caret and editing keys", {0x24, 0x26, 0x28, 0x21, 0x22, 0x2E, 0x2D, 0x0D, 0x09}, "eeeeeeeee"},
      {"typing keys", {0x20, 0x30, 0xBA, 0x60}, "eeee"},
      {"keys whose effect only the program knows", {0x74, 0x1B, 0x5D, 0xE8}, "eeee"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string got;
    for (unsigned vk : c.presses) got += keyMayMoveCaret(vk) ? 'e' : 'k';
    EXPECT_EQ(got, c.want);
  }
}

}  // namespace
}  // namespace osk
