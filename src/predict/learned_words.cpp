#include "predict/learned_words.h"

#include <string>
#include <utility>

namespace osk {

namespace {

// "<what>: <reason>." whether or not the system's words end a sentence.
std::string sentence(std::string_view what, std::string_view reason) {
  std::string out(what);
  if (!reason.empty()) out.append(": ").append(reason);
  if (!out.ends_with('.')) out += '.';
  return out;
}

}  // namespace

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

std::string unreadableNote(std::string_view reason) {
  return sentence("The learned words could not be read", reason) +
         " They are left as they are, and nothing learned is stored until the keyboard starts again.";
}

std::string notForgottenNote(std::string_view reason) {
  return sentence("The learned words could not be read", reason) +
         " They are left as they are: forget them again once the keyboard has started again.";
}

}  // namespace osk
