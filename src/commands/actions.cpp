// The action buttons: programs started for the user, fixed shortcuts sent to
// the target, and the context-menu key.
#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "base/keyboard_state.h"
#include "commands/command_split.h"
#include "commands/commands.h"
#include "commands/launch.h"
#include "delivery/send.h"
#include "layout/main_window.h"
#include "settings/settings_keys.h"

namespace osk {

namespace {

constexpr KeyboardControl kCommandLine = ui::kCommandLineTextbox;
constexpr KeyboardControl kContextMenuKey = ui::kButtonRightClick;
// The Start menu has a context menu of its own that every click reopens.
constexpr std::string_view kStartMenuTitle = "Start Menu";

struct ElevatedStart {
  KeyboardControl button;
  std::string_view file;
  std::string_view parameters;
};

constexpr std::array<ElevatedStart, 2> kFixedStarts{{
    {ui::kButtonCmd, "cmd.exe", ""},
    {ui::kButtonWindowsLock, "Rundll32.exe", "User32.dll,LockWorkStation"},
}};

void startElevated(Context& ctx, KeyboardControl button, std::string file, std::string_view parameters,
                   bool flash) {
  LaunchRequest request;
  request.file = std::move(file);
  request.parameters = std::string(parameters);
  request.elevated = true;
  startProgram(ctx, std::move(request), button, flash);
}

void BUTTON_CALC_Click(Context& ctx) {
  // From the store at every click: the settings dialog saves when it closes.
  startElevated(ctx, ui::kButtonCalc,
                ctx.platform.store.read(kSettingsSection, settings::kCalculatorCommand,
                                        settings::kCalculatorCommandDefault),
                "", true);
}

void BUTTON_RUN_INTERNAL_Click(Context& ctx) {
  const Control& box = ctx.main.control(kCommandLine);
  if (trimBlanks(box.text()).empty() || box.text() == ctx.platform.texts.text(TextId::CommandLineHint))
    return;
  LaunchRequest request;
  request.kind = LaunchRequest::Kind::CommandLine;
  request.file = box.text();
  startProgram(ctx, std::move(request), ui::kButtonRunInternal, false);
}

struct Shortcut {
  KeyboardControl button;
  std::string_view keys;
  bool spendsShift;
};

constexpr std::array<Shortcut, 5> kShortcuts{{
    {ui::kCopyButton, "^{c}", true},
    {ui::kCutButton, "^{x}", true},
    {ui::kPasteButton, "^{v}", true},
    {ui::kPrintScreenAppWindow, "%{PRTSC}", false},
    {ui::kPrintScreenCompleteScreen, "{PRTSC}", false},
}};

// The chords are fixed: no latch changes them. Shift is cleared by the
// clipboard keys all the same, latched or not.
void clickShortcut(Context& ctx, const Shortcut& shortcut) {
  if (!sendStep(ctx, shortcut.keys, &ctx.main.control(shortcut.button))) return;
  if (shortcut.spendsShift) ctx.state.release(Latch::Shift);
}

// Latched while the menu it opened is thought to be open: the next click
// closes it again with Escape.
void BUTTON_RIGHT_CLICK_Click(Context& ctx) {
  KeyboardState& state = ctx.state;
  if (targetTitle(ctx) != kStartMenuTitle && !state.latched(Latch::ContextMenu)) {
    state.set(Latch::ContextMenu, true);
    // With no target recorded yet the key goes to whatever window is
    // active. Nothing was opened when the target could not be reached:
    // nothing is left for a next click to close.
    if (Delivery(ctx).send("+{F10}", Aim::RecordedTargetIfReal) != SendResult::Sent)
      state.release(Latch::ContextMenu);
  } else {
    (void)injectDirect(ctx, "{ESC}");
    state.release(Latch::ContextMenu);
  }
  if (targetTitle(ctx) == kStartMenuTitle) {
    state.set(Latch::ContextMenu, true);
    (void)injectDirect(ctx, "+{F10}");
  }
}

// Focus moving to another control of the keyboard means the menu was left.
void BUTTON_RIGHT_CLICK_LostFocus(Context& ctx) { ctx.state.release(Latch::ContextMenu); }

}  // namespace

void registerCommands(KeyboardRoutes& router, Context& ctx) {
  for (int n = 1; n <= kFunctionKeyCount; ++n)
    router.on(functionKeyButton(n), Event::Click, [&ctx, n] { clickFunctionKey(ctx, n); });
  router.on(ui::kButtonMyFkeys, Event::Click, [&ctx] { BUTTON_MY_FKEYS_Click(ctx); });

  router.on(ui::kButtonCalc, Event::Click, [&ctx] { BUTTON_CALC_Click(ctx); });
  for (const ElevatedStart& start : kFixedStarts) {
    router.on(start.button, Event::Click, [&ctx, &start] {
      startElevated(ctx, start.button, std::string(start.file), start.parameters, false);
    });
  }
  router.on(ui::kButtonRunInternal, Event::Click, [&ctx] { BUTTON_RUN_INTERNAL_Click(ctx); });

  for (const Shortcut& shortcut : kShortcuts)
    router.on(shortcut.button, Event::Click, [&ctx, &shortcut] { clickShortcut(ctx, shortcut); });
  router.on(kContextMenuKey, Event::Click, [&ctx] { BUTTON_RIGHT_CLICK_Click(ctx); });
  router.on(kContextMenuKey, Event::LostFocus, [&ctx] { BUTTON_RIGHT_CLICK_LostFocus(ctx); });
}

}  // namespace osk
