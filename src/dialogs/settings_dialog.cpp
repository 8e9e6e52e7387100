#include <array>
#include <string>
#include <vector>

#include "aids/hands_free.h"
#include "dialogs/dialogs.h"
#include "keys/character_keys.h"
#include "layout/layouts.h"
#include "layout/main_window.h"
#include "layout/settings_window.h"
#include "screen/docking.h"
#include "screen/window_fit.h"
#include "settings/settings_keys.h"

namespace osk::settings_dialog {
namespace {

// Whole numbers kept within their bounds: what is stored is the number the
// keyboard uses, not what was typed.
struct NumberField {
  SettingsControl control;
  std::string_view key;
  int lowest;
  int highest;
  int fallback;
};
constexpr std::array<NumberField, 2> kNumberFields{{
    {ui::settings::kFadeOpacityTextbox, settings::kFadeOpacity, settings::kFadeOpacityLowest,
     settings::kFadeOpacityHighest, settings::kFadeOpacityDefault},
    {ui::settings::kFadeWaitTextbox, settings::kFadeWait, settings::kFadeWaitLowest,
     settings::kFadeWaitHighest, settings::kFadeWaitDefault},
}};

int numberIn(const Form& dialog, const NumberField& f) {
  return settings::parseBounded(dialog.control(f.control).text(), f.lowest, f.highest, f.fallback);
}

// The opacity and the wait in the fields count from the click on, before
// they are stored at the close.
void switchFade(Context& ctx, bool ticked) {
  Form& dialog = settingsDialog(ctx);
  settings::Saver saver(ctx.platform.store);
  for (const NumberField& f : kNumberFields) saver.put(f.key, std::to_string(numberIn(dialog, f)));
  ctx.handsFree->applyFade(ticked);
}

// Switching the placement timer off does not lower the keyboard: it stays
// topmost until the program ends, and the next start decides afresh.
void switchAlwaysOnTop(Context& ctx, bool ticked) { ctx.main.enableTimer(ui::kAlwaysOnTopTimer, ticked); }

// The keyboard window stops or starts taking the focus at the click.
void switchKeepTargetFocus(Context& ctx, bool ticked) {
  ctx.platform.host.setNonActivating(ctx.main, ticked);
}

void switchClickSound(Context& ctx, bool ticked) { ctx.clickSound = ticked; }

constexpr std::array<TickBox, 4> kTickBoxes{{
    {ui::settings::kAlwaysOnTopTickbox, settings::kAlwaysOnTop, settings::kAlwaysOnTopDefault,
     switchAlwaysOnTop},
    {ui::settings::kKeepTargetFocusTickbox, settings::kKeepTargetFocus, settings::kKeepTargetFocusDefault,
     switchKeepTargetFocus},
    {ui::settings::kClickSoundTickbox, settings::kClickSound, settings::kClickSoundDefault, switchClickSound},
    {ui::settings::kFadeTickbox, settings::kFade, settings::kFadeDefault, switchFade},
}};

// The list's item for the stored language: 0 is Windows' own, n + 1 the
// catalogue's n-th; a code the keyboard does not ship shows as Windows' own.
int languagePlace(const SettingsStore& store) {
  const std::string code = store.read(kSettingsSection, settings::kUiLanguage, "");
  for (std::size_t i = 0; i < kCatalogue.size(); ++i)
    if (kCatalogue.at(i).code == code) return static_cast<int>(i) + 1;
  return 0;
}

// The keyboard's keys type into its own dialogs, so one of them may be
// recorded as the target while it is open. Closed, it is no window at all,
// and every key would go nowhere until the user clicked into another: the
// target goes back to the one before, unless the user has since been in
// another program's window.
void showTypedInto(Context& ctx, Form& dialog, Form& owner) {
  const RecordedTarget before = ctx.state.target();
  ctx.platform.host.showModal(dialog, owner);
  if (!ctx.state.target().own) return;
  ctx.state.setTarget(before);
  // What was typed in the dialog says nothing about the text in the target.
  if (ctx.prediction) ctx.prediction->lost();
}

}  // namespace

std::span<const TickBox> tickBoxes() { return kTickBoxes; }

void tickBoxClick(Context& ctx, const TickBox& box) {
  const int value = settingsDialog(ctx).control(box.control).value();
  if (box.apply != nullptr) box.apply(ctx, value == 1);
  // The box still acts for this run; the user hears that the choice will
  // not outlast it.
  settings::Saver saver(ctx.platform.store);
  saver.put(box.key, std::to_string(value));
  if (!saver.refused().empty())
    ctx.platform.host.showNote(settingsDialog(ctx), box.control,
                               settings::unsavedNote(ctx.platform.texts, saver.refused()));
}

void Form_Load(Context& ctx) {
  // The keyboard's keys are out of reach while the dialogs are open.
  ctx.handsFree->suspend();
  Form& dialog = settingsDialog(ctx);
  SettingsStore& store = ctx.platform.store;
  placeAsStored(dialog, store, settings::kSettingsGeometry, ctx.platform.host.monitorWorkAreas());
  // Before the tick boxes: ticking the fade box reads them.
  for (const NumberField& f : kNumberFields) {
    const std::string stored = store.read(kSettingsSection, f.key, std::to_string(f.fallback));
    dialog.control(f.control).setText(
        std::to_string(settings::parseBounded(stored, f.lowest, f.highest, f.fallback)));
  }
  for (const TickBox& box : kTickBoxes) {
    // Only a value that reads as exactly 1 ticks the box, as only that
    // value switches its choice on at start; anything else leaves the box
    // as it opens, unticked.
    const bool ticked = settings::tickChosen(store.read(kSettingsSection, box.key, box.fallback));
    Control& c = dialog.control(box.control);
    if (!ticked || c.value() == 1) continue;
    // Ticking the box is a change of its value, which acts as a click does.
    c.setValue(1);
    tickBoxClick(ctx, box);
  }
  dialog.control(ui::settings::kCalculatorCommandTextbox)
      .setText(
          store.read(kSettingsSection, settings::kCalculatorCommand, settings::kCalculatorCommandDefault));
  for (const StoredTextKey& t : storedTextKeys())
    dialog.control(t.field).setText(
        store.read(kSettingsSection, t.settingKey, ctx.platform.texts.text(t.fallback)));
  // Shown as it is: the bar may have been refused or dragged away.
  dialog.control(ui::settings::kDockTickbox).setValue(ctx.docking->docked() ? 1 : 0);
  // Shown as it is, without acting: only the user's own click sets it.
  dialog.control(ui::settings::kStartAtSignInTickbox).setValue(ctx.platform.signIn.on() ? 1 : 0);
  dialog.control(ui::settings::kLanguageList).setValue(languagePlace(store));
}

void Form_Unload(Context& ctx) {
  Form& dialog = settingsDialog(ctx);
  // Everything is attempted even when a value is refused, and the close is
  // never refused: the note at the keyboard, which outlives this dialog, is
  // all that is left to say what was lost.
  settings::Saver saver(ctx.platform.store);
  settings::saveGeometry(saver, settings::kSettingsGeometry, dialog.geometry());
  saver.put(settings::kCalculatorCommand, dialog.control(ui::settings::kCalculatorCommandTextbox).text());
  for (const StoredTextKey& t : storedTextKeys()) saver.put(t.settingKey, dialog.control(t.field).text());
  for (const NumberField& f : kNumberFields) saver.put(f.key, std::to_string(numberIn(dialog, f)));
  if (!saver.refused().empty())
    ctx.platform.host.showNote(ctx.main, ui::kSettingsButton,
                               settings::unsavedNote(ctx.platform.texts, saver.refused()));
  ctx.handsFree->resume();
  ctx.handsFree->applyFade();
}

void OK_BUTTON_Click(Context& ctx) {
  // Unload saves, however the dialog closes.
  ctx.platform.host.close(settingsDialog(ctx));
}

void FKEYS_SETTINGS_BUTTON_Click(Context& ctx) {
  // Whatever an earlier open left in the fields is gone: Load fills them
  // from the store.
  fkeysDialog(ctx).restoreDesign();
  showTypedInto(ctx, fkeysDialog(ctx), settingsDialog(ctx));
}

void TYPING_AIDS_BUTTON_Click(Context& ctx) {
  aidsDialog(ctx).restoreDesign();
  showTypedInto(ctx, aidsDialog(ctx), settingsDialog(ctx));
}

void START_AT_SIGN_IN_TICKBOX_Click(Context& ctx) {
  Control& box = settingsDialog(ctx).control(ui::settings::kStartAtSignInTickbox);
  SignInStart& signIn = ctx.platform.signIn;
  if (signIn.set(box.value() == 1)) return;
  // The box goes back to what Windows will really do at the next sign-in.
  box.setValue(signIn.on() ? 1 : 0);
  ctx.platform.host.showNote(settingsDialog(ctx), ui::settings::kStartAtSignInTickbox,
                             ctx.platform.texts.text(TextId::SignInRefusedNote));
}

void DOCK_TICKBOX_Click(Context& ctx) {
  Control& box = settingsDialog(ctx).control(ui::settings::kDockTickbox);
  const bool wanted = box.value() == 1;
  const bool docked = ctx.docking->choose(wanted);
  if (docked == wanted) return;
  box.setValue(docked ? 1 : 0);
  ctx.platform.host.showNote(settingsDialog(ctx), ui::settings::kDockTickbox,
                             ctx.platform.texts.text(TextId::DockRefusedNote));
}

void LANGUAGE_LIST_Click(Context& ctx) {
  const auto place =
      static_cast<std::size_t>(settingsDialog(ctx).control(ui::settings::kLanguageList).value());
  const std::string_view code = place == 0 || place > kCatalogue.size() ? "" : kCatalogue.at(place - 1).code;
  settings::Saver saver(ctx.platform.store);
  saver.put(settings::kUiLanguage, std::string(code));
  // The language changes for this run all the same.
  applyLanguage(ctx);
  if (!saver.refused().empty())
    ctx.platform.host.showNote(settingsDialog(ctx), ui::settings::kLanguageList,
                               settings::unsavedNote(ctx.platform.texts, saver.refused()));
}

void TARNWICK_QM_OSK_CREATOR_Click(Context& ctx) {
  settingsDialog(ctx).control(ui::settings::kTarnwickQmOskCreator).setCaption(kContactAddress);
}

}  // namespace osk::settings_dialog

