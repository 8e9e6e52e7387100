// The settings dialog, the F-key settings dialog and the typing aids
// dialog. All are modal, fill
// themselves from the settings store whenever they open and store what they
// hold whenever they close, however they close: there is no cancel.
#pragma once

#include <span>
#include <string_view>

#include "base/context.h"
#include "base/router.h"
#include "layout/aids_window.h"
#include "layout/fkeys_window.h"
#include "layout/settings_window.h"

namespace osk {

// What the credit label shows once clicked.
inline constexpr std::string_view kContactAddress = "qm-osk@example.org";

// Opens the settings dialog modally over the keyboard window, afresh from
// the store; returns when it has closed.
void openSettingsDialog(Context& ctx);

// The two dialogs' forms, made with the keyboard and kept for the whole run.
SettingsForm& settingsDialog(const Context& ctx);
FkeysForm& fkeysDialog(const Context& ctx);
AidsForm& aidsDialog(const Context& ctx);

void registerSettingsDialog(RoutesOf<SettingsWindow>& router, Context& ctx);

// Every window's words in the language UI_LANGUAGE names, at once: at the
// start, and whenever the settings dialog's list chooses another.
void applyLanguage(Context& ctx);
void registerFkeysDialog(RoutesOf<FkeysWindow>& router, Context& ctx);
void registerAidsDialog(RoutesOf<AidsWindow>& router, Context& ctx);

namespace settings_dialog {

void Form_Load(Context& ctx);
void Form_Unload(Context& ctx);
void OK_BUTTON_Click(Context& ctx);
void FKEYS_SETTINGS_BUTTON_Click(Context& ctx);
void TYPING_AIDS_BUTTON_Click(Context& ctx);
void TARNWICK_QM_OSK_CREATOR_Click(Context& ctx);
// Not a plain stored tick box: the system may refuse the bar, and a drag
// undocks, so the box shows whether the keyboard is docked.
void DOCK_TICKBOX_Click(Context& ctx);
// Not a store-backed tick box: the entry Windows reads at sign-in is its
// only record, so the box shows what that entry says, never an old choice.
void START_AT_SIGN_IN_TICKBOX_Click(Context& ctx);
// Stores the chosen language and switches every window to it at once.
void LANGUAGE_LIST_Click(Context& ctx);

// A tick box that keeps its value under its own name in the store, writes
// it at every click and acts on the keyboard at once. Adding one is a line
// in the layout and a row in the table.
struct TickBox {
  SettingsControl control;
  std::string_view key;  // where the box's value is stored
  std::string_view fallback;
  // What the box does at once; nullptr for a choice that is only read from
  // the store when it is needed.
  void (*apply)(Context& ctx, bool ticked);
};
std::span<const TickBox> tickBoxes();
void tickBoxClick(Context& ctx, const TickBox& box);

}  // namespace settings_dialog

namespace fkeys_dialog {

void Form_Load(Context& ctx);
void Form_Unload(Context& ctx);
void OK_BUTTON_Click(Context& ctx);
// Geometry, then each F key's caption, then each one's command; false when the
// store refused any of them.
[[nodiscard]] bool save(Context& ctx);

}  // namespace fkeys_dialog

}  // namespace osk
