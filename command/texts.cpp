#include "texts.h"

#include <cstring>

#include "capacities.h"

namespace {

// The way out of both boxes that could not start the debugger.
constexpr char kWayOut[] =
    "\n\nTick Advanced and pick cdb.exe with its Browse button, or install the debugging "
    "tools (button above).";
constexpr char kLogProblemHead[] = "The debugger could not write its log:\n\n";
constexpr char kElevate[] = "start Kestrel with \"Run as administrator\", or ";
constexpr char kNameALog[] = "tick Advanced and name a log in a folder you can write.";
constexpr char kPickTheDump[] = "Press the upper Browse... button and pick the dump file.";

// Why a file cannot be had, as one sentence.
void AppendWhy(Text& text, FileCheck check, bool reading) {
  switch (check.problem) {
    case FileProblem::kFolder:
      text += "It is a folder, not a file.";
      return;
    case FileProblem::kReadOnly:
      text += "The file is read-only.";
      return;
    case FileProblem::kNoFile:
      text += reading ? "There is no such file." : "Its folder does not exist.";
      return;
    case FileProblem::kNoFolder:
      text += "Its folder does not exist.";
      return;
    case FileProblem::kDenied:
      text += reading ? "This user may not read that file."
                      : "This user may not create or write that file.";
      return;
    case FileProblem::kInUse:
      text += reading ? "Another program has it open, perhaps Windows still writing it."
                      : "Another program has it open, perhaps a debugger still writing it.";
      return;
    case FileProblem::kBadName:
      text += "That is not a valid file name.";
      return;
    case FileProblem::kNone:
    case FileProblem::kOther:
      break;
  }
  text.Append("Windows gave error ").AppendNumber(check.error).Append(".");
}

// The head of both log boxes: the log and why it cannot be written.
Text LogProblemHead(const char* log, FileCheck check) {
  Text text(kMessageCapacity);
  text.Append(kLogProblemHead).Append(log).Append("\n\n");
  AppendWhy(text, check, false);
  return text;
}

// What helps, as a clause: elevation only where rights are the reason.
// `sentence` starts it with a capital.
void AppendLogAdvice(Text& text, FileCheck check, bool sentence) {
  const std::size_t start = text.size();
  if (check.problem == FileProblem::kDenied) text += kElevate;
  text += kNameALog;
  char& first = text.data()[start];
  if (sentence && first >= 'a' && first <= 'z') first = static_cast<char>(first - 32);
}

}  // namespace

Text LogProblemText(const char* log, FileCheck check) {
  Text text = LogProblemHead(log, check);
  text += "\n\n";
  AppendLogAdvice(text, check, true);
  return text;
}

Text LogOfferText(const char* log, FileCheck check, const char* alternative) {
  Text text = LogProblemHead(log, check);
  text.Append("\n\nWrite the log to ").Append(alternative).Append(" instead?\n\nNo: ");
  AppendLogAdvice(text, check, false);
  return text;
}

Text NoDumpText() {
  Text text(kMessageCapacity);
  text.Append("No dump file is named in the command string.\n\n").Append(kPickTheDump);
  return text;
}

Text DumpTooLongText(const char* field) {
  Text text(kMessageCapacity);
  text.Append("The dump's path is longer than the ")
      .AppendNumber(kDumpPathCapacity - 1)
      .Append(" characters the command string can carry:\n\n")
      .Append(field)
      .Append("\n\nMove the dump to a folder with a shorter path and pick it there.");
  return text;
}

Text DumpProblemText(const char* dump, FileCheck check) {
  Text text(kMessageCapacity);
  text.Append("The debugger could not open the dump:\n\n").Append(dump).Append("\n\n");
  AppendWhy(text, check, true);
  text += "\n\n";
  text += check.problem == FileProblem::kDenied
              ? "Copy the dump to a folder of your own (Explorer asks for an administrator's "
                "consent), or start Kestrel with \"Run as administrator\"."
              : kPickTheDump;
  return text;
}

Text LaunchedText(const char* log) {
  Text text(sizeof kLaunchedNoLogText + std::strlen(log));
  if (!*log)
    text += kLaunchedNoLogText;
  else  // the usual log keeps the spelling the box has always had
    text.Append(kLaunchedHead).Append(SameTextIgnoringCase(log, kUsualLog) ? kUsualLog : log);
  return text;
}

Text DebuggerTooLongText(const char* path) {
  Text text(std::strlen(path) + 160);
  text.Append("The debugger's path is longer than the ")
      .AppendNumber(kLaunchPathCapacity - 1)
      .Append(" characters Kestrel can start:\n\n")
      .Append(path)
      .Append("\n\nMove the debugging tools to a folder with a shorter path.");
  return text;
}

Text CommandTooLongText() {
  Text text(kMessageCapacity);
  text.Append("The command string is longer than the ")
      .AppendNumber(kLaunchArgsCapacity - 1)
      .Append(" characters the debugger can be given.\n\nTick Advanced and shorten it.");
  return text;
}

Text StrayWordText(const char* word) {
  Text text(std::strlen(word) + 160);
  text.Append("The debugger would start this word of the command string as a program:\n\n")
      .Append(word)
      .Append("\n\nPut a path that holds blanks in double quotes.");
  return text;
}

Text NotFullPathText(const char* path) {
  Text text(std::strlen(path) + sizeof kWayOut + 80);
  text.Append("The debugger's path is not a full path, so Kestrel does not start it:\n\n");
  text.Append(path).Append(kWayOut);
  return text;
}

Text LaunchFailureText(const char* path) {
  Text text(kMessageCapacity);
  text.Append("The debugger could not be started:\n\n").Append(path).Append(kWayOut);
  return text;
}
