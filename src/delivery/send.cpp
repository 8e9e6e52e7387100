#include "delivery/send.h"

#include <charconv>

namespace osk {

TargetClass classifyTarget(std::string_view title) {
  if (title == kNoTarget) return TargetClass::None;
  if (title == kCommandLineTarget) return TargetClass::CommandLine;
  return TargetClass::Real;
}

const std::string& targetTitle(const Context& ctx) { return ctx.main.control(kTargetLabel).caption(); }

TargetClass target(const Context& ctx) { return classifyTarget(targetTitle(ctx)); }

namespace {

// The label's tag holds the handle of the window that bore the title when it
// was recorded, so that of several windows with one title the right one wins.
WindowId recordedWindow(const Context& ctx) {
  const std::string& tag = ctx.main.control(kTargetLabel).tag();
  WindowId id = 0;
  std::from_chars(tag.data(), tag.data() + tag.size(), id);
  return id;
}

}  // namespace

bool deliver(Context& ctx, std::string_view keys) {
  ParseResult parsed = parseKeyString(keys);
  if (!parsed) return false;
  // Read afresh: the caption is the only authority on where keys go.
  const std::string title = targetTitle(ctx);
  if (!ctx.platform.desktop.activate(recordedWindow(ctx), title)) return false;
  return ctx.platform.injector.inject(*parsed.plan);
}

bool sendStep(Context& ctx, std::string_view keys, Control* flash) {
  if (target(ctx) != TargetClass::Real) return false;
  if (!deliver(ctx, keys)) return false;
  if (flash != nullptr) flash->setBack(colors::kGreen);
  return true;
}

bool activateTarget(Context& ctx) {
  const std::string title = targetTitle(ctx);
  return ctx.platform.desktop.activate(recordedWindow(ctx), title);
}

bool injectDirect(Context& ctx, std::string_view keys) {
  ParseResult parsed = parseKeyString(keys);
  if (!parsed) return false;
  return ctx.platform.injector.inject(*parsed.plan);
}

}  // namespace osk
