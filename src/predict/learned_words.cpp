#include "predict/learned_words.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/log.h"

namespace osk {

namespace {

// The headline with the system's reason, if it gave one, ending a sentence
// whether or not the system's words do. The reason goes in through the text,
// so that each language punctuates it its own way (French puts a space
// before the colon).
std::string unreadable(const Texts& texts, std::string_view reason) {
  std::string out = reason.empty() ? texts.text(TextId::LearnedWordsUnreadable)
                                   : texts.text(TextId::LearnedWordsUnreadableBecause, {reason});
  if (!out.ends_with('.')) out += '.';
  return out;
}

// The file's lock, given back however the save ends.
class Turn {
 public:
  explicit Turn(LearnedWordsFile& file) : file_(file), held_(file.lock()) {}
  Turn(const Turn&) = delete;
  Turn& operator=(const Turn&) = delete;
  Turn(Turn&&) = delete;
  Turn& operator=(Turn&&) = delete;
  ~Turn() {
    if (held_) file_.unlock();
  }
  bool held() const { return held_; }

 private:
  LearnedWordsFile& file_;
  bool held_;
};

}  // namespace

LearnedWordsLoad SharedLearnedWords::load(Predictor& predictor) {
  using Outcome = LearnedWordsLoad::Outcome;
  seen_.reset();
  LearnedWordsText read = file_.read();
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
  if (predictor.load(read.text)) {
    seen_ = std::move(read.text);
    return {Outcome::Loaded, {}};
  }
  file_.setAside();
  return {Outcome::SetAside, {}};
}

bool SharedLearnedWords::save(Predictor& predictor) {
  const Turn turn(file_);
  if (!turn.held()) return false;
  LearnedWordsText read = file_.read();
  // Its words are unknown here: never written over.
  if (read.status == LearnedWordsText::Status::Unreadable) return false;
  const bool changed = read.status == LearnedWordsText::Status::NoFile || read.text != seen_;
  if (changed && !predictor.unsavedComplete()) {
    logFailure(
        "too much was learned since the last save to merge it with the file: this keyboard's words replace "
        "it");
  } else if (changed) {
    std::optional<std::string_view> saved;
    if (read.status == LearnedWordsText::Status::Read) saved = read.text;
    // Damaged: set aside as at the load, and what is in memory goes on.
    if (!predictor.mergeSaved(saved)) file_.setAside();
  }
  return write(predictor);
}

bool SharedLearnedWords::replace(Predictor& predictor) {
  const Turn turn(file_);
  return turn.held() && write(predictor);
}

bool SharedLearnedWords::write(Predictor& predictor) {
  std::string text = predictor.save();
  if (!file_.replace(text)) return false;
  seen_ = std::move(text);
  predictor.markSaved();
  return true;
}

std::string unreadableNote(const Texts& texts, std::string_view reason) {
  return unreadable(texts, reason) + " " + texts.text(TextId::LearnedWordsKept);
}

std::string notForgottenNote(const Texts& texts, std::string_view reason) {
  return unreadable(texts, reason) + " " + texts.text(TextId::LearnedWordsNotForgotten);
}

}  // namespace osk
