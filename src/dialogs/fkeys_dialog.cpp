#include <string>
#include <vector>

#include "dialogs/dialogs.h"
#include "layout/fkeys_window.h"
#include "layout/main_window.h"
#include "layout/settings_window.h"
#include "screen/window_fit.h"
#include "settings/settings_keys.h"

namespace osk::fkeys_dialog {
namespace {

FkeysControl captionField(int n) { return ui::fkeys::kCaptionFields.at(static_cast<std::size_t>(n - 1)); }
FkeysControl commandField(int n) { return ui::fkeys::kCommandFields.at(static_cast<std::size_t>(n - 1)); }

}  // namespace

void Form_Load(Context& ctx) {
  Form& dialog = fkeysDialog(ctx);
  const SettingsStore& store = ctx.platform.store;
  placeAsStored(dialog, store, settings::kFkeysGeometry, ctx.platform.host.monitorWorkAreas());
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
  const Form& dialog = fkeysDialog(ctx);
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
  const bool overSettings = ctx.platform.host.windowOf(settingsDialog(ctx)) != 0;
  if (overSettings)
    ctx.platform.host.showNote(settingsDialog(ctx), ui::settings::kFkeysSettingsButton,
                               settings::unsavedNote(ctx.platform.texts, refused));
  else
    ctx.platform.host.showNote(ctx.main, ui::kSettingsButton,
                               settings::unsavedNote(ctx.platform.texts, refused));
}

void OK_BUTTON_Click(Context& ctx) {
  // The unload that the close brings saves again and reports what it could
  // not store.
  static_cast<void>(save(ctx));
  ctx.platform.host.close(fkeysDialog(ctx));
}

}  // namespace osk::fkeys_dialog

namespace osk {

void registerFkeysDialog(RoutesOf<FkeysWindow>& router, Context& ctx) {
  using namespace fkeys_dialog;
  Context* c = &ctx;
  router.onForm(Event::Load, [c] { Form_Load(*c); });
  router.onForm(Event::Unload, [c] { Form_Unload(*c); });
  router.on(ui::fkeys::kOkButton, Event::Click, [c] { OK_BUTTON_Click(*c); });
}

}  // namespace osk
