// Loading and saving what the predictor has learned through the platform's
// file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/learned_words_file.h"
#include "platform/texts.h"
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

// One keyboard's learned words in the file that every keyboard of its
// program name shares. A save takes the file's lock, reads it, learns again
// on top of what it holds the uses this keyboard learned since it last read
// or wrote it, and replaces it: a word typed in either keyboard is counted
// once, whichever saves last, and the file stays within the predictor's
// bounds.
//
// Merging the uses since the last save, rather than taking the larger of two
// counts, keeps what both keyboards learned of one word ("the" typed in both
// counts twice), and never counts a use twice: once saved, it is in the file
// and no longer among the uses to merge.
class SharedLearnedWords {
 public:
  explicit SharedLearnedWords(LearnedWordsFile& file) : file_(file) {}

  LearnedWordsLoad load(Predictor& predictor);
  // False when the file was not written (its lock not had, the file
  // unreadable, a refusal): what was learned stays in memory and among the
  // uses to merge at the next save.
  [[nodiscard]] bool save(Predictor& predictor);
  // Writes `predictor` as it is, whatever the file holds: forgetting
  // empties the file for every keyboard of the name.
  [[nodiscard]] bool replace(Predictor& predictor);

 private:
  // With the lock held.
  bool write(Predictor& predictor);

  LearnedWordsFile& file_;
  // The file's text as this keyboard last read or wrote it: while the file
  // still holds it, no other keyboard has saved since, and what is in
  // memory is already the merge.
  std::optional<std::string> seen_;
};

// What the user is told when the file could not be read for `reason`, and
// so nothing learned in this run is stored.
std::string unreadableNote(const Texts& texts, std::string_view reason);

// What the user is told when forgetting left an unreadable file as it was.
std::string notForgottenNote(const Texts& texts, std::string_view reason);

}  // namespace osk
