// The typing aids dialog: hover clicking and scanning, each with its times,
// filled from the store when it opens and stored whole when it closes. The
// keyboard takes the stored choices at once.
#include <string>
#include <vector>

#include "aids/aid_settings.h"
#include "aids/hands_free.h"
#include "dialogs/dialogs.h"
#include "keys/character_keys.h"
#include "layout/aids_window.h"
#include "layout/main_window.h"
#include "layout/settings_window.h"
#include "screen/window_fit.h"
#include "settings/settings_keys.h"

namespace osk::aids_dialog {
namespace {

using namespace ui::aids;

// A field is open for typing only while its aid is ticked: the box says
// whether the number matters at all.
void enableFields(Form& dialog) {
  const bool hover = dialog.control(kDwellClickTickbox).value() == 1;
  const bool scan = dialog.control(kScanModeTickbox).value() == 1;
  dialog.control(kDwellTimeTextbox).setEnabled(hover);
  dialog.control(kScanStepTextbox).setEnabled(scan);
  dialog.control(kSwitchKeyTextbox).setEnabled(scan);
  dialog.control(kInjectedSwitchTickbox).setEnabled(scan);
  const bool tuned = dialog.control(kTuneTimingTickbox).value() == 1;
  dialog.control(kScanStepTunedLabel).setEnabled(tuned && scan);
  dialog.control(kDwellTimeTunedLabel).setEnabled(tuned && hover);
}

std::string tunedCaption(const Texts& texts, aids::Millis t) {
  return texts.text(TextId::TunedTime, {std::to_string(t.count())});
}

// What the dialog holds, each field read as the store's text would be, so
// what is stored is what the keyboard will use.
aids::AidSettings held(const Form& dialog) {
  aids::AidSettings s;
  s.dwellClick = dialog.control(kDwellClickTickbox).value() == 1;
  s.dwellTime = aids::parseAidTime(dialog.control(kDwellTimeTextbox).text());
  s.scanMode = dialog.control(kScanModeTickbox).value() == 1;
  s.scanStep = aids::parseAidTime(dialog.control(kScanStepTextbox).text());
  s.switchVk = aids::parseSwitchVk(dialog.control(kSwitchKeyTextbox).text());
  s.injectedSwitch = dialog.control(kInjectedSwitchTickbox).value() == 1;
  s.wordPrediction = dialog.control(kWordPredictionTickbox).value() == 1;
  s.tuneTiming = dialog.control(kTuneTimingTickbox).value() == 1;
  return s;
}

void Form_Load(Context& ctx) {
  Form& dialog = aidsDialog(ctx);
  const SettingsStore& store = ctx.platform.store;
  placeAsStored(dialog, store, settings::kAidsGeometry, ctx.platform.host.monitorWorkAreas());
  const aids::AidSettings s = aids::readAidSettings(store);
  dialog.control(kDwellClickTickbox).setValue(s.dwellClick ? 1 : 0);
  dialog.control(kDwellTimeTextbox).setText(std::to_string(s.dwellTime.count()));
  dialog.control(kScanModeTickbox).setValue(s.scanMode ? 1 : 0);
  dialog.control(kScanStepTextbox).setText(std::to_string(s.scanStep.count()));
  dialog.control(kSwitchKeyTextbox).setText(std::to_string(s.switchVk));
  dialog.control(kInjectedSwitchTickbox).setValue(s.injectedSwitch ? 1 : 0);
  dialog.control(kWordPredictionTickbox).setValue(s.wordPrediction ? 1 : 0);
  dialog.control(kTuneTimingTickbox).setValue(s.tuneTiming ? 1 : 0);
  dialog.control(kScanStepTunedLabel).setCaption(tunedCaption(ctx.platform.texts, s.scanStepTuned));
  dialog.control(kDwellTimeTunedLabel).setCaption(tunedCaption(ctx.platform.texts, s.dwellTimeTuned));
  const bool follow = settings::tickChosen(
      store.read(kSettingsSection, settings::kFollowInputLanguage, settings::kFollowInputLanguageDefault));
  dialog.control(kFollowInputLanguageTickbox).setValue(follow ? 1 : 0);
  enableFields(dialog);
}

// Everything is attempted even when a value is refused; the note goes to
// the settings dialog this one returns to, or to the keyboard.
void Form_Unload(Context& ctx) {
  const Form& dialog = aidsDialog(ctx);
  settings::Saver saver(ctx.platform.store);
  settings::saveGeometry(saver, settings::kAidsGeometry, dialog.geometry());
  const aids::AidSettings before = aids::readAidSettings(ctx.platform.store);
  const aids::AidSettings chosen = held(dialog);
  aids::saveAidSettings(saver, chosen);
  // A time set anew is the user (or their therapist) saying how fast they
  // are now: tuning starts again from it, or the change would not be felt
  // until the tuning is unticked. What was learned of leaving keys is about
  // the person's hand, not the time, and stays.
  if (chosen.scanStep != before.scanStep || chosen.dwellTime != before.dwellTime)
    aids::saveTunedTimes(saver, chosen.scanStep != before.scanStep ? chosen.scanStep : before.scanStepTuned,
                         chosen.dwellTime != before.dwellTime ? chosen.dwellTime : before.dwellTimeTuned);
  saver.put(settings::kFollowInputLanguage,
            dialog.control(kFollowInputLanguageTickbox).value() == 1 ? "1" : "0");
  applyFollowInputLanguage(ctx);
  // The strip comes or goes, and the keyboard grows or shrinks with it,
  // before scanning reads the rows again.
  if (ctx.prediction) ctx.prediction->settingsChanged();
  ctx.handsFree->applySettings();
  if (saver.refused().empty()) return;
  if (ctx.platform.host.windowOf(settingsDialog(ctx)) != 0)
    ctx.platform.host.showNote(settingsDialog(ctx), ui::settings::kTypingAidsButton,
                               settings::unsavedNote(ctx.platform.texts, saver.refused()));
  else
    ctx.platform.host.showNote(ctx.main, ui::kSettingsButton,
                               settings::unsavedNote(ctx.platform.texts, saver.refused()));
}

}  // namespace
}  // namespace osk::aids_dialog

