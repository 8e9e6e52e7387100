// The keyboard's words as the program's string tables hold them, one table
// per language (generated from data/texts).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/texts.h"

namespace osk::win32 {

class ResourceTexts final : public Texts {
 public:
  // "" takes Windows' display language (GetUserDefaultUILanguage).
  void choose(std::string_view code) override;
  std::string_view chosen() const override { return language_->code; }
  // Read from the chosen language's table; a text it lacks is read from the
  // neutral, English, one.
  std::string text(TextId id) const override;

 private:
  // The text as the table of `language` holds it; nothing when the table or
  // the text is missing (a bundle of sixteen shows both as empty).
  static std::optional<std::wstring> fromTable(TextId id, LANGID language);

  const CatalogueLanguage* language_ = &englishLanguage();
};

}  // namespace osk::win32
