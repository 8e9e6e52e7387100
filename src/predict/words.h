// What counts as a word, and how words compare, for prediction.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "keystring/utf8.h"

namespace osk::predict {

// Words are runs of letters and apostrophes. Letters are those of the
// Latin, Greek and Cyrillic scripts; digits, hyphens and everything else
// end a word.
bool isWordCharacter(char32_t ch);

using osk::decodeUtf8;
void appendUtf8(std::string& out, char32_t ch);

// True when `text` is one whole word: well-formed UTF-8, word characters
// only, not empty and at most kMaxWordBytes long.
inline constexpr std::size_t kMaxWordBytes = 48;
bool isWord(std::string_view text);

// The form words are compared in: letters in lower case (Latin-1 letters
// too), the typographic apostrophe as a plain one. A prefix of whole
// characters folds to a prefix of the folded word.
std::string fold(std::string_view text);

// Upper- and lower-case forms of a word's letters, as typed under the Shift
// lock or at the start of a sentence. Letters outside ASCII and Latin-1 are
// left as they are.
std::string upper(std::string_view text);
std::string capitalised(std::string_view text);  // first letter in capitals
bool startsWithCapital(std::string_view text);
// At least two letters, and every letter a capital.
bool allCapitals(std::string_view text);

}  // namespace osk::predict
