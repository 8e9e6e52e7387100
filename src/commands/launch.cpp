#include "commands/launch.h"

#include <utility>

#include "commands/command_split.h"
#include "delivery/send.h"

namespace osk {

std::string launchFailureNote(const Texts& texts, std::string_view command, const LaunchOutcome& outcome) {
  if (trimBlanks(command).empty()) return texts.text(TextId::LaunchEmptyNote);
  std::string note = texts.text(TextId::LaunchFailedNote, {command});
  if (!outcome.reason.empty()) note.append(": ").append(outcome.reason);
  return note;
}

void startProgram(Context& ctx, LaunchRequest request, KeyboardControl key, bool flash) {
  request.owner = ctx.platform.host.windowOf(ctx.main);
  std::string shown = request.file;
  if (!request.parameters.empty()) shown.append(" ").append(request.parameters);

  auto finish = [&ctx, key, flash, shown](const LaunchOutcome& outcome) {
    if (outcome.started()) {
      if (flash) flashKey(ctx, ctx.main.control(key));
      return;
    }
    ctx.platform.host.showNote(ctx.main, key, launchFailureNote(ctx.platform.texts, shown, outcome));
  };

  // An empty name could only ever fail, and the system would not say why.
  if (trimBlanks(request.file).empty()) {
    finish(LaunchOutcome{LaunchOutcome::Status::Failed, {}});
    return;
  }

  if (request.kind == LaunchRequest::Kind::Shell && request.parameters.empty()) {
    // Tried whole first, so that a file whose name holds blanks still opens.
    const auto split = splitCommand(request.file);
    if (split && (split->program != request.file || !split->parameters.empty())) {
      LaunchRequest parts = request;
      parts.file = split->program;
      parts.parameters = split->parameters;
      ctx.platform.launcher.launch(request,
                                   [&ctx, parts = std::move(parts), finish](const LaunchOutcome& whole) {
                                     if (whole.status != LaunchOutcome::Status::NotFound) {
                                       finish(whole);
                                       return;
                                     }
                                     ctx.platform.launcher.launch(parts, finish);
                                   });
      return;
    }
  }
  ctx.platform.launcher.launch(request, finish);
}

}  // namespace osk
