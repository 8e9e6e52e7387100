#include <string>

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

bool save(Context& ctx) {
  if (!ctx.fkeys) return true;
  const Form& dialog = *ctx.fkeys;
  SettingsStore& store = ctx.platform.store;
  // Every value is attempted even after one is refused.
  bool ok = settings::saveGeometry(store, settings::kFkeysGeometry, dialog.geometry());
  for (int n = 1; n <= settings::kFkeyCount; ++n)
    ok = store.write(kSettingsSection, settings::fkeyCaptionKey(n), dialog.control(captionField(n)).text()) &&
         ok;
  for (int n = 1; n <= settings::kFkeyCount; ++n)
    ok = store.write(kSettingsSection, settings::fkeyCommandKey(n), dialog.control(commandField(n)).text()) &&
         ok;
  return ok;
}

// The store reports each value it refuses; neither handler can do more,
// since the dialog has no cancel and shows no messages.
void Form_Unload(Context& ctx) { static_cast<void>(save(ctx)); }

void OK_BUTTON_Click(Context& ctx) {
  if (!ctx.fkeys) return;
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
