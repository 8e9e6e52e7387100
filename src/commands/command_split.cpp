#include "commands/command_split.h"

namespace osk {

namespace {
constexpr std::string_view kBlanks = " \t";
}  // namespace

std::string_view trimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

std::optional<SplitCommand> splitCommand(std::string_view command) {
  const std::string_view text = trimBlanks(command);
  std::string_view program;
  std::string_view rest;
  if (!text.empty() && text.front() == '"') {
    const std::string_view inner = text.substr(1);
    const auto close = inner.find('"');
    program = inner.substr(0, close);
    rest = close == std::string_view::npos ? std::string_view() : inner.substr(close + 1);
  } else {
    const auto blank = text.find_first_of(kBlanks);
    program = text.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : text.substr(blank);
  }
  if (trimBlanks(program).empty()) return std::nullopt;
  return SplitCommand{std::string(program), std::string(trimBlanks(rest))};
}

}  // namespace osk