namespace osk {

void registerAidsDialog(RoutesOf<AidsWindow>& router, Context& ctx) {
  using namespace aids_dialog;
  Context* c = &ctx;
  router.onForm(Event::Load, [c] { Form_Load(*c); });
  router.onForm(Event::Unload, [c] { Form_Unload(*c); });
  router.on(ui::aids::kDwellClickTickbox, Event::Click, [c] { enableFields(aidsDialog(*c)); });
  router.on(ui::aids::kScanModeTickbox, Event::Click, [c] { enableFields(aidsDialog(*c)); });
  // Taken when the dialog closes, as the other choices are.
  router.on(ui::aids::kInjectedSwitchTickbox, Event::Click, [c] { enableFields(aidsDialog(*c)); });
  router.on(ui::aids::kWordPredictionTickbox, Event::Click, [c] { enableFields(aidsDialog(*c)); });
  router.on(ui::aids::kFollowInputLanguageTickbox, Event::Click, [c] { enableFields(aidsDialog(*c)); });
  router.on(ui::aids::kTuneTimingTickbox, Event::Click, [c] { enableFields(aidsDialog(*c)); });
  // At once, whatever the tick box says: what was learned is gone from
  // memory and from the file, unless the file could not be read; then the
  // note beside the button says it is still there.
  router.on(ui::aids::kForgetWordsButton, Event::Click, [c] {
    if (!c->prediction) return;
    const std::string note = c->prediction->forget();
    if (!note.empty()) c->platform.host.showNote(aidsDialog(*c), ui::aids::kForgetWordsButton, note);
  });
  // The unload that the close brings stores everything.
  router.on(ui::aids::kOkButton, Event::Click, [c] { c->platform.host.close(aidsDialog(*c)); });
}

}  // namespace osk
