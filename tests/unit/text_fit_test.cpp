// Every dialog control shows its whole text in every language. Measured
// here, not under Wine: the core knows each control's room and font, and a
// width estimate per character, rounded up from the system's 8 pt dialog
// font at 96 dpi, judges every language on every build in milliseconds
// instead of one Wine start per language. It is right to about a tenth: on
// Wine, "Immer im Vordergrund" (1380 here) was cut in a box's 1200 twips
// of room, "DECKKRAFT %:" (1185 here) wrapped in 1125, and
// "Always On Top" (1005 here) was whole, but "Tastencode des Schalters
// (32 = Leertaste):" (2880 here) wrapped in 3135. The end-to-end test of
// the languages measures every text in the host's own font for that last
// tenth.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "keys/numpad_keys.h"
#include "layout/aids_window.h"
#include "layout/fkeys_window.h"
#include "layout/main_window.h"
#include "layout/scale.h"
#include "layout/settings_window.h"

namespace osk {
namespace {

constexpr double kDesignPoints = 8.25;
constexpr Font kDesignFont{kDesignPoints, false};
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

// The keyboard's captions are drawn in pixels: a key's raised edge and
// margin take four on each side and the font's height is rounded to a whole
// pixel, so a caption that fits at one size may not at another. A key's face
// draws a caption that does not fit at its font in the largest smaller one
// that it fits (host/paint/button_face.cpp); a light's label is drawn at its
// font. So at every scale from the design size up a key's caption must fit
// at three quarters of its font or more, which keeps it as legible as its
// neighbours, and a label at its own. Dragged below the design size, every
// language's captions shrink as English ones do: the estimate, made for
// fonts of eight points and more, is no judge of fonts of a few pixels.
constexpr int kTwipsPerPixel = 15;  // at 96 dpi, the scale's unit
constexpr int kKeyEdgePixels = 4;   // each side, beside the caption
constexpr int kKeyEdgeRows = 3;     // each of top and bottom

struct KeyCaption {
  std::string key;
  std::string text;
  Font font;
  TwipsRect rect;
  bool shrinks;  // a key's face, with its edges; else a light's label
};

// Pixel widths of the lines of `text` as it wraps at blanks in `width`; a
// word wider than the line has a line of its own, too wide.
std::vector<double> lineWidths(const std::string& text, double width, double pixelsPerTwip) {
  std::vector<double> lines;
  std::string line;
  std::size_t from = 0;
  while (from <= text.size()) {
    const std::size_t blank = std::min(text.find(' ', from), text.size());
    const std::string word = text.substr(from, blank - from);
    const std::string joined = line.empty() ? word : line + " " + word;
    if (!line.empty() && estimate(joined, kDesignFont) * pixelsPerTwip > width) {
      lines.push_back(estimate(line, kDesignFont) * pixelsPerTwip);
      line = word;
    } else {
      line = joined;
    }
    from = blank + 1;
  }
  lines.push_back(estimate(line, kDesignFont) * pixelsPerTwip);
  return lines;
}

// Whether `caption` fits at `scale` in a font `fontHeight` pixels high.
bool fitsAt(const KeyCaption& caption, double scale, double fontHeight) {
  const double edges = caption.shrinks ? 1 : 0;
  // Widths as estimated at the design font, in pixels of the font drawn.
  const double pixelsPerTwip =
      (caption.font.bold ? 1.1 : 1.0) * fontHeight / (kDesignPoints * 96.0 / 72.0) / kTwipsPerPixel;
  const double width = std::floor(caption.rect.width * scale / kTwipsPerPixel) - edges * 2 * kKeyEdgePixels;
  const double height = std::floor(caption.rect.height * scale / kTwipsPerPixel) - edges * 2 * kKeyEdgeRows;
  const auto lineHeight = static_cast<int>(std::round(fontHeight * 1.2));
  const auto lines = static_cast<std::size_t>(std::max(1, static_cast<int>(height) / lineHeight));
  const std::vector<double> widths = lineWidths(caption.text, width, pixelsPerTwip);
  return *std::max_element(widths.begin(), widths.end()) <= width && widths.size() <= lines;
}

TEST(TextFit, EveryKeyCaptionAndLightFitsInEveryLanguageFromTheDesignSizeUp) {
  for (const CatalogueLanguage& language : kCatalogue) {
    const TextSource words = [&language](TextId id) { return std::string(language.text(id)); };
    const std::unique_ptr<KeyboardForm> main = makeMainForm();
    main->applyTexts(words);
    std::vector<KeyCaption> captions;
    for (const Control& c : main->controls()) {
      if (c.caption().empty() || c.kind() == ControlKind::TextBox) continue;
      captions.push_back({c.name(), c.caption(), c.font(), c.rect(), c.kind() == ControlKind::Button});
    }
    // The captions keys take on while the keyboard runs.
    const Control& hover = main->control(ui::kHoverPauseButton);
    captions.push_back({hover.name(), words(TextId::HoverPausedKey), hover.font(), hover.rect(), true});
    for (const NumPadKey& key : numPadKeys()) {
      if (!key.offWords) continue;
      const Control& c = main->control(key.button);
      captions.push_back({c.name(), words(*key.offWords), c.font(), c.rect(), true});
    }
    for (const KeyCaption& caption : captions) {
      for (int percent = 100; percent <= 300; percent += 5) {
        const double scale = percent / 100.0;
        const double own = std::round(caption.font.points * 96.0 * scale / 72.0);
        const double smallest = caption.shrinks ? std::ceil(own * 3 / 4) : own;
        double height = own;
        while (height > smallest && !fitsAt(caption, scale, height)) --height;
        if (!fitsAt(caption, scale, height)) {
          ADD_FAILURE() << language.code << " " << caption.key << ": \"" << caption.text
                        << "\" does not fit at " << percent << " % in " << smallest << " px, its font " << own
                        << " px";
          break;  // one scale is enough to name it
        }
      }
    }
  }
}

}  // namespace
}  // namespace osk
