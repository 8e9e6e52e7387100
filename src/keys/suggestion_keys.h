// Word prediction in the keyboard: the suggestion strip's five keys, what
// the send step reports to the word tracker, and the learned-words file.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "base/context.h"
#include "base/router.h"
#include "base/word_prediction.h"
#include "layout/model.h"

namespace osk {

// The keyboard window's outer geometry with the strip's band added above
// the layout, and without it. The band grows upwards, at the scale the keys
// are drawn at, so the keys keep their size and their place on the screen;
// each undoes the other. The geometry without the band is the keys' place,
// which is what is stored.
Geometry withSuggestionStrip(const Geometry& g);
Geometry withoutSuggestionStrip(const Geometry& g);

// What a key string sent into the target types, as the word tracker takes
// it: one character ('\n' for Enter, '\t' for Tab), a Backspace, or
// something else (a navigation key, a chord, a whole text), after which the
// text before the caret is not known.
struct TypedKey {
  enum class Kind : std::uint8_t { Character, Backspace, Other };
  Kind kind = Kind::Other;
  char32_t ch = 0;
  friend bool operator==(const TypedKey&, const TypedKey&) = default;
};
TypedKey typedBy(std::string_view keys);

// The strip, made at start-up before any route: what the send step tells
// of every key (`Context::prediction`).
std::shared_ptr<WordPrediction> makeSuggestionStrip(Context& ctx);
// Routes the strip's keys and its save timer to the strip made above;
// throws std::logic_error when none was made.
void registerSuggestionKeys(KeyboardRoutes& router, Context& ctx);

}  // namespace osk
