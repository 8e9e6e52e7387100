#include "host/window/outside_answers.h"

#include "host/window/outside_view.h"

namespace osk::win32 {

namespace {

UINT repaintCountMessage() {
  static const UINT msg = ::RegisterWindowMessageW(kRepaintCountMessage);
  return msg;
}

UINT messageCountMessage() {
  static const UINT msg = ::RegisterWindowMessageW(kMessageCountMessage);
  return msg;
}

}  // namespace

void OutsideAnswers::registerMessages() {
  repaintCountMessage();
  messageCountMessage();
}

std::optional<LRESULT> OutsideAnswers::answer(UINT msg) const {
  // A registration the system refused is 0, which no question may match.
  if (msg == 0) return std::nullopt;
  if (msg == repaintCountMessage()) return static_cast<LRESULT>(repaints_);
  if (msg == messageCountMessage()) return messages_ != nullptr ? static_cast<LRESULT>(*messages_) : 0;
  return std::nullopt;
}

}  // namespace osk::win32
