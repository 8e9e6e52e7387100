// The number pad: the keypad's keys as data, what each sends with Num Lock
// on and off, and the pad's band beside the keys.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/context.h"
#include "base/router.h"
#include "keystring/keystring.h"
#include "layout/main_window.h"
#include "layout/model.h"
#include "platform/texts.h"

namespace osk {

struct NumPadKey {
  KeyboardControl button;
  // The keypad's own key with Num Lock on (VK_NUMPAD0.., VK_DECIMAL, the
  // operators, Enter) and the caption it has then.
  std::uint8_t vk = 0;
  std::string_view caption;
  // Words shown instead of the caption, in the language chosen (Enter).
  std::optional<TextId> words;
  // With Num Lock off the digits and the decimal key are the navigation
  // keys printed below their digits; 0 for a key that stays what it is.
  std::uint8_t offVk = 0;
  std::optional<TextId> offWords;
  // The key strings of what it types with Num Lock on and off (word
  // prediction reads them): the digit or sign, "{ENTER}", a navigation key.
  std::string_view keys;
  std::string_view offKeys;
  // The keypad's set-1 scan code (without the E0 prefix), the same both ways.
  std::uint16_t scan = 0;
};

// The sixteen keys of the pad.
std::span<const NumPadKey> numPadKeys();

// What a click on `key` sends, a press and a release of the keypad's key.
KeyPlan numPadPress(const NumPadKey& key, bool numLock);
// The key string of what it types, for word prediction and the command
// line: the digit or sign, "{ENTER}", or a navigation key's name.
std::string_view numPadTyped(const NumPadKey& key, bool numLock);
std::string numPadCaption(const NumPadKey& key, bool numLock, const Texts& texts);

// The captions follow Num Lock, as the caption refresh reads it.
void showNumPadFaces(Context& ctx, bool numLock);

// The keyboard window's outer geometry with the pad's band added at the
// right of the keys, and without it, at the scale the keys are drawn at for
// the design size `designWidth` x `designHeight` (outer, twips) the window
// has without the band (with it, for withoutNumPad). The keys keep their
// size and place; each undoes the other. Without the band is what is stored.
Geometry withNumPad(const Geometry& g, float designWidth, float designHeight);
Geometry withoutNumPad(const Geometry& g, float designWidth, float designHeight);

// The keyboard's design size for the bands open now: the default size grown
// by the top band (the suggestion strip) and the side band (the pad).
void setKeyboardDesignSize(Form& main);

// At the keyboard's Load, after the strip: opens the pad when it was left
// open, and gives the window's geometry grown by it.
Geometry openNumPad(Context& ctx, const Geometry& stored);
// The window's geometry as it is to be stored: without the pad.
Geometry storedWithoutNumPad(const Form& main, const Geometry& shown);
// The other way: the geometry of the keys alone, grown by the pad while it
// shows, at the form's design size (which counts the pad).
Geometry shownWithNumPad(const Form& main, const Geometry& keys);

void registerNumPadKeys(KeyboardRoutes& router, Context& ctx);

}  // namespace osk
