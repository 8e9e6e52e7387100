// The word list, the rare words and the word pairs built into the program
// (data/words-en.tsv, data/rare-words-en.tsv, data/pairs-en.tsv, generated into source files at build time by
// cmake/embed-words.cmake).
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace osk::predict {

// The list's text, "word<TAB>count\n" lines, split into pieces at line
// ends. Most common words first.
std::span<const std::string_view> builtinWordChunks();

// How many lines the pieces hold.
std::size_t builtinWordLines();

// Words the list lacks (data/rare-words-en.tsv), in the same form, each at
// the count of the list's rarest words.
std::span<const std::string_view> builtinRareWordChunks();
std::size_t builtinRareWordLines();

// The word pairs (data/pairs-en.tsv), in the same pieces: for each context
// (a word, two words with a space between them, or empty for the start of a
// sentence), "context<TAB><TAB>total<TAB>kinds" and then its followers'
// "<TAB>word<TAB>count" lines, commonest first.
std::span<const std::string_view> builtinPairChunks();
std::size_t builtinPairLines();

}  // namespace osk::predict
