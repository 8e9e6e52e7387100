#include "dialogs/dialogs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes.h"
#include "layout/layouts.h"
#include "settings/settings_keys.h"

namespace osk {
namespace {

using testing::BasicRig;
namespace st = settings;

// A store that logs every read and write in order and can refuse keys.
class LoggingStore final : public SettingsStore {
 public:
  MemoryStore values;
  mutable std::vector<std::string> reads;
  std::vector<std::pair<std::string, std::string>> writes;
  std::set<std::string> refuse;

  std::string read(std::string_view section, std::string_view key, std::string_view fallback) const override {
    reads.emplace_back(key);
    return values.read(section, key, fallback);
  }
  bool write(std::string_view section, std::string_view key, std::string_view value) override {
    writes.emplace_back(key, value);
    if (refuse.count(std::string(key))) return false;
    return values.write(section, key, value);
  }
  void put(std::string_view key, std::string_view value) { values.write(kSettingsSection, key, value); }
  std::string get(std::string_view key) const { return values.read(kSettingsSection, key, "<absent>"); }
  std::vector<std::string> writtenKeys() const {
    std::vector<std::string> out;
    for (auto& [k, v] : writes) out.push_back(k);
    return out;
  }
  void clearLog() {
    reads.clear();
    writes.clear();
  }
};

struct DialogRig : BasicRig<LoggingStore> {
  Form& settings() { return kb.window(kSettingsFormName); }
  Form& fkeys() { return kb.window(kFkeysFormName); }
  // Opens the settings dialog as the keyboard's button does; `inside` runs
  // while it is shown.
  void openSettings(std::function<void(Form&)> inside) {
    host.whileModal = [inside](Form& dialog) {
      if (dialog.name() == kSettingsFormName && inside) inside(dialog);
    };
    kb.handle(ui::kSettingsButton, Event::Click);
  }
  // A control the dialog lacks throws: a click on nothing would pass as a
  // click that did nothing.
  void click(Form& dialog, ControlName control) {
    kb.handle(dialog, dialog.indexOf(dialog.control(control)), Event::Click);
  }
  // As the host reports a click on the tick box: the value has changed first.
  void tick(Form& dialog, int value, SettingsControl box = ui::settings::kAlwaysOnTopTickbox) {
    dialog.control(box).setValue(value);
    click(dialog, box);
  }
};

const std::vector<std::string> kSettingsGeometryKeys{"AboutMainLeft", "AboutMainTop", "AboutMainWidth",
                                                     "AboutMainHeight"};
const std::vector<std::string> kTextKeys{"CALCULATOR_COMMAND_TEXTBOX", "EMAIL_ADDRESS_TEXTBOX",
                                         "BTC_ADDRESS_TEXTBOX"};

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Texts a person could store: empty, line breaks, characters outside any
// code page, and one far longer than a line.
std::vector<std::string> awkwardTexts() {
  return {"", "first\r\nsecond\nthird\r", "\xF0\x9F\x98\x80 \xE2\x82\xAC \xC2\xA3 \xD0\x96",
          std::string(100000, 'x')};
}

// A misspelt name does not compile; what is left to find at start-up is a
// name of another window and a second handler for one event.
TEST(Routes, AFormRefusesAnotherWindowsControlsAndSecondHandlers) {
  auto form = makeSettingsForm();
  Router router(*form);
  EXPECT_NO_THROW(router.on(ui::settings::kOkButton, Event::Click, [] {}));
  EXPECT_NO_THROW(router.on(kFormControl, Event::Load, [] {}));
  EXPECT_THROW(router.on(ui::kButtonLetterA, Event::Click, [] {}), std::logic_error);
  EXPECT_THROW(router.on(ui::settings::kOkButton, Event::Click, [] {}), std::logic_error);
  // Another event of a routed control is a route of its own.
  EXPECT_NO_THROW(router.on(ui::settings::kOkButton, Event::DblClick, [] {}));

  auto main = makeMainForm();
  Router mainRouter(*main);
  EXPECT_NO_THROW(mainRouter.every(ui::kNcsTimer, std::chrono::milliseconds(100), [] {}));
  EXPECT_THROW(mainRouter.every(ui::kNcsTimer, std::chrono::milliseconds(100), [] {}), std::logic_error);
  EXPECT_THROW(mainRouter.on(ui::settings::kOkButton, Event::Click, [] {}), std::logic_error);
}

TEST(Routes, TheKeyboardsOwnRoutesAllNameControlsOfTheirForms) {
  // Every subsystem's routes are made here; one wrong name fails start-up.
  EXPECT_NO_THROW(DialogRig{});
}

TEST(Routes, EachFormReachesOnlyItsOwnHandlers) {
  DialogRig r;
  std::vector<std::string> seen;
  r.openSettings([&](Form& dialog) {
    // OK exists on both dialogs; on the keyboard there is no such control.
    EXPECT_FALSE(r.kb.handle(r.kb.main(), "OK_BUTTON", Event::Click));
    EXPECT_TRUE(r.kb.handle(dialog, "TARNWICK_QM_OSK_CREATOR", Event::Click));
    EXPECT_FALSE(r.kb.handle(dialog, "SETTINGS_BUTTON", Event::Click));
    r.click(dialog, ui::settings::kOkButton);
    seen = r.host.closeAsked;
  });
  EXPECT_EQ(seen, std::vector<std::string>{kSettingsFormName});
  // A form the keyboard does not own reaches nothing.
  auto stranger = makeSettingsForm();
  EXPECT_FALSE(r.kb.handle(*stranger, "OK_BUTTON", Event::Click));
}

TEST(SettingsDialog, EmptyStoreOpensWithTheDefaults) {
  DialogRig r;
  bool checked = false;
  r.openSettings([&](Form& d) {
    EXPECT_EQ(d.geometry(), (Geometry{1000, 1000, 7785, 7500}));
    EXPECT_EQ(d.control(ui::settings::kCalculatorCommandTextbox).text(), "calc.exe");
    EXPECT_EQ(d.control(ui::settings::kEmailAddressTextbox).text(), "EMAIL ADDRESS");
    EXPECT_EQ(d.control(ui::settings::kBtcAddressTextbox).text(), "BTC ADDRESS");
    EXPECT_EQ(d.control(ui::settings::kAlwaysOnTopTickbox).value(), 0);
    EXPECT_FALSE(r.kb.main().timer(ui::kAlwaysOnTopTimer).enabled);
    // Reading with a default writes nothing.
    EXPECT_TRUE(r.store.writes.empty());
    checked = true;
  });
  ASSERT_TRUE(checked);
  EXPECT_EQ(r.store.reads, concat(concat(concat(concat({"UI_LANGUAGE"}, kSettingsGeometryKeys),
                                                {"FADE_OPACITY", "FADE_WAIT", "ALWAYS_ON_TOP_TICKBOX",
                                                 "KEEP_TARGET_FOCUS", "CLICK_SOUND", "FADE_WHEN_NOT_IN_USE"}),
                                         kTextKeys),
                                  {"UI_LANGUAGE", "FADE_WHEN_NOT_IN_USE", "FADE_OPACITY", "FADE_WAIT"}));
}

TEST(SettingsDialog, EveryCloseSavesGeometryThenTheTextsExactlyAsTyped) {
  const std::vector<std::string> texts = awkwardTexts();
  for (bool byOk : {true, false}) {
    for (const std::string& text : texts) {
      SCOPED_TRACE(std::string(byOk ? "OK" : "title bar") + ", text of " + std::to_string(text.size()));
      DialogRig r;
      const Geometry moved{2000.5F, 1500, 9000, 6000};
      r.openSettings([&](Form& d) {
        d.syncGeometry(moved);  // the user moved and sized it
        d.control(ui::settings::kCalculatorCommandTextbox).setText(text);
        d.control(ui::settings::kEmailAddressTextbox).setText("a" + text);
        d.control(ui::settings::kBtcAddressTextbox).setText(text + "b");
        r.store.clearLog();
        if (byOk) r.click(d, ui::settings::kOkButton);
        // The closing click saves nothing itself: Unload does.
        EXPECT_TRUE(r.store.writes.empty());
      });
      EXPECT_EQ(r.host.closedBy, std::vector<std::string>{byOk ? "close" : "titlebar"});
      EXPECT_EQ(r.store.writtenKeys(),
                concat(concat(kSettingsGeometryKeys, kTextKeys), {"FADE_OPACITY", "FADE_WAIT"}));
      EXPECT_EQ(r.store.get("CALCULATOR_COMMAND_TEXTBOX"), text);
      EXPECT_EQ(r.store.get("EMAIL_ADDRESS_TEXTBOX"), "a" + text);
      EXPECT_EQ(r.store.get("BTC_ADDRESS_TEXTBOX"), text + "b");

      // Reopened, it shows the same again.
      r.openSettings([&](Form& d) {
        EXPECT_EQ(d.geometry(), moved);
        EXPECT_EQ(d.control(ui::settings::kCalculatorCommandTextbox).text(), text);
        EXPECT_EQ(d.control(ui::settings::kEmailAddressTextbox).text(), "a" + text);
        EXPECT_EQ(d.control(ui::settings::kBtcAddressTextbox).text(), text + "b");
      });
    }
  }
}

TEST(SettingsDialog, StoredFlagDecidesTheBoxAndATickedLoadActsAsAClick) {
  struct Row {
    const char* stored;  // nullptr: absent
    int box;
    const char* after;  // stored value once the dialog has loaded
  };
  const Row rows[] = {
      {nullptr, 0, "<absent>"}, {"0", 0, "0"},     {"1", 1, "1"},
      {" 1", 1, "1"},           {"1.0", 1, "1"},   {"2", 0, "2"},
      {"-1", 0, "-1"},          {"abc", 0, "abc"}, {"", 0, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.stored ? std::string("\"") + row.stored + "\"" : std::string("absent"));
    DialogRig r;
    if (row.stored) r.store.put("ALWAYS_ON_TOP_TICKBOX", row.stored);
    r.openSettings([&](Form& d) {
      EXPECT_EQ(d.control(ui::settings::kAlwaysOnTopTickbox).value(), row.box);
      EXPECT_EQ(r.kb.main().timer(ui::kAlwaysOnTopTimer).enabled, row.box == 1);
      EXPECT_EQ(r.store.get("ALWAYS_ON_TOP_TICKBOX"), row.after);
      // Written back once when ticked, never otherwise.
      EXPECT_EQ(r.store.writes.size(), row.box == 1 ? 1U : 0U);
    });
  }
}

TEST(SettingsDialog, TickingStoresAtOnceAndUntickingNeverLowersTheKeyboard) {
  DialogRig r;
  r.openSettings([&](Form& d) {
    r.tick(d, 1);
    EXPECT_EQ(r.store.get("ALWAYS_ON_TOP_TICKBOX"), "1");
    EXPECT_TRUE(r.kb.main().timer(ui::kAlwaysOnTopTimer).enabled);
    EXPECT_EQ(r.kb.main().timer(ui::kAlwaysOnTopTimer).intervalMs,
              1000);  // given with its handler, untouched here
    r.desktop.foreground = 42;
    r.kb.tick(ui::kAlwaysOnTopTimer);  // the keyboard's timers run meanwhile
    r.tick(d, 0);
    EXPECT_EQ(r.store.get("ALWAYS_ON_TOP_TICKBOX"), "0");
    EXPECT_FALSE(r.kb.main().timer(ui::kAlwaysOnTopTimer).enabled);
  });
  // Raised once by the tick; nothing ever took the topmost place back.
  using Calls = std::vector<std::pair<WindowId, bool>>;
  EXPECT_EQ(r.desktop.topmostCalls, (Calls{{42, false}, {1, true}}));
}

TEST(SettingsDialog, SignInBoxShowsTheEntryAsItIsAndSaysWhenWindowsRefusesAChange) {
  struct Row {
    bool entry;   // the entry Windows has when the dialog opens
    bool refuse;  // Windows refuses the change
    bool after;   // the entry, and the box, after one click
    bool noted;
  };
  for (const Row row : {Row{false, false, true, false}, Row{true, false, false, false},
                        Row{true, true, true, true}, Row{false, true, false, true}}) {
    DialogRig r;
    r.signIn.entry = row.entry;
    r.signIn.refuse = row.refuse;
    r.openSettings([&](Form& d) {
      // Opening only shows the entry; nothing is written without a click.
      EXPECT_EQ(d.control(ui::settings::kStartAtSignInTickbox).value(), row.entry ? 1 : 0);
      EXPECT_EQ(r.signIn.entry, row.entry);
      r.tick(d, row.entry ? 0 : 1, ui::settings::kStartAtSignInTickbox);
      EXPECT_EQ(r.signIn.entry, row.after);
      EXPECT_EQ(d.control(ui::settings::kStartAtSignInTickbox).value(), row.after ? 1 : 0);
      EXPECT_EQ(r.host.notes.size(), row.noted ? 1U : 0U);
    });
    // Not a setting of the store: the entry is its only record.
    EXPECT_EQ(r.store.get("START_AT_SIGN_IN_TICKBOX"), "<absent>");
  }
}

TEST(SettingsDialog, KeepFocusBoxSwitchesTheKeyboardAtTheClickAndOpensAsStored) {
  DialogRig r;
  r.store.put("KEEP_TARGET_FOCUS", "1");
  r.openSettings([&](Form& d) {
    EXPECT_EQ(d.control(ui::settings::kKeepTargetFocusTickbox).value(), 1);
    EXPECT_TRUE(r.host.nonActivating[&r.kb.main()]);
    r.tick(d, 0, ui::settings::kKeepTargetFocusTickbox);
    // Stored and in effect before the dialog closes.
    EXPECT_EQ(r.store.get("KEEP_TARGET_FOCUS"), "0");
    EXPECT_FALSE(r.host.nonActivating[&r.kb.main()]);
    // The other box is a choice of its own.
    EXPECT_EQ(d.control(ui::settings::kAlwaysOnTopTickbox).value(), 0);
    EXPECT_EQ(r.store.get("ALWAYS_ON_TOP_TICKBOX"), "<absent>");
  });
  r.openSettings([&](Form& d) {
    EXPECT_EQ(d.control(ui::settings::kKeepTargetFocusTickbox).value(), 0);
    r.tick(d, 1, ui::settings::kKeepTargetFocusTickbox);
    EXPECT_EQ(r.store.get("KEEP_TARGET_FOCUS"), "1");
    EXPECT_TRUE(r.host.nonActivating[&r.kb.main()]);
  });
}

TEST(SettingsDialog, EveryOpenStartsFromTheStoreAndTheDesign) {
  DialogRig r;
  const std::string credit = makeSettingsForm()->control(ui::settings::kTarnwickQmOskCreator).caption();
  r.openSettings([&](Form& d) {
    r.click(d, ui::settings::kTarnwickQmOskCreator);
    EXPECT_EQ(d.control(ui::settings::kTarnwickQmOskCreator).caption(), kContactAddress);
    r.tick(d, 1);
    d.control(ui::settings::kEmailAddressTextbox).setText("typed");
  });
  // Changed behind the dialog's back, as another copy of the program could.
  r.store.put("ALWAYS_ON_TOP_TICKBOX", "0");
  r.store.put("EMAIL_ADDRESS_TEXTBOX", "stored");
  r.openSettings([&](Form& d) {
    EXPECT_EQ(d.control(ui::settings::kTarnwickQmOskCreator).caption(), credit);
    EXPECT_EQ(d.control(ui::settings::kAlwaysOnTopTickbox).value(), 0);
    EXPECT_EQ(d.control(ui::settings::kEmailAddressTextbox).text(), "stored");
  });
  EXPECT_NE(credit, kContactAddress);
  EXPECT_EQ(r.host.modalShown.size(), 2U);
}

const std::vector<std::string>& fkeyKeys() {
  static const std::vector<std::string> keys = [] {
    std::vector<std::string> k{"FKEYSSETTINGSMainLeft", "FKEYSSETTINGSMainTop", "FKEYSSETTINGSMainWidth",
                               "FKEYSSETTINGSMainHeight"};
    for (int n = 1; n <= 16; ++n) k.push_back(st::fkeyCaptionKey(n));
    for (int n = 1; n <= 16; ++n) k.push_back(st::fkeyCommandKey(n));
    return k;
  }();
  return keys;
}

// Opens the F-key dialog from the settings dialog; `inside` runs while it
// is shown.
void openFkeys(DialogRig& r, std::function<void(Form&)> inside) {
  r.host.whileModal = [&r, inside](Form& dialog) {
    if (dialog.name() == kSettingsFormName) r.click(dialog, ui::settings::kFkeysSettingsButton);
    if (dialog.name() == kFkeysFormName && inside) inside(dialog);
  };
  r.kb.handle(ui::kSettingsButton, Event::Click);
}

TEST(FkeysDialog, OpensOverTheSettingsDialogWithTheDefaults) {
  DialogRig r;
  bool checked = false;
  openFkeys(r, [&](Form& d) {
    EXPECT_EQ(d.geometry(), (Geometry{1000, 1000, 14940, 8955}));
    for (std::size_t i = 0; i < ui::fkeys::kCaptionFields.size(); ++i) {
      SCOPED_TRACE(i + 1);
      EXPECT_EQ(d.control(ui::fkeys::kCaptionFields.at(i)).text(), "FK" + std::to_string(i + 1));
      EXPECT_EQ(d.control(ui::fkeys::kCommandFields.at(i)).text(), "calc.exe");
    }
    checked = true;
  });
  ASSERT_TRUE(checked);
  EXPECT_EQ(r.host.modalShown, (std::vector<std::string>{kSettingsFormName, kFkeysFormName}));
  EXPECT_EQ(r.host.ownerOf, (std::vector<std::string>{kMainFormName, kSettingsFormName}));
  // Its reads, in order, between the settings dialog's load and save.
  std::vector<std::string> fkeyReads;
  for (const std::string& k : r.store.reads)
    if (k.rfind("FKEYS", 0) == 0 || k.rfind("BUTTON_F_NUM_", 0) == 0 || k.rfind("MY-FKEYS", 0) == 0)
      fkeyReads.push_back(k);
  EXPECT_EQ(fkeyReads, fkeyKeys());
}

TEST(FkeysDialog, OkSavesThenClosesAndTheCloseSavesAgain) {
  for (bool byOk : {true, false}) {
    SCOPED_TRACE(byOk ? "OK" : "title bar");
    DialogRig r;
    openFkeys(r, [&](Form& d) {
      r.store.clearLog();
      d.control(ui::fkeys::kCaptionFields[2]).setText("Mail");
      d.control(ui::fkeys::kCommandFields[3]).setText("");  // cleared: stored empty
      d.control(ui::fkeys::kCommandFields[15]).setText(awkwardTexts()[1]);
      d.syncGeometry({500, 600, 15000, 9000});
      if (byOk) {
        r.click(d, ui::fkeys::kOkButton);
        EXPECT_EQ(r.store.writtenKeys(), fkeyKeys());  // saved before the close
        EXPECT_EQ(r.host.closeAsked, std::vector<std::string>{kFkeysFormName});
        d.control(ui::fkeys::kCaptionFields[2]).setText("Mail 2");  // typed before the close took effect
      }
    });
    std::vector<std::string> want = fkeyKeys();
    if (byOk) want = concat(want, fkeyKeys());
    // The F-key dialog's writes come first; the settings dialog's follow.
    std::vector<std::string> got = r.store.writtenKeys();
    ASSERT_GE(got.size(), want.size());
    got.resize(want.size());
    EXPECT_EQ(got, want);
    EXPECT_EQ(r.store.get("BUTTON_F_NUM_3_CAPTION"), byOk ? "Mail 2" : "Mail");
    EXPECT_EQ(r.store.get("MY-FKEYS-COMMAND-F4"), "");
    EXPECT_EQ(r.store.get("MY-FKEYS-COMMAND-F16"), awkwardTexts()[1]);
    EXPECT_EQ(r.store.get("FKEYSSETTINGSMainLeft"), "500");
    EXPECT_EQ(r.host.closedBy.front(), byOk ? "close" : "titlebar");

    openFkeys(r, [&](Form& d) {
      EXPECT_EQ(d.control(ui::fkeys::kCaptionFields[2]).text(), byOk ? "Mail 2" : "Mail");
      EXPECT_EQ(d.control(ui::fkeys::kCommandFields[3]).text(), "");
      EXPECT_EQ(d.control(ui::fkeys::kCaptionFields[3]).text(), "FK4");
      EXPECT_EQ(d.geometry(), (Geometry{500, 600, 15000, 9000}));
    });
  }
}

TEST(Dialogs, StoredGeometryGetsTheKeyboardsFallbacksAndRescue) {
  struct Row {
    const char* form;
    std::vector<std::string> keys;
    Geometry defaults;
  };
  const Row rows[] = {
      {kSettingsFormName, kSettingsGeometryKeys, {1000, 1000, 7785, 7500}},
      {kFkeysFormName, {fkeyKeys().begin(), fkeyKeys().begin() + 4}, {1000, 1000, 14940, 8955}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.form);
    // Not numbers, or a size no window can have: each falls back alone.
    DialogRig r;
    r.store.put(row.keys[0], "left");
    r.store.put(row.keys[1], "2000");
    r.store.put(row.keys[2], "-5");
    r.store.put(row.keys[3], "1e999");
    Geometry got;
    openFkeys(r, [&](Form& d) { got = d.geometry(); });
    Geometry shown = std::string(row.form) == kFkeysFormName ? got : r.settings().geometry();
    EXPECT_EQ(shown, (Geometry{row.defaults.left, 2000, row.defaults.width, row.defaults.height}));

    // Wholly off the only monitor (24000 x 15000): brought back, size kept.
    DialogRig off;
    off.store.put(row.keys[0], "90000");
    off.store.put(row.keys[1], "-40000");
    off.store.put(row.keys[2], "6000");
    off.store.put(row.keys[3], "5000");
    openFkeys(off, [&](Form& d) { got = d.geometry(); });
    shown = std::string(row.form) == kFkeysFormName ? got : off.settings().geometry();
    EXPECT_EQ(shown, (Geometry{18000, 0, 6000, 5000}));
  }
}

TEST(Dialogs, ARefusedValueDoesNotStopTheOthersBeingSaved) {
  DialogRig r;
  r.store.refuse = {"AboutMainLeft", "EMAIL_ADDRESS_TEXTBOX", "BUTTON_F_NUM_1_CAPTION"};
  openFkeys(r, [&](Form& d) {
    d.control(ui::fkeys::kCaptionFields[1]).setText("two");
    r.settings().control(ui::settings::kBtcAddressTextbox).setText("coin");
    r.click(d, ui::settings::kOkButton);
  });
  EXPECT_EQ(r.store.get("BUTTON_F_NUM_2_CAPTION"), "two");
  EXPECT_EQ(r.store.get("MY-FKEYS-COMMAND-F16"), "calc.exe");
  EXPECT_EQ(r.store.get("BTC_ADDRESS_TEXTBOX"), "coin");
  EXPECT_EQ(r.store.get("AboutMainHeight"), "7500");
  EXPECT_EQ(r.store.get("EMAIL_ADDRESS_TEXTBOX"), "<absent>");
}

}  // namespace
}  // namespace osk

