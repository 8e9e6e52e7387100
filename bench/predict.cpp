// qmosk-predict-bench: what word prediction costs the keyboard, in time
// from a key to ready suggestions and in memory. Portable: built natively
// and for Windows (run it there or under Wine).
//
//   qmosk-predict-bench <UTF-8 text> [rounds]
//
// Types the text through the word tracker as the keyboard would, learning
// as it goes, and times each key's own work plus the suggestions that
// follow it: first with a fresh predictor, then with one filled to its
// bound of learned words and pairs (the slowest case: most words to look
// through). Memory is the heap the predictor takes, counted by this
// program's own operator new, plus the word list's text in the program.
// Results go to stdout as "key value" lines.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "predict/builtin_words.h"
#include "predict/predictor.h"
#include "predict/word_tracker.h"
#include "predict/words.h"

namespace {

std::size_t gLive = 0;  // heap bytes in use

// Each block carries its size in front of it, so delete can count it off.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* allocate(std::size_t n) {
  // A replacement operator new can only stand on malloc.
  void* p = std::malloc(n + kHeader);  // NOLINT(cppcoreguidelines-no-malloc)
  if (p == nullptr) throw std::bad_alloc();
  *static_cast<std::size_t*>(p) = n;
  gLive += n;
  return static_cast<char*>(p) + kHeader;
}

void release(void* p) noexcept {
  if (p == nullptr) return;
  void* block = static_cast<char*>(p) - kHeader;
  gLive -= *static_cast<std::size_t*>(block);
  std::free(block);  // NOLINT(cppcoreguidelines-no-malloc): the other half of allocate
}

using Clock = std::chrono::steady_clock;

double percentile(std::vector<double> v, double q) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1))];
}

// Types `text` into `tracker`, timing each key's typing and the suggestions
// after it; a word is chosen as soon as it is offered, as in qmosk-ksr.
std::vector<double> typeText(osk::WordTracker& tracker, const std::u32string& text) {
  std::vector<double> ms;
  ms.reserve(text.size());
  std::string want;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto t0 = Clock::now();
    tracker.typed(text[i]);
    const std::vector<std::string> shown = tracker.suggestions();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    // The word from here on: chosen when offered.
    if (!osk::predict::isWordCharacter(text[i])) continue;
    std::size_t end = i;
    want.clear();
    std::size_t start = i;
    while (start > 0 && osk::predict::isWordCharacter(text[start - 1])) --start;
    while (end < text.size() && osk::predict::isWordCharacter(text[end])) ++end;
    for (std::size_t k = start; k < end; ++k) osk::predict::appendUtf8(want, text[k]);
    for (const std::string& s : shown) {
      if (osk::predict::fold(s) != osk::predict::fold(want)) continue;
      const auto c0 = Clock::now();
      tracker.choose(s);
      (void)tracker.suggestions();
      ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - c0).count());
      i = end;  // the suggestion typed the space
      break;
    }
  }
  return ms;
}

void report(const char* name, const std::vector<double>& ms) {
  std::printf("%s_keys %zu\n", name, ms.size());
  std::printf("%s_median_ms %.4f\n", name, percentile(ms, 0.5));
  std::printf("%s_p90_ms %.4f\n", name, percentile(ms, 0.9));
  std::printf("%s_p99_ms %.4f\n", name, percentile(ms, 0.99));
  std::printf("%s_max_ms %.4f\n", name, percentile(ms, 1.0));
}

std::string madeUp(std::size_t n) {
  std::string out = "q";
  do {
    out += static_cast<char>('a' + n % 26);
    n /= 26;
  } while (n > 0);
  return out;
}

// Random pairs of kMaxLearnedWords made-up words, until every pair slot is
// taken.
void fill(osk::Predictor& predictor) {
  std::minstd_rand random(1);
  std::uniform_int_distribution<std::size_t> pick(0, osk::Predictor::kMaxLearnedWords - 1);
  while (predictor.learnedPairs() < osk::Predictor::kMaxLearnedPairs)
    predictor.learn(madeUp(pick(random)), madeUp(pick(random)));
}

}  // namespace

void* operator new(std::size_t n) { return allocate(n); }
void* operator new[](std::size_t n) { return allocate(n); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t /*size*/) noexcept { release(p); }
void operator delete[](void* p, std::size_t /*size*/) noexcept { release(p); }

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: qmosk-predict-bench <UTF-8 text> [rounds]\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (raw.empty()) {
    std::fprintf(stderr, "qmosk-predict-bench: cannot read %s\n", argv[1]);
    return 1;
  }
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
  std::u32string text;
  for (std::size_t i = 0; i < raw.size();) {
    char32_t ch = 0;
    const std::size_t len = osk::predict::decodeUtf8(raw, i, ch);
    i += len == 0 ? 1 : len;
    if (len != 0 && ch != U'\r') text += ch;
  }

  std::size_t embedded = 0;
  for (const std::string_view chunk : osk::predict::builtinWordChunks()) embedded += chunk.size();
  std::printf("word_list_in_program_bytes %zu\n", embedded);
  std::size_t pairText = 0;
  for (const std::string_view chunk : osk::predict::builtinPairChunks()) pairText += chunk.size();
  std::printf("word_pairs_in_program_bytes %zu\n", pairText);

  // Start-up: a predictor costs nothing until first asked; the first
  // question loads the list.
  const std::size_t before = gLive;
  auto t0 = Clock::now();
  auto predictor = std::make_unique<osk::Predictor>();
  std::printf("construct_ms %.4f\n", std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  t0 = Clock::now();
  (void)predictor->suggest("", "th");
  std::printf("first_suggestions_ms %.4f\n",
              std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  std::printf("heap_word_list_bytes %zu\n", gLive - before);

  std::vector<double> fresh;
  for (int r = 0; r < rounds; ++r) {
    predictor->forget();
    osk::WordTracker tracker(*predictor);
    const std::vector<double> ms = typeText(tracker, text);
    fresh.insert(fresh.end(), ms.begin(), ms.end());
  }
  report("fresh", fresh);
  std::printf("heap_after_text_bytes %zu\n", gLive - before);

  // Filled to the bound: every learned word and pair slot taken.
  predictor->forget();
  fill(*predictor);
  std::printf("full_learned_words %zu\nfull_learned_pairs %zu\n", predictor->learnedWords(),
              predictor->learnedPairs());
  std::printf("heap_full_bytes %zu\n", gLive - before);
  t0 = Clock::now();
  const std::string saved = predictor->save();
  std::printf("save_ms %.3f\nsaved_bytes %zu\n",
              std::chrono::duration<double, std::milli>(Clock::now() - t0).count(), saved.size());
  t0 = Clock::now();
  const bool loaded = predictor->load(saved);
  std::printf("load_ms %.3f\nload_ok %d\n",
              std::chrono::duration<double, std::milli>(Clock::now() - t0).count(), loaded ? 1 : 0);
  // A save keeps fewer pairs than the bound; fill it again.
  fill(*predictor);
  std::vector<double> full;
  for (int r = 0; r < rounds; ++r) {
    osk::WordTracker tracker(*predictor);
    const std::vector<double> ms = typeText(tracker, text);
    full.insert(full.end(), ms.begin(), ms.end());
  }
  report("full", full);
  std::printf("heap_full_after_text_bytes %zu\n", gLive - before);
  return 0;
}
