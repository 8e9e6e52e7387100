// The file that keeps what word prediction has learned, per user. The text
// is the predictor's own (Predictor::save); this only stores it. Every
// keyboard of one program name shares it (one run as administrator beside
// one that is not, or a user's sessions on one machine), so a save holds
// the file's lock while it reads, merges and replaces.
#pragma once

#include <cstdint>
#include <functional>
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
  // Taken before a save reads the file and given back once the file is
  // replaced, so that two keyboards' saves take turns. False, the reason
  // logged, when it could not be had in a moment: then nothing is read or
  // written, and the words wait for the next save.
  [[nodiscard]] virtual bool lock() = 0;
  virtual void unlock() = 0;
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
  bool lock() override {
    if (locked) return false;
    locked = true;
    return true;
  }
  void unlock() override { locked = false; }
  LearnedWordsText read() override {
    if (afterRead) {
      // Cleared first: what runs here may read the file in turn.
      const std::function<void()> then = std::exchange(afterRead, nullptr);
      LearnedWordsText read = this->read();
      then();
      return read;
    }
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
  // Held by a save, or by another process (set by a test): lock() fails, as
  // the real lock does once it has waited its moment.
  bool locked = false;
  // Runs once, just after the next read(), before its text is returned: for
  // what another keyboard does in the middle of a save.
  std::function<void()> afterRead;
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
