// Built only by the tests in tests/compile/CMakeLists.txt, never linked:
// once as it stands, which must build, and once with each of the misuses
// below switched on, which must not. Keys reach the system only through a
// passage the administrator gate gave.
#include "delivery/gate.h"

namespace osk {

SendResult send(Context& ctx, const KeyPlan& plan) {
#ifdef INJECTOR_PAST_THE_GATE
  return ctx.platform.injector.injector_.inject(plan) ? SendResult::Sent : SendResult::Refused;
#elif defined(PASSAGE_WITHOUT_THE_GATE)
  return Passage(ctx, true).inject(plan, Patience::Click);
#else
  const std::optional<Passage> passage = passGate(ctx, Aim::RecordedTarget);
  return passage ? passage->inject(plan, Patience::Click) : SendResult::AboveKeyboard;
#endif
}

}  // namespace osk
