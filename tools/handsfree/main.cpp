// qmosk-handsfree: how fast a simulated person types a text hands-free,
// through the keyboard's own scanning or hover clicking, word prediction and
// timing tuners, on a manual clock (docs/hands-free.md says the model).
//
//   qmosk-handsfree [--method scan|hover] [--timing fixed|tuned]
//                   [--prediction on|off] [--reaction-ms 700] [--spread-ms 200]
//                   [--slip 0.02] [--move-ms 200] [--step-ms 1000]
//                   [--dwell-ms 1000] [--seed 1] <UTF-8 text file>
//
// The last line printed is
// "characters per minute: <x>, errors per 100 characters: <y>".
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>

#include "aids/aid_settings.h"
#include "typist.h"

namespace {

int usage() {
  std::cerr << "usage: qmosk-handsfree [--method scan|hover] [--timing fixed|tuned] [--prediction on|off]\n"
               "         [--reaction-ms M] [--spread-ms S] [--slip P] [--move-ms T]\n"
               "         [--step-ms N] [--dwell-ms N] [--seed N] <UTF-8 text file>\n";
  return 2;
}

bool number(const char* text, double& out) {
  char* end = nullptr;
  out = std::strtod(text, &end);
  return end != text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
  handsfree::Person person;
  handsfree::Run run;
  run.stepMs = osk::aids::kAidTimeRange.fallback.count();
  run.dwellMs = osk::aids::kAidTimeRange.fallback.count();
  const char* file = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (!arg.starts_with("--")) {
      if (file != nullptr) return usage();
      file = argv[i];
      continue;
    }
    if (i + 1 >= argc) return usage();
    const std::string_view value = argv[++i];
    double n = 0;
    const bool isNumber = number(argv[i], n);
    if (arg == "--method" && (value == "scan" || value == "hover")) {
      run.method = value == "scan" ? handsfree::Method::Scan : handsfree::Method::Hover;
    } else if (arg == "--timing" && (value == "fixed" || value == "tuned")) {
      run.tuned = value == "tuned";
    } else if (arg == "--prediction" && (value == "on" || value == "off")) {
      run.prediction = value == "on";
    } else if (arg == "--reaction-ms" && isNumber && n > 0) {
      person.reactionMs = n;
    } else if (arg == "--spread-ms" && isNumber && n > 0) {
      person.spreadMs = n;
    } else if (arg == "--slip" && isNumber && n >= 0 && n < 1) {
      person.slip = n;
    } else if (arg == "--move-ms" && isNumber && n >= 0) {
      person.moveMs = n;
    } else if (arg == "--step-ms" && isNumber && n > 0) {
      run.stepMs = static_cast<long long>(n);
    } else if (arg == "--dwell-ms" && isNumber && n > 0) {
      run.dwellMs = static_cast<long long>(n);
    } else if (arg == "--seed" && isNumber && n >= 0) {
      run.seed = static_cast<std::uint64_t>(n);
    } else if (arg == "--strip-after" && isNumber) {
      // Where a scan starts, for choosing the keyboard's rule; -1: its rule.
      run.stripAfter = static_cast<int>(n);
    } else {
      return usage();
    }
  }
  if (file == nullptr) return usage();
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::cerr << "qmosk-handsfree: cannot read " << file << "\n";
    return 1;
  }
  const std::string text = handsfree::typeable(
      std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
  try {
    const handsfree::Result r = handsfree::type(text, person, run);
    const double perMinute = r.minutes > 0 ? static_cast<double>(r.characters) / r.minutes : 0;
    const double errors =
        r.characters > 0 ? 100.0 * static_cast<double>(r.errors) / static_cast<double>(r.characters) : 0;
    std::printf("characters: %lld, minutes: %.1f, wrong keys: %lld\n", r.characters, r.minutes, r.errors);
    if (!r.finished) std::printf("gave up: %lld of %zu characters typed\n", r.characters, text.size());
    std::printf("%s at the end: %lld ms\n", run.method == handsfree::Method::Scan ? "step" : "rest",
                r.finalStepMs);
    std::printf("characters per minute: %.2f, errors per 100 characters: %.2f\n", perMinute, errors);
  } catch (const std::exception& e) {
    std::cerr << "qmosk-handsfree: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
