// The one path by which a key reaches the target window.
#pragma once

#include <string>
#include <string_view>

#include "app/context.h"

namespace osk {

inline constexpr std::string_view kNoTarget = "QM-OSK";
inline constexpr std::string_view kCommandLineTarget = "QM-OSK-CMD";
inline constexpr std::string_view kTargetLabel = "ACTIVE_WINDOW_LABEL";

enum class TargetClass : unsigned char { None, CommandLine, Real };

// Reserved captions match only exactly: "qm-osk" or "QM-OSK " are real targets.
TargetClass classifyTarget(std::string_view title);
const std::string& targetTitle(const Context& ctx);
TargetClass target(const Context& ctx);

// Brings the recorded target back and injects `keys`. Does nothing and
// returns false when the string is malformed, the target cannot be brought
// to the front, or the system refuses the input.
bool deliver(Context& ctx, std::string_view keys);

// The guarded send of a key: nothing for a reserved caption; otherwise
// deliver and, when that worked, flash `flash` green (if given).
bool sendStep(Context& ctx, std::string_view keys, Control* flash);

// Injects into whatever window is active, with no target and no flash.
bool injectDirect(Context& ctx, std::string_view keys);

// Brings the recorded target back without sending anything; false when it
// cannot be brought to the front.
bool activateTarget(Context& ctx);

}  // namespace osk
