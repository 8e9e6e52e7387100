#include "predict/learned_words.h"

#include <optional>
#include <string>

namespace osk {

LearnedWordsLoad loadLearnedWords(Predictor& predictor, LearnedWordsFile& file) {
  const std::optional<std::string> text = file.read();
  if (!text) {
    predictor.forget();
    return LearnedWordsLoad::NoFile;
  }
  if (predictor.load(*text)) return LearnedWordsLoad::Loaded;
  file.setAside();
  return LearnedWordsLoad::SetAside;
}

bool saveLearnedWords(const Predictor& predictor, LearnedWordsFile& file) {
  return file.replace(predictor.save());
}

}  // namespace osk
