// What the three windows' layouts share: key metrics, fonts and a builder
// that lists one window's controls in reading order.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "layout/model.h"

namespace osk::layout {

inline constexpr int kKeyHeight = 495;
inline constexpr int kPitch = 720;  // one key width plus the gap, on every key row
inline constexpr int kKeyWidth = 735;

inline constexpr Font kKeyFont{12.0, true};
inline constexpr Font kSmallBold{8.25, true};
inline constexpr Font kPlain{8.25, false};
inline constexpr Font kHeading{13.5, false};

// A control's caption as its layout writes it: the words of an id (English
// until a language is chosen, see Form::applyTexts), or a text that is the
// same in every language.
struct Caption {
  // NOLINTBEGIN(google-explicit-constructor,hicpp-explicit-conversions): a layout writes either as it reads
  Caption(std::string fixed) : text(std::move(fixed)) {}
  Caption(const char* fixed) : text(fixed) {}
  Caption(TextId id, std::string value = {})
      : text(fillIn(englishText(id), {value})), words(id), wordsValue(std::move(value)) {}
  // NOLINTEND(google-explicit-constructor,hicpp-explicit-conversions)
  std::string text;
  std::optional<TextId> words;
  std::string wordsValue;
};

// Builds one window's control list in reading order.
class Builder {
 public:
  std::vector<Control::Def> defs;

  // A key, latch or action button of the keyboard: white, 12 pt bold caption.
  Control::Def& key(ControlName name, Caption caption, int left, int top, int width,
                    int height = kKeyHeight) {
    return add(name, ControlKind::Button, std::move(caption), {left, top, width, height}, kKeyFont,
               colors::kWhite, Align::Center);
  }

  Control::Def& iconKey(ControlName name, Icon icon, int left, int top, int width, int height = kKeyHeight) {
    Control::Def& d = key(name, "", left, top, width, height);
    d.icon = icon;
    return d;
  }

  // The clipboard, calculator and snippet buttons are actions rather than
  // keys, and keep the system face so they never read as latched or flashed.
  Control::Def& tool(ControlName name, Icon icon, int left, int top) {
    Control::Def& d = iconKey(name, icon, left, top, kKeyHeight);
    d.back = colors::kSysButtonFace;
    return d;
  }

  Control::Def& label(ControlName name, Caption caption, TwipsRect rect, Font font, Color fore, Color back,
                      Align align) {
    Control::Def& d = add(name, ControlKind::Label, std::move(caption), rect, font, back, align);
    d.fore = fore;
    return d;
  }

  Control::Def& textBox(ControlName name, Caption text, TwipsRect rect, Font font = kPlain) {
    return add(name, ControlKind::TextBox, std::move(text), rect, font, colors::kSysWindow, Align::Left);
  }

  // A drop-down list: `first`, then `rest`; its value is the chosen item's
  // place. Only the first item may be words of the catalogue.
  Control::Def& dropDown(ControlName name, Caption first, std::vector<std::string> rest, TwipsRect rect) {
    Control::Def& d =
        add(name, ControlKind::DropDown, std::string(), rect, kPlain, colors::kSysWindow, Align::Left);
    d.words = first.words;
    d.items.push_back(std::move(first.text));
    for (std::string& item : rest) d.items.push_back(std::move(item));
    return d;
  }

  // Dialog push buttons are native ones: OK and the way into the F-key dialog.
  Control::Def& dialogButton(ControlName name, Caption caption, TwipsRect rect) {
    Control::Def& d = add(name, ControlKind::Button, std::move(caption), rect, kPlain, colors::kSysButtonFace,
                          Align::Center);
    d.standardStyle = true;
    return d;
  }

  Control::Def& checkBox(ControlName name, Caption caption, TwipsRect rect) {
    return add(name, ControlKind::CheckBox, std::move(caption), rect, kPlain, colors::kSysButtonFace,
               Align::Left);
  }

 private:
  Control::Def& add(ControlName name, ControlKind kind, Caption caption, TwipsRect rect, Font font,
                    Color back, Align align) {
    Control::Def d;
    d.name = std::string(name.str());
    d.kind = kind;
    d.caption = std::move(caption.text);
    d.words = caption.words;
    d.wordsValue = std::move(caption.wordsValue);
    d.rect = rect;
    d.font = font;
    d.back = back;
    d.align = align;
    defs.push_back(std::move(d));
    return defs.back();
  }
};

// Text of the F-key and number-row families.
// Built by appending: GCC 12 warns falsely (-Wrestrict) on literal + string.
inline std::string named(std::string_view prefix, int n, std::string_view suffix = "") {
  std::string out(prefix);
  out.append(std::to_string(n)).append(suffix);
  return out;
}

// A caption on the dialogs' button-face background, beside its field.
inline void fieldLabel(Builder& b, ControlName name, Caption caption, TwipsRect rect) {
  // NOLINTNEXTLINE(readability-suspicious-call-argument): dark text on a light ground, as drawn
  b.label(name, std::move(caption), rect, kPlain, colors::kBlack, colors::kSysButtonFace, Align::Left);
}

// A dialog's text field: it holds stored text, which may be anything.
inline void field(Builder& b, ControlName name, Caption text, TwipsRect rect) {
  b.textBox(name, std::move(text), rect).wholeText = true;
}

inline void heading(Builder& b, ControlName name, Caption caption, TwipsRect rect) {
  b.label(name, std::move(caption), rect, kHeading, colors::kGreen, colors::kBlack, Align::Center);
}

}  // namespace osk::layout
