// The words the keyboard shows, in the language the user reads.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "texts/catalogue.h"

namespace osk {

class Texts {
 public:
  virtual ~Texts() = default;
  // Chooses the language: a code as UI_LANGUAGE stores it, or "" for
  // Windows' own display language. Anything the keyboard does not ship
  // reads English.
  virtual void choose(std::string_view code) = 0;
  // The code of the language the texts are now in ("en" when English
  // stands in for one the keyboard does not ship).
  virtual std::string_view chosen() const = 0;
  virtual std::string text(TextId id) const = 0;

  std::string text(TextId id, std::initializer_list<std::string_view> values) const {
    return fillIn(text(id), values);
  }
};

// The texts as compiled into the core, for where there are no resources to
// read (the tests, the tools); the display language it follows is given.
class CatalogueTexts final : public Texts {
 public:
  explicit CatalogueTexts(std::string_view displayLanguage = "en") : display_(displayLanguage) {}
  void choose(std::string_view code) override {
    language_ = &catalogueLanguage(code.empty() ? std::string_view(display_) : code);
  }
  std::string_view chosen() const override { return language_->code; }
  std::string text(TextId id) const override { return std::string(language_->text(id)); }

 private:
  std::string display_;
  const CatalogueLanguage* language_ = &englishLanguage();
};

inline Texts& englishTexts() {
  static CatalogueTexts english;
  return english;
}

}  // namespace osk
