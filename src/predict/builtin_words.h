// The word list and word pairs built into the program (data/words-en.tsv,
// data/pairs-en.tsv, generated into source files at build time by
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

// The word pairs (data/pairs-en.tsv), in the same pieces: for each first
// word, "first<TAB><TAB>total<TAB>kinds" and then "first<TAB>second<TAB>count"
// lines, commonest first; an empty first word is the start of a sentence.
std::span<const std::string_view> builtinPairChunks();
std::size_t builtinPairLines();

}  // namespace osk::predict
