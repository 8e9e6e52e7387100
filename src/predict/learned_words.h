// Loading and saving what the predictor has learned through the platform's
// file.
#pragma once

#include <cstdint>

#include "platform/learned_words_file.h"
#include "predict/predictor.h"

namespace osk {

enum class LearnedWordsLoad : std::uint8_t {
  NoFile,    // nothing saved yet (or unreadable): the built-in list alone
  Loaded,    // what was learned is back
  SetAside,  // the file was damaged and has been moved aside: the built-in list alone
};

LearnedWordsLoad loadLearnedWords(Predictor& predictor, LearnedWordsFile& file);

// False when the file was not written; what was learned stays in memory.
[[nodiscard]] bool saveLearnedWords(const Predictor& predictor, LearnedWordsFile& file);

}  // namespace osk
