// One-switch scanning: the keyboard lights its rows in turn, the switch
// chooses the lit row, then the keys of that row light in turn and the
// switch clicks the lit key. The host feeds switch presses and ticks with
// the time, paints what is lit, and clicks what the switch chose.
//
// Rules, each chosen for people who can press only one switch:
// - The first row lights at once when scanning starts and again after every
//   click, and the first key as soon as its row is chosen: a press during a
//   first step acts on what is lit, so the first row and the first key of a
//   row are the quickest to reach, never skipped. The first row is the top
//   one unless the host names another (setFirstRow): then the rows go round
//   from there, in their order.
// - A press acts on what the user sees lit, even when the tick that would
//   have moved the light is already overdue.
// - A row whose keys have all been lit twice with no press goes back to the
//   rows, that row lit again: the user most likely missed the key, not the
//   row. After a click the rows start again from the top.
// - A row of one key is still chosen and then clicked: two presses, as for
//   every other key, so the rhythm never changes under the user.
// - After three whole rounds of the rows with no press the scan rests:
//   nothing is lit and no timer runs, so a keyboard left on costs nothing
//   while its user is away, and nobody returns to find a light that has
//   been running for an hour. The next press wakes the rows from the top
//   and does nothing else: the user has not yet seen what it would choose.
// - Rows with no keys are dropped; with no keys at all nothing scans.
// - Only a key a click can reach now is lit or clicked, and a row with no
//   such key is passed over. What a click reaches changes under the scan
//   (keys that need a target come on with one), so the rows hold every key
//   that may ever be reached, and each light asks again. A light on a key
//   or row that goes out of reach moves on at once, for a whole step; one
//   that comes within reach waits for its turn.
// - Each light stays for a whole step from the moment it appears; a late
//   tick moves the light one place, never several, so the user never misses
//   a row they were not shown.
#pragma once

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "aids/aid_time.h"
#include "layout/model.h"

namespace osk::aids {

using ScanRows = std::vector<std::vector<KeyId>>;

struct ScanItem {
  KeyId key = 0;
  TwipsRect rect;
};

// Groups the clickable controls into rows as the eye sees them: a control
// whose top lies above the middle of a row's topmost control belongs to that
// row (so a key two rows tall scans with the row of its top), and each row
// runs from left to right. Every item lands in exactly one row.
ScanRows scanRows(std::vector<ScanItem> items);

class Scanner {
 public:
  // Resting: on, with nothing lit, waiting for a press.
  enum class Stage : unsigned char { Stopped, Rows, Keys, Resting };

  // `reachable` says whether a click can reach a key at this moment.
  Scanner(Millis step, std::function<bool(KeyId)> reachable)
      : step_(step), reachable_(std::move(reachable)) {}

  // Starts (or restarts) with the first row lit.
  void start(Instant now, ScanRows rows);
  void stop();
  // A switch press: chooses the lit row, or clicks the lit key and returns
  // it, or wakes a resting scan. Nothing happens while stopped.
  std::optional<KeyId> pressed(Instant now);
  // The host's timer fired; an early tick is harmless.
  void tick(Instant now);
  // Some key came within reach of a click or went out of it. True when the
  // light moved, and with it the time of the next tick.
  bool reachChanged(Instant now);
  // Applies from the next light on.
  void setStep(Millis step) { step_ = step; }
  // A press this soon after the light moved on by itself picks what was lit
  // before: nobody reacts that fast, so the press was meant for it. Zero
  // (the default) takes every press at its word.
  void setGrace(Millis grace) { grace_ = grace; }
  // The row lit first after a click or a wake; the top row when out of range.
  void setFirstRow(std::size_t row) { firstRow_ = row; }
  // Right after a click, the host may have changed the first row: the rows
  // light again from it, at the same moment.
  void relightRows(Instant now);
  // When what is lit now appeared: a press's reaction time runs from it.
  Instant litSince() const { return litSince_; }

  Stage stage() const { return stage_; }
  // What the host paints lit: the row's keys in reach, or the one key.
  std::vector<KeyId> lit() const;
  // How long the host may sleep before the light moves; nothing while
  // stopped or resting.
  std::optional<Millis> wakeIn(Instant now) const;

 private:
  bool rowInReach(std::size_t row) const;
  std::size_t rowsInReach() const;
  // The first key of the chosen row in reach at or after `from`.
  std::optional<std::size_t> keyInReach(std::size_t from) const;
  // Lights the first row in reach from `row` on, going round; rests when
  // no row is.
  void lightRows(Instant now, std::size_t row);
  void lightKey(Instant now, std::size_t key);
  void nextKey(Instant now);

  std::size_t firstRow() const { return firstRow_ < rows_.size() ? firstRow_ : 0; }

  // What is lit and since when: enough to go back one move.
  struct Light {
    Stage stage = Stage::Stopped;
    std::size_t row = 0;
    std::size_t key = 0;
    int passes = 0;
    Instant since;
    Millis litFor{};
  };
  Light light() const { return {stage_, row_, key_, passes_, litSince_, litFor_}; }
  void restore(const Light& l);

  Millis step_;
  Millis grace_{};
  // The light before the last move the timer made; none once a press or a
  // change of reach moved it.
  std::optional<Light> beforeTick_;
  std::size_t firstRow_ = 0;
  std::function<bool(KeyId)> reachable_;
  ScanRows rows_;
  Stage stage_ = Stage::Stopped;
  std::size_t row_ = 0;
  std::size_t key_ = 0;
  int passes_ = 0;             // whole passes over the chosen row's keys
  std::size_t rowLights_ = 0;  // rows lit since the last press
  Instant litSince_;
  Millis litFor_{};
};

}  // namespace osk::aids
