// The word list built into the program (data/words-en.tsv, generated into a
// source file at build time by cmake/embed-words.cmake).
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

}  // namespace osk::predict
