#include "texts/catalogue.h"

namespace osk {

namespace {
constexpr std::string_view kMark = "{}";
}  // namespace

const CatalogueLanguage& catalogueLanguage(std::string_view code) {
  for (const CatalogueLanguage& language : kCatalogue) {
    if (language.code == code) return language;
  }
  return englishLanguage();
}

const CatalogueLanguage& catalogueLanguageOf(unsigned primaryLanguage) {
  for (const CatalogueLanguage& language : kCatalogue) {
    if (language.primaryLanguage == primaryLanguage) return language;
  }
  return englishLanguage();
}

std::string fillIn(std::string_view text, std::initializer_list<std::string_view> values) {
  std::string out;
  std::size_t from = 0;
  for (const std::string_view value : values) {
    const std::size_t at = text.find(kMark, from);
    if (at == std::string_view::npos) break;
    out.append(text.substr(from, at - from)).append(value);
    from = at + kMark.size();
  }
  out.append(text.substr(from));
  return out;
}

std::size_t markCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = text.find(kMark); at != std::string_view::npos;
       at = text.find(kMark, at + kMark.size()))
    ++count;
  return count;
}

}  // namespace osk
