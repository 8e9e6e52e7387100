// Loading and saving what the predictor has learned through the platform's
// file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/learned_words_file.h"
#include "predict/predictor.h"

namespace osk {

struct LearnedWordsLoad {
  enum class Outcome : std::uint8_t {
    NoFile,      // nothing saved yet: the built-in list alone
    Loaded,      // what was learned is back
    SetAside,    // the file was damaged and has been moved aside: the built-in list alone
    Unreadable,  // the file could not be read and is left as it is: the built-in list alone
  };
  Outcome outcome = Outcome::NoFile;
  // Unreadable: the system's words for why.
  std::string reason;
};

LearnedWordsLoad loadLearnedWords(Predictor& predictor, LearnedWordsFile& file);

// False when the file was not written; what was learned stays in memory.
[[nodiscard]] bool saveLearnedWords(const Predictor& predictor, LearnedWordsFile& file);

// What the user is told when the file could not be read for `reason`, and
// so nothing learned in this run is stored.
std::string unreadableNote(std::string_view reason);

// What the user is told when forgetting left an unreadable file as it was.
std::string notForgottenNote(std::string_view reason);

}  // namespace osk
