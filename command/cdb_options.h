// Reads the debugger options out of a command line as the debugger reads
// them: Kestrel looks up the log it names, the stand-in and the adapter all.
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

// Whether the debugger option takes the next word as its value.
bool CdbOptionTakesValue(const char* option);

struct CdbOptions {
  std::string log;                    // -logo
  std::vector<std::string> commands;  // -c, split at semicolons
  std::string symbolPath;             // -y
  std::string imagePath;              // -i
  std::string dump;                   // -z
  std::string error;                  // what was wrong, empty when nothing
};

// `commandLine` is the whole raw line, the program's own name first.
CdbOptions ParseCdbOptions(const std::string& commandLine);
