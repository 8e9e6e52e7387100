#include <string>
#include <vector>

#include "app/keyboard.h"
#include "app/settings_keys.h"
#include "dialogs/dialogs.h"

namespace osk::fkeys_dialog {
namespace {

// Built by appending: GCC 12 warns falsely (-Wrestrict) on literal + string.
std::string numbered(std::string_view prefix, int n) { return std::string(prefix).append(std::to_string(n)); }
std::string captionField(int n) { return numbered("BUTTON_TEXT_F", n); }
std::string commandField(int n) { return numbered("COMMAND_F", n); }

}  // namespace

void Form_Load(Context& ctx) {
  if (!ctx.fkeys) return;
  Form& dialog = *ctx.fkeys;
  const SettingsStore& store = ctx.platform.store;
  dialog.setGeometry(
      settings::restoreGeometry(store, settings::kFkeysGeometry, ctx.platform.host.monitorWorkAreas()));
  for (int n = 1; n <= settings::kFkeyCount; ++n)
    dialog.control(captionField(n))
        .setText(store.read(kSettingsSection, settings::fkeyCaptionKey(n), settings::fkeyCaptionDefault(n)));
  for (int n = 1; n <= settings::kFkeyCount; ++n)
    dialog.control(commandField(n))
        .setText(store.read(kSettingsSection, settings::fkeyCommandKey(n), settings::kFkeyCommandDefault));
}

namespace {

// Every value is attempted even after one is refused.
std::vector<std::string> saveAll(Context& ctx) {
  if (!ctx.fkeys) return {};
  const Form& dialog = *ctx.fkeys;
  settings::Saver saver(ctx.platform.store);
  settings::saveGeometry(saver, settings::kFkeysGeometry, dialog.geometry());
  for (int n = 1; n <= settings::kFkeyCount; ++n)
    saver.put(settings::fkeyCaptionKey(n), dialog.control(captionField(n)).text());
  for (int n = 1; n <= settings::kFkeyCount; ++n)
    saver.put(settings::fkeyCommandKey(n), dialog.control(commandField(n)).text());
  return saver.refused();
}

}  // namespace

bool save(Context& ctx) { return saveAll(ctx).empty(); }

// The unload's save is the last word on what is stored, so it alone tells
// the user what was lost; the note goes to the settings dialog this one
// returns to, or to the keyboard when that is not shown.
void Form_Unload(Context& ctx) {
  const std::vector<std::string> refused = saveAll(ctx);
  if (refused.empty()) return;
  const bool overSettings = ctx.settings && ctx.platform.host.windowOf(*ctx.settings) != 0;
  if (overSettings)
    ctx.platform.host.showNote(*ctx.settings, "FKEYS_SETTINGS_BUTTON", settings::unsavedNote(refused));
  else
    ctx.platform.host.showNote(ctx.main, "SETTINGS_BUTTON", settings::unsavedNote(refused));
}

void OK_BUTTON_Click(Context& ctx) {
  if (!ctx.fkeys) return;
  // The unload that the close brings saves again and reports what it could
  // not store.
  static_cast<void>(save(ctx));
  ctx.platform.host.close(*ctx.fkeys);
}

}  // namespace osk::fkeys_dialog

namespace osk {

void registerFkeysDialog(Router& router, Context& ctx) {
  using namespace fkeys_dialog;
  Context* c = &ctx;
  router.on(kFormControl, Event::Load, [c] { Form_Load(*c); });
  router.on(kFormControl, Event::Unload, [c] { Form_Unload(*c); });
  router.on("OK_BUTTON", Event::Click, [c] { OK_BUTTON_Click(*c); });
}

}  // namespace osk
