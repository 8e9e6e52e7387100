// Word prediction as the rest of the keyboard sees it: the send step tells
// it what goes into the target, the window's life and the typing aids
// dialog switch it on and off. Made in the keyboard window's set-up
// (keys/suggestion_keys.h); absent in a context that never sets it up.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "layout/model.h"

namespace osk {

class WordPrediction {
 public:
  virtual ~WordPrediction() = default;

  // At the keyboard's Load: takes the stored choice and, when prediction is
  // on, what was learned; gives the window's geometry as stored, grown by
  // the strip when it shows.
  virtual Geometry open(const Geometry& stored) = 0;
  // The window's geometry as it is to be stored: without the strip, so the
  // stored place means the same with prediction on or off.
  virtual Geometry stored(const Geometry& shown) const = 0;
  // The typing aids dialog closed: the stored choice may have changed.
  virtual void settingsChanged() = 0;
  // Drops everything learned, in memory and in the file. What the user is
  // to be told when the file had to be left as it was; empty otherwise.
  [[nodiscard]] virtual std::string forget() = 0;
  // The keyboard closes: what was learned is stored.
  virtual void close() = 0;

  // A key string about to go into the real recorded target. Nothing to send
  // the keys as they are; otherwise the keys to send instead.
  virtual std::optional<std::string> sending(std::string_view keys) = 0;
  // The text before the caret is no longer known: the keys did not arrive,
  // or the target changed.
  virtual void lost() = 0;
  // A dead key went in: the target composes its accent with the next key,
  // so no suggestion can be typed until that key is known.
  virtual void accentWaits() = 0;
  // Keys went in whose text is not known (a dead key with a key the layout
  // cannot say it composes with): the word they fall in ends unlearned, up
  // to its own end.
  virtual void typedUnknown() = 0;
  // The Shift latches may have changed: the suggestions' case follows them.
  virtual void refresh() = 0;
  // The letters of the word being typed, as far as the keyboard knows them.
  virtual std::string word() const = 0;
};

}  // namespace osk