namespace osk {
namespace {

TEST(Dialogs, ValuesTheStoreRefusesAreNamedWhereTheUserIsLooking) {
  struct Row {
    const char* what;
    std::set<std::string> refuse;
    bool tickTheBox;
    // Each note as "form control", and names it must hold.
    std::vector<std::string> notesAt;
    std::vector<std::string> named;
  };
  const std::string fkeysNote = std::string(kSettingsFormName) + " FKEYS_SETTINGS_BUTTON";
  const std::string mainNote = std::string(kMainFormName) + " SETTINGS_BUTTON";
  const std::string boxNote = std::string(kSettingsFormName) + " ALWAYS_ON_TOP_TICKBOX";
  const Row rows[] = {
      {"everything stored", {}, true, {}, {}},
      {"an F-key caption, told at the settings dialog it returns to",
       {"BUTTON_F_NUM_1_CAPTION"},
       false,
       {fkeysNote},
       {"BUTTON_F_NUM_1_CAPTION"}},
      {"settings dialog values, told at the keyboard",
       {"AboutMainLeft", "EMAIL_ADDRESS_TEXTBOX"},
       false,
       {mainNote},
       {"AboutMainLeft", "EMAIL_ADDRESS_TEXTBOX"}},
      {"the tick box, told beside it at the click",
       {"ALWAYS_ON_TOP_TICKBOX"},
       true,
       {boxNote},
       {"ALWAYS_ON_TOP_TICKBOX"}},
      {"a store that refuses everything: one note per close, the first names and a count",
       [] {
         std::set<std::string> all(fkeyKeys().begin(), fkeyKeys().end());
         all.insert(kSettingsGeometryKeys.begin(), kSettingsGeometryKeys.end());
         all.insert(kTextKeys.begin(), kTextKeys.end());
         all.insert("ALWAYS_ON_TOP_TICKBOX");
         return all;
       }(),
       true,
       {boxNote, fkeysNote, mainNote},
       {"FKEYSSETTINGSMainLeft", "and 33 more", "AboutMainLeft", "and 4 more"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    DialogRig r;
    r.store.refuse = row.refuse;
    r.host.whileModal = [&](Form& dialog) {
      if (dialog.name() == kSettingsFormName) {
        r.host.windows[&dialog] = 2;  // shown, as the real host reports it
        if (row.tickTheBox) r.tick(dialog, 1);
        r.click(dialog, ui::settings::kFkeysSettingsButton);
        r.host.windows.erase(&dialog);
      }
      if (dialog.name() == kFkeysFormName) r.click(dialog, ui::fkeys::kOkButton);
    };
    r.kb.handle(ui::kSettingsButton, Event::Click);

    std::vector<std::string> at;
    std::string all;
    for (const auto& n : r.host.notes) {
      at.push_back(n.form + " " + n.control);
      all += n.text + "\n";
    }
    EXPECT_EQ(at, row.notesAt) << all;
    for (const std::string& name : row.named)
      EXPECT_NE(all.find(name), std::string::npos) << name << " in " << all;
    // A refusal never stops the tick box acting for this run.
    if (row.tickTheBox) {
      EXPECT_TRUE(r.kb.main().timer(ui::kAlwaysOnTopTimer).enabled);
    }
    // Whatever was refused, everything else reached the store.
    for (const std::string& k : concat(concat(fkeyKeys(), kSettingsGeometryKeys), kTextKeys))
      if (!row.refuse.count(k)) {
        EXPECT_NE(r.store.get(k), "<absent>") << k;
      }
  }
}

}  // namespace
}  // namespace osk
