// Every dialog control shows its whole text in every language. Measured
// here, not under Wine: the core knows each control's room and font, and a
// width estimate per character, rounded up from the system's 8 pt dialog
// font at 96 dpi, judges every language on every build in milliseconds
// instead of one Wine start per language. It errs on the wide side: on
// Wine, "Immer im Vordergrund" (1380 here) was cut in a box's 1200 twips
// of room, "DECKKRAFT %:" (1185 here) wrapped in 1125, and
// "Always On Top" (1005 here) was whole.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "layout/aids_window.h"
#include "layout/fkeys_window.h"
#include "layout/settings_window.h"

namespace osk {
namespace {

constexpr double kDesignPoints = 8.25;
constexpr int kTickRoom = 255;     // the tick box and its gap
constexpr int kButtonEdges = 120;  // a push button's frame and margins
constexpr int kListArrow = 300;    // a drop-down list's button

int characterTwips(char32_t c) {
  static const std::u32string narrow = U" .,:;'!|ijltfrI()-";
  if (narrow.find(c) != std::u32string::npos) return 45;
  if (c == '%') return 150;
  if (c >= 'a' && c <= 'z' && c != 'm' && c != 'w') return 75;
  return 105;  // capitals, digits, m, w and every letter beyond ASCII
}

std::u32string codePoints(std::string_view utf8) {
  std::u32string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if ((byte & 0xC0U) != 0x80U) out.push_back(byte < 0x80U ? byte : U'\u00C0');
  }
  return out;
}

int estimate(std::string_view text, const Font& font) {
  int twips = 0;
  for (const char32_t c : codePoints(text)) twips += characterTwips(c);
  return static_cast<int>(twips * (font.points / kDesignPoints) * (font.bold ? 1.1 : 1.0));
}

// The room a control gives its text on one line, and how many lines.
struct Room {
  int width;
  int lines;
};

Room roomOf(const Control& c) {
  const TwipsRect r = c.rect();
  switch (c.kind()) {
    case ControlKind::CheckBox:
      return {r.width - kTickRoom, 1};
    case ControlKind::Button:
      return {r.width - kButtonEdges, 1};
    case ControlKind::DropDown:
      return {r.width - kListArrow, 1};
    case ControlKind::Label: {
      const int lineHeight = static_cast<int>(c.font().points * 20 * 1.25);
      return {r.width, std::max(1, r.height / lineHeight)};
    }
    case ControlKind::TextBox:
      break;
  }
  return {0, 0};
}

TEST(TextFit, EveryDialogControlShowsItsWholeTextInEveryLanguage) {
  for (const CatalogueLanguage& language : kCatalogue) {
    std::unique_ptr<Form> forms[] = {makeSettingsForm(), makeAidsForm(), makeFkeysForm()};
    for (const std::unique_ptr<Form>& form : forms) {
      form->applyTexts([&language](TextId id) { return std::string(language.text(id)); });
      for (const Control& c : form->controls()) {
        const Room room = roomOf(c);
        std::vector<std::string> texts{c.caption()};
        if (c.kind() == ControlKind::DropDown) texts = c.items();
        for (const std::string& text : texts) {
          if (room.lines == 0 || text.empty()) continue;
          // Words wrap whole, so a line of several holds less than its width.
          const int fits = room.lines == 1 ? room.width : room.width * room.lines * 4 / 5;
          EXPECT_LE(estimate(text, c.font()), fits) << language.code << " " << c.name() << ": \"" << text
                                                    << "\" in " << room.width << " x " << room.lines;
        }
      }
    }
  }
}

}  // namespace
}  // namespace osk
