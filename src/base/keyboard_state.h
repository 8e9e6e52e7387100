// The keyboard's own state, typed: the latches, where the keys go, the
// timed bursts, and the faces as last drawn wherever a key acts on what it
// shows. Handlers read and change it through these operations only. Each
// change is drawn on the keyboard window at once, in the colours and words
// the user knows; nothing is ever read back from the window.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/target.h"
#include "layout/main_window.h"
#include "layout/model.h"

namespace osk {

enum class Latch : std::uint8_t {
  Shift,
  Ctrl,
  Alt,
  Windows,
  ShiftLock,
  NumberRowLock,
  Highlight,    // tints the arrow keys; what they send is unchanged
  UserFkeys,    // the F keys start the user's commands
  ContextMenu,  // a context menu the key opened is thought to be open
  // Not a latch: how many there are, so that a new one sizes every table
  // of latches and a table that misses it does not compile.
  Count,
};
inline constexpr std::size_t kLatchCount = static_cast<std::size_t>(Latch::Count);

// The target label's words when no window is recorded, and for the
// keyboard's own command line.
inline constexpr std::string_view kNoTarget = "QM-OSK";
inline constexpr std::string_view kCommandLineTarget = "QM-OSK-CMD";

// What a character key shows: its plain or shifted caption, or a face of
// the target's input language. A key types what it shows, and a face may
// differ from the latches for a while (the number row after a symbol, until
// the next refresh), so the face is state of its own.
enum class CharacterFace : std::uint8_t { Plain, Shifted, Language };
inline constexpr std::size_t kCharacterKeyCount = 48;

// An F key's face. Armed (white) types its F key; Pressed (green, after a
// press) and Settling (the window colour, just out of the user's commands)
// do nothing until the colour reset arms them; Commands (blue) starts the
// user's command.
enum class FkeyFace : std::uint8_t { Armed, Pressed, Commands, Settling };

// The timed bursts of Backspace and Delete.
enum class Burst : std::uint8_t { Backspace, Delete };

class KeyboardState {
 public:
  explicit KeyboardState(KeyboardForm& keyboard);
  KeyboardState(const KeyboardState&) = delete;
  KeyboardState& operator=(const KeyboardState&) = delete;
  KeyboardState(KeyboardState&&) = delete;
  KeyboardState& operator=(KeyboardState&&) = delete;
  ~KeyboardState() = default;

  bool latched(Latch latch) const { return latches_.at(static_cast<std::size_t>(latch)); }
  void set(Latch latch, bool on);
  void release(Latch latch) { set(latch, false); }
  // The buttons a click toggles a latch from (the modifiers, the locks, the
  // highlight, the Windows keys), and the toggle: true when it latched.
  static std::span<const KeyboardControl> toggleButtons();
  bool toggleFrom(KeyboardControl clicked);

  const RecordedTarget& target() const { return target_; }
  // The label shows the window's title, or its words for the other kinds.
  void setTarget(RecordedTarget target);

  bool bursting(Burst burst) const { return bursts_.at(static_cast<std::size_t>(burst)); }
  void setBursting(Burst burst, bool on);

  // Character keys by their place in the key table. The caller draws the
  // caption; this is the record of which one it drew.
  CharacterFace face(std::size_t key) const { return faces_.at(key); }
  void drewFace(std::size_t key, CharacterFace face) { faces_.at(key) = face; }

  // F keys numbered from 1.
  FkeyFace fkey(int n) const { return fkeys_.at(fkeyPlace(n)).face; }
  const std::string& fkeyCaption(int n) const { return fkeys_.at(fkeyPlace(n)).caption; }
  void setFkey(int n, FkeyFace face);
  void setFkeyCaption(int n, std::string caption);

  void appendToCommandLine(std::string_view text);

 private:
  struct Fkey {
    FkeyFace face = FkeyFace::Armed;
    std::string caption;
  };
  static std::size_t fkeyPlace(int n) { return static_cast<std::size_t>(n - 1); }

  KeyboardForm& form_;
  std::array<bool, kLatchCount> latches_{};
  RecordedTarget target_;
  std::array<bool, 2> bursts_{};
  std::array<CharacterFace, kCharacterKeyCount> faces_{};
  std::array<Fkey, ui::kFkeyCount> fkeys_;
};

}  // namespace osk
