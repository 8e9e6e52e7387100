// The window's side of outside_view.h: it counts its control repaints and
// answers the registered messages that read them and the message loop's
// count from another process.
#pragma once

#include <windows.h>

#include <optional>

namespace osk::win32 {

class OutsideAnswers {
 public:
  // Registers the messages, so that they are known before anyone asks.
  static void registerMessages();

  void countRepaint() { ++repaints_; }
  // Where the message loop counts the messages it takes.
  void countMessagesIn(const unsigned long* counter) { messages_ = counter; }

  // The answer to `msg` when it is one of the registered questions.
  std::optional<LRESULT> answer(UINT msg) const;

 private:
  unsigned long repaints_ = 0;
  const unsigned long* messages_ = nullptr;
};

}  // namespace osk::win32
