// The catalogue of the keyboard's words and the switch between languages.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/dialogs.h"
#include "fakes.h"
#include "qmosk_version.h"

namespace osk::testing {
namespace {

// The build has already refused a language that lacks an id or has an
// empty text; what it cannot see is a value mark lost or doubled.
TEST(Catalogue, EveryLanguageHasEveryTextWithEnglishsMarks) {
  for (const CatalogueLanguage& language : kCatalogue) {
    SCOPED_TRACE(std::string(language.code));
    ASSERT_EQ(language.texts->size(), kTextCount);
    for (std::size_t i = 0; i < kTextCount; ++i) {
      const auto id = static_cast<TextId>(i);
      EXPECT_FALSE(language.text(id).empty()) << i;
      EXPECT_EQ(markCount(language.text(id)), markCount(englishText(id))) << language.text(id);
    }
  }
}

TEST(Catalogue, ALanguageNotShippedReadsEnglish) {
  struct Row {
    std::string_view code;
    unsigned windowsLanguage;
    std::string_view settingsKey;
  };
  const Row rows[] = {
      {"en", 0x09, "SETTINGS"},      {"de", 0x07, "EINSTELLUNGEN"}, {"fr", 0x0C, "PARAMÈTRES"},
      {"es", 0x0A, "CONFIGURACIÓN"}, {"it", 0x10, "SETTINGS"},      {"", 0x00, "SETTINGS"},
      {"DE", 0x11, "SETTINGS"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.code));
    EXPECT_EQ(catalogueLanguage(row.code).text(TextId::SettingsKey), row.settingsKey);
    EXPECT_EQ(catalogueLanguageOf(row.windowsLanguage).text(TextId::SettingsKey), row.settingsKey);
  }
  EXPECT_EQ(fillIn("F{} - {}:", {"3", "x"}), "F3 - x:");
  EXPECT_EQ(fillIn("F{}{}", {"3"}), "F3{}");
}

struct LanguageRig : Rig {
  // Windows shows Spanish: the keyboard speaks it before anything is chosen.
  LanguageRig() {
    texts = CatalogueTexts("es");
    applyLanguage(kb.context());
  }
  // Chooses the list's item as the user does: the value first, then the click.
  void chooseLanguage(int item) {
    Form& dialog = kb.window(kSettingsFormName);
    host.whileModal = [this, item](Form& shown) {
      if (shown.name() != kSettingsFormName) return;
      shown.control(ui::settings::kBtcAddressTextbox).setText("bc1-mine");
      shown.control(ui::settings::kLanguageList).setValue(item);
      kb.handle(shown, "LANGUAGE_LIST", Event::Click);
    };
    kb.handle(ui::kSettingsButton, Event::Click);
    static_cast<void>(dialog);
  }
};

// Each choice reaches every window at once, designed captions, icon names
// and texts with a value alike, window titles and the placeholder of a
// field the user has left empty; what the user set aside (a caption or a
// field's text of their own) is left as it is.
TEST(Language, TheListSwitchesEveryWindowAtOnce) {
  struct Row {
    int item;
    std::string_view stored;
    std::string_view ctrl;
    std::string_view deleteName;
    std::string_view fkeyRow;
    std::string_view windowsItem;
  };
  const Row rows[] = {
      {2, "de", "STRG", "Entf", "F-TASTE F3:", "Windows-Anzeigesprache"},
      {3, "fr", "CTRL", "Suppr", "Touche F3 :", "Langue de Windows"},
      {1, "en", "CTRL", "Delete", "F-KEYS - F3:", "Windows' language"},
      // Windows' own language: the rig's display language is Spanish.
      {0, "", "CTRL", "Supr", "TECLA F3:", "Idioma de Windows"},
  };
  LanguageRig r;
  ASSERT_EQ(r.c(ui::kButtonCtrlRight).caption(), "CTRL");
  ASSERT_EQ(r.c(ui::kButtonDelete).accessibleName(), "Supr");  // Spanish from the start
  r.c(ui::kButtonTab).setCaption("mine");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.item);
    r.chooseLanguage(row.item);
    EXPECT_EQ(r.store.read(kSettingsSection, "UI_LANGUAGE", "unset"), row.stored);
    EXPECT_EQ(r.c(ui::kButtonCtrlRight).caption(), row.ctrl);
    EXPECT_EQ(r.c(ui::kButtonDelete).accessibleName(), row.deleteName);
    EXPECT_EQ(r.kb.window(kFkeysFormName).named("LABEL_F3").caption(), row.fkeyRow);
    const Form& settings = r.kb.window(kSettingsFormName);
    EXPECT_EQ(settings.control(ui::settings::kLanguageList).items().front(), row.windowsItem);
    EXPECT_EQ(settings.control(ui::settings::kTarnwickQmOskVersion).caption(),
              fillIn(catalogueLanguage(row.stored.empty() ? "es" : row.stored).text(TextId::VersionLabel),
                     {kProgramVersion}));
    EXPECT_EQ(r.c(ui::kButtonTab).caption(), "mine");
    const CatalogueLanguage& language = catalogueLanguage(row.stored.empty() ? "es" : row.stored);
    EXPECT_EQ(r.kb.window(kAidsFormName).title(), language.text(TextId::AidsTitle));
    EXPECT_EQ(settings.control(ui::settings::kEmailAddressTextbox).text(),
              language.text(TextId::EmailAddressDefault));
    EXPECT_EQ(settings.control(ui::settings::kBtcAddressTextbox).text(), "bc1-mine");
    // A text box still at its design text follows as a caption does.
    EXPECT_EQ(r.c(ui::kCommandLineTextbox).text(),
              catalogueLanguage(row.stored.empty() ? "es" : row.stored).text(TextId::CommandLineHint));
  }
}

}  // namespace
}  // namespace osk::testing
