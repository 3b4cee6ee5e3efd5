// Reads the debugger options out of a command line as the debugger reads
// them: Kestrel looks up the log and the dump it names, the stand-in and the
// adapter all.
#pragma once
#include <string>
#include <vector>

#include "text.h"

// The next word of a command line from `at`, which moves past it: blanks and
// tabs outside double quotes end a word, quotes group and are dropped,
// backslashes are plain characters, as in Windows paths. The word replaces
// `word`'s text (cut at its capacity). `unterminated` is set when the line
// ends inside quotes. False when no word is left.
bool NextCdbWord(const char*& at, Text& word, bool& unterminated);

// What the value of a debugger option sets.
enum class CdbValue { kLog, kAppendLog, kCommands, kSymbolPath, kImagePath, kDump };

struct CdbOption {
  const char* name;  // as the debugger spells it, letter case included
  CdbValue sets;
};

// Every option of the debugger's that Kestrel or its tools know: each takes
// the next word as its value.
inline constexpr CdbOption kCdbOptions[] = {
    {"-logo", CdbValue::kLog},     {"-loga", CdbValue::kAppendLog}, {"-c", CdbValue::kCommands},
    {"-y", CdbValue::kSymbolPath}, {"-i", CdbValue::kImagePath},    {"-z", CdbValue::kDump},
};

// The option `word` names, or null when the debugger has none of that name.
const CdbOption* FindCdbOption(const char* word);

// Whether the value sets the log, opened new (-logo) or appended to (-loga).
inline bool IsLogValue(CdbValue value) {
  return value == CdbValue::kLog || value == CdbValue::kAppendLog;
}
inline bool IsDumpValue(CdbValue value) { return value == CdbValue::kDump; }

struct CdbOptions {
  std::string log;                    // the last -logo or -loga
  bool appendLog = false;             // that one was -loga
  std::vector<std::string> commands;  // -c, split at semicolons
  std::string symbolPath;             // -y
  std::string imagePath;              // -i
  std::string dump;                   // -z
  std::string error;                  // what was wrong, empty when nothing
};

// `commandLine` is the whole raw line, the program's own name first.
CdbOptions ParseCdbOptions(const std::string& commandLine);
