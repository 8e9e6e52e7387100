// The file that keeps what word prediction has learned, per user. The text
// is the predictor's own (Predictor::save); this only stores it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace osk {

class LearnedWordsFile {
 public:
  virtual ~LearnedWordsFile() = default;
  // The file's whole text; nothing when there is no file or it cannot be
  // read.
  virtual std::optional<std::string> read() = 0;
  // Stores `text` whole: written to a new file first and then moved over
  // the old one, so that a crash leaves the old text or the new, never part
  // of one. False when it was not stored.
  [[nodiscard]] virtual bool replace(std::string_view text) = 0;
  // Moves a damaged file out of the way, kept beside it for a look later;
  // the next replace() starts a new one.
  virtual void setAside() = 0;
};

// In memory, for tests and for running when the real file is unusable.
class MemoryLearnedWordsFile final : public LearnedWordsFile {
 public:
  std::optional<std::string> read() override { return text; }
  bool replace(std::string_view next) override {
    if (refuse) return false;
    text = std::string(next);
    return true;
  }
  void setAside() override {
    setAsideText = std::move(text);
    text.reset();
  }

  std::optional<std::string> text;
  std::optional<std::string> setAsideText;
  bool refuse = false;  // replace() fails, as a full disk would
};

// Keeps nothing: for a keyboard given no file. Nothing is read, and every
// replace() is refused.
inline LearnedWordsFile& noLearnedWordsFile() {
  static MemoryLearnedWordsFile none = [] {
    MemoryLearnedWordsFile f;
    f.refuse = true;
    return f;
  }();
  return none;
}

}  // namespace osk
