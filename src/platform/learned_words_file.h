// The file that keeps what word prediction has learned, per user. The text
// is the predictor's own (Predictor::save); this only stores it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace osk {

// What reading the file found. A file that is there but could not be read
// (locked by another program, access denied, a roaming profile not yet
// reachable) is not "no file": whatever it holds must not be written over.
struct LearnedWordsText {
  enum class Status : std::uint8_t {
    Read,        // `text` is the file's whole text
    NoFile,      // nothing stored yet
    Unreadable,  // a file may be there but could not be read; `reason` says why
  };
  Status status = Status::NoFile;
  std::string text;
  // The system's own words for the failure, for the user to read.
  std::string reason;
};

class LearnedWordsFile {
 public:
  virtual ~LearnedWordsFile() = default;
  virtual LearnedWordsText read() = 0;
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
  LearnedWordsText read() override {
    if (unreadable) return {LearnedWordsText::Status::Unreadable, {}, *unreadable};
    if (!text) return {};
    return {LearnedWordsText::Status::Read, *text, {}};
  }
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
  // read() fails for this reason, as for a file another program has locked;
  // `text` stands for what the file still holds.
  std::optional<std::string> unreadable;
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
