// qmosk-ksr: the keystroke savings of word prediction on a UTF-8 text, with
// the keyboard's own prediction code, learning as it goes.
//
//   qmosk-ksr [--pairs <pairs.tsv>] <text file>
//
// --pairs measures with another word-pair table (as data/pairs-en.tsv holds
// them) in place of the built-in one, without building the program again.
//
// Words are runs of letters and apostrophes, compared without case. Typing
// a word without prediction costs its letters and a space. With prediction,
// the user types letters until the word is among the suggestions, then
// clicks it, which types the space too: the letters typed plus one click (a
// word offered before its first letter costs one click). The text between
// words costs nothing either way. The last line printed is
// "keystroke savings: 0.NNN", that is 1 - (clicks with) / (clicks without).
#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "predict/predictor.h"
#include "predict/word_tracker.h"
#include "predict/words.h"

namespace {

using osk::predict::decodeUtf8;
using osk::predict::fold;
using osk::predict::isWordCharacter;

std::vector<char32_t> decode(const std::string& text) {
  std::vector<char32_t> out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t ch = 0;
    const std::size_t len = decodeUtf8(text, i, ch);
    if (len == 0) {
      out.push_back(U'\uFFFD');
      ++i;
    } else {
      if (ch != U'\r') out.push_back(ch);
      i += len;
    }
  }
  return out;
}

std::optional<std::string> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const bool withPairs = args.size() == 3 && args[0] == "--pairs";
  if (args.size() != 1 && !withPairs) {
    std::cerr << "usage: qmosk-ksr [--pairs <pairs.tsv>] <UTF-8 text file>\n";
    return 2;
  }
  std::optional<std::string> text = readFile(args.back());
  std::optional<std::string> pairs = withPairs ? readFile(args[1]) : std::nullopt;
  if (!text || (withPairs && !pairs)) {
    std::cerr << "qmosk-ksr: cannot read " << (text ? args[1] : args.back()) << "\n";
    return 1;
  }
  const std::vector<char32_t> chars = decode(*text);

  const std::array<std::string_view, 1> pairText{pairs ? std::string_view(*pairs) : std::string_view()};
  osk::Predictor predictor = withPairs ? osk::Predictor(pairText) : osk::Predictor();
  osk::WordTracker tracker(predictor);
  long long without = 0;
  long long with = 0;
  long long words = 0;
  long long chosen = 0;
  bool spaceTyped = false;  // a chosen suggestion typed the space the text has next
  for (std::size_t i = 0; i < chars.size();) {
    if (!isWordCharacter(chars[i])) {
      const char32_t ch = chars[i++];
      if (std::exchange(spaceTyped, false) && ch == U' ') continue;
      // A mark after a chosen word goes before its space, which then
      // stands for the text's own space after the mark.
      if (tracker.typed(ch).has_value() && i < chars.size() && chars[i] == U' ') ++i;
      continue;
    }
    std::size_t end = i;
    while (end < chars.size() && isWordCharacter(chars[end])) ++end;
    std::string word;
    for (std::size_t k = i; k < end; ++k) osk::predict::appendUtf8(word, chars[k]);
    const std::string target = fold(word);
    const auto letters = static_cast<long long>(end - i);
    without += letters + 1;
    ++words;
    bool done = false;
    for (std::size_t k = i; k < end && !done; ++k) {
      for (const std::string& s : tracker.suggestions()) {
        if (fold(s) != target) continue;
        with += static_cast<long long>(k - i) + 1;
        tracker.choose(s);
        done = true;
        spaceTyped = true;
        ++chosen;
        break;
      }
      if (!done) tracker.typed(chars[k]);
    }
    if (!done) with += letters + 1;
    i = end;
  }
  const double savings = without > 0 ? 1.0 - static_cast<double>(with) / static_cast<double>(without) : 0.0;
  std::printf("words: %lld, chosen from the suggestions: %lld\n", words, chosen);
  std::printf("clicks without prediction: %lld, with: %lld\n", without, with);
  std::printf("learned: %zu words, %zu pairs\n", predictor.learnedWords(), predictor.learnedPairs());
  std::printf("keystroke savings: %.3f\n", savings);
  return 0;
}
