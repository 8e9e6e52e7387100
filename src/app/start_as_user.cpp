#include "app/start_as_user.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>

#include "platform/log.h"

namespace osk {

namespace {

bool isSwitch(const std::string& argument) {
  if (argument.size() != std::char_traits<char>::length(kStartAsUserSwitch)) return false;
  return std::equal(argument.begin(), argument.end(), kStartAsUserSwitch, [](char a, char b) {
    return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
  });
}

void appendQuoted(std::string& line, const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) {
    line += argument;
    return;
  }
  line += '"';
  std::size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count only before a quote: there each stands for half.
    line.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    line += c;
  }
  line.append(backslashes * 2, '\\');  // before the closing quote
  line += '"';
}

}  // namespace

bool wantsStartAsUser(const std::vector<std::string>& arguments) {
  return std::any_of(arguments.begin(), arguments.end(), isSwitch);
}

std::string joinArguments(const std::vector<std::string>& arguments) {
  std::string line;
  for (const std::string& argument : arguments) {
    if (!line.empty()) line += ' ';
    appendQuoted(line, argument);
  }
  return line;
}

UserStartResult startAsSignedInUser(UserStarter& starter, const std::vector<std::string>& arguments) {
  std::vector<std::string> passed;
  std::copy_if(arguments.begin(), arguments.end(), std::back_inserter(passed),
               [](const std::string& a) { return !isSwitch(a); });
  const std::string parameters = joinArguments(passed);
  const UserStarter::Elevation elevation = starter.elevation();
  if (elevation != UserStarter::Elevation::Limited) {
    const LaunchOutcome shell = starter.startThroughShell(parameters);
    if (shell.started()) return {UserStartRoute::Shell, 0};
    logFailure(
        "the desktop's shell could not start the keyboard as the signed-in user (" + shell.reason +
        "); starting it " +
        (elevation == UserStarter::Elevation::Elevated ? "as administrator" : "with this start's rights") +
        " instead");
  }
  const LaunchOutcome direct = starter.startDirectly(parameters);
  if (direct.started()) return {UserStartRoute::Direct, 0};
  logFailure("the keyboard could not be started: " + direct.reason);
  return {UserStartRoute::None, 1};
}

}  // namespace osk
