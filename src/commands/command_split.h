// Splitting a command into the program and its arguments, for a command that
// does not name a file as a whole.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace osk {

struct SplitCommand {
  std::string program;
  std::string parameters;
  friend bool operator==(const SplitCommand&, const SplitCommand&) = default;
};

// As the system's run box reads a command: a program in double quotes runs
// to the closing quote (or the end), any other program to the first blank;
// the rest, without the blanks around it, is the arguments, passed on as
// written. Nothing for a command with no program in it.
std::optional<SplitCommand> splitCommand(std::string_view command);

// The text without the blanks (spaces and tabs) at either end.
std::string_view trimBlanks(std::string_view text);

}  // namespace osk
