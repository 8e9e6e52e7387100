#include "host/system/resource_texts.h"

#include <span>

#include "host/common/failure.h"
#include "host/common/text.h"

namespace osk::win32 {

namespace {

// English is written as the neutral table: Windows' own fallback, and what
// any language the keyboard does not ship reads.
LANGID tableOf(const CatalogueLanguage& language) {
  if (&language == &englishLanguage()) return MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
  return MAKELANGID(static_cast<WORD>(language.primaryLanguage), SUBLANG_NEUTRAL);
}

}  // namespace

void ResourceTexts::choose(std::string_view code) {
  // Explicitly by language, never through the thread's UI language, which
  // LoadString follows on Windows but not under Wine.
  language_ = code.empty() ? &catalogueLanguageOf(PRIMARYLANGID(::GetUserDefaultUILanguage()))
                           : &catalogueLanguage(code);
}

std::optional<std::wstring> ResourceTexts::fromTable(TextId id, LANGID language) {
  // String tables come in bundles of sixteen: bundle n / 16 + 1 holds text
  // n at place n % 16, each a count of characters and then the characters.
  const unsigned number = kFirstTextResource + static_cast<unsigned>(id);
  HMODULE self = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceExW(self, RT_STRING, MAKEINTRESOURCEW(number / 16 + 1), language);
  if (found == nullptr) return std::nullopt;
  HGLOBAL loaded = ::LoadResource(self, found);
  const auto* first = static_cast<const WCHAR*>(loaded != nullptr ? ::LockResource(loaded) : nullptr);
  if (first == nullptr) return std::nullopt;
  const std::span<const WCHAR> bundle(first, ::SizeofResource(self, found) / sizeof(WCHAR));
  std::size_t at = 0;
  for (unsigned place = 0; place < number % 16 && at < bundle.size(); ++place) at += 1 + bundle[at];
  if (at >= bundle.size() || bundle[at] == 0 || at + 1 + bundle[at] > bundle.size()) return std::nullopt;
  const std::span<const WCHAR> text = bundle.subspan(at + 1, bundle[at]);
  return std::wstring(text.begin(), text.end());
}

std::string ResourceTexts::text(TextId id) const {
  if (auto chosen = fromTable(id, tableOf(*language_))) return narrow(*chosen);
  if (auto english = fromTable(id, tableOf(englishLanguage()))) return narrow(*english);
  // The build puts every text in every table; this is a damaged program.
  logFailure("reading text " + std::to_string(static_cast<unsigned>(id)) + " from the string tables",
             ERROR_RESOURCE_NAME_NOT_FOUND);
  return std::string(englishText(id));
}

}  // namespace osk::win32
