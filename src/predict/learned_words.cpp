#include "predict/learned_words.h"

#include <string>
#include <utility>

namespace osk {

LearnedWordsLoad loadLearnedWords(Predictor& predictor, LearnedWordsFile& file) {
  using Outcome = LearnedWordsLoad::Outcome;
  LearnedWordsText read = file.read();
  switch (read.status) {
    case LearnedWordsText::Status::NoFile:
      predictor.forget();
      return {Outcome::NoFile, {}};
    case LearnedWordsText::Status::Unreadable:
      predictor.forget();
      return {Outcome::Unreadable, std::move(read.reason)};
    case LearnedWordsText::Status::Read:
      break;
  }
  if (predictor.load(read.text)) return {Outcome::Loaded, {}};
  file.setAside();
  return {Outcome::SetAside, {}};
}

bool saveLearnedWords(const Predictor& predictor, LearnedWordsFile& file) {
  return file.replace(predictor.save());
}

}  // namespace osk