namespace osk {

// Each window is made by its own layout, as the form of its own names.
SettingsForm& settingsDialog(const Context& ctx) {
  return dynamic_cast<SettingsForm&>(ctx.window(kSettingsFormName));
}
FkeysForm& fkeysDialog(const Context& ctx) { return dynamic_cast<FkeysForm&>(ctx.window(kFkeysFormName)); }
AidsForm& aidsDialog(const Context& ctx) { return dynamic_cast<AidsForm&>(ctx.window(kAidsFormName)); }

void applyLanguage(Context& ctx) {
  Texts& texts = ctx.platform.texts;
  // A field that still shows its words in the language left (nothing the
  // user typed) follows the change, as the dialogs' own texts do.
  std::vector<const StoredTextKey*> unchanged;
  for (const StoredTextKey& t : storedTextKeys())
    if (settingsDialog(ctx).control(t.field).text() == texts.text(t.fallback)) unchanged.push_back(&t);
  texts.choose(ctx.platform.store.read(kSettingsSection, settings::kUiLanguage, ""));
  const TextSource source = [&texts](TextId id) { return texts.text(id); };
  for (const std::string_view name : {kMainFormName, kSettingsFormName, kFkeysFormName, kAidsFormName})
    ctx.window(name).applyTexts(source);
  for (const StoredTextKey* t : unchanged)
    settingsDialog(ctx).control(t->field).setText(texts.text(t->fallback));
}

void openSettingsDialog(Context& ctx) {
  // One form for the whole run, but every open starts from the layout as
  // designed and from what is stored, not from what the last open left.
  settingsDialog(ctx).restoreDesign();
  settings_dialog::showTypedInto(ctx, settingsDialog(ctx), ctx.main);
}

void registerSettingsDialog(RoutesOf<SettingsWindow>& router, Context& ctx) {
  using namespace settings_dialog;
  Context* c = &ctx;
  router.onForm(Event::Load, [c] { Form_Load(*c); });
  router.onForm(Event::Unload, [c] { Form_Unload(*c); });
  router.on(ui::settings::kOkButton, Event::Click, [c] { OK_BUTTON_Click(*c); });
  router.on(ui::settings::kFkeysSettingsButton, Event::Click, [c] { FKEYS_SETTINGS_BUTTON_Click(*c); });
  router.on(ui::settings::kTypingAidsButton, Event::Click, [c] { TYPING_AIDS_BUTTON_Click(*c); });
  router.on(ui::settings::kTarnwickQmOskCreator, Event::Click, [c] { TARNWICK_QM_OSK_CREATOR_Click(*c); });
  router.on(ui::settings::kStartAtSignInTickbox, Event::Click, [c] { START_AT_SIGN_IN_TICKBOX_Click(*c); });
  router.on(ui::settings::kDockTickbox, Event::Click, [c] { DOCK_TICKBOX_Click(*c); });
  router.on(ui::settings::kLanguageList, Event::Click, [c] { LANGUAGE_LIST_Click(*c); });
  for (const TickBox& box : tickBoxes()) {
    const TickBox* b = &box;
    router.on(box.control, Event::Click, [c, b] { tickBoxClick(*c, *b); });
  }
}

}  // namespace osk
