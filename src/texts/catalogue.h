// The keyboard's words in every language it ships, as compiled from
// data/texts by cmake/texts.cmake. The program itself reads its texts from
// its resources (the host's Texts); this table is what the core's design
// texts, its stand-ins for the host and the tests read, from the same files.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "texts/text_ids.h"

namespace osk {

struct CatalogueLanguage {
  std::string_view code;     // "en", "de": what UI_LANGUAGE stores
  unsigned primaryLanguage;  // Windows' primary language id, as in a LANGID
  std::string_view ownName;  // the language's name for itself, as the list shows it
  const std::array<std::string_view, kTextCount>* texts;

  std::string_view text(TextId id) const { return texts->at(static_cast<std::size_t>(id)); }
};

// English first.
extern const std::array<CatalogueLanguage, kLanguageCount> kCatalogue;

inline const CatalogueLanguage& englishLanguage() { return kCatalogue.front(); }
inline std::string_view englishText(TextId id) { return englishLanguage().text(id); }

// The shipped language of this code; English for any other, "" included.
const CatalogueLanguage& catalogueLanguage(std::string_view code);
// The shipped language of Windows' primary language id; English for any other.
const CatalogueLanguage& catalogueLanguageOf(unsigned primaryLanguage);

// The text with `values` in place of its {} marks, in order. A mark with no
// value left stays as it is, so a faulty text shows rather than crashes.
std::string fillIn(std::string_view text, std::initializer_list<std::string_view> values);
// How many {} marks a text has.
std::size_t markCount(std::string_view text);

}  // namespace osk
