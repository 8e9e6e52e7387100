#include "predict/caret_keys.h"

#include "keystring/input_translate.h"
#include "keystring/keystring.h"

namespace osk {

bool keyMayMoveCaret(unsigned code) {
  switch (code) {
    case vk::kShift:
    case vk::kControl:
    case vk::kMenu:
    case vk::kLShift:
    case vk::kRShift:
    case vk::kLControl:
    case vk::kRControl:
    case vk::kLMenu:
    case vk::kRMenu:
    case vk::kLWin:
    case vk::kRWin:
    case vk::kCapital:
    case vk::kNumLock:
    case vk::kScroll:
      return false;
    default:
      return true;
  }
}

}  // namespace osk
