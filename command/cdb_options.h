// The debugger's command line read whole, as the stand-in and the cdb adapter
// take it: the reading of command_line.h, gathered into strings.
#pragma once
#include <string>
#include <vector>

#include "command_line.h"

struct CdbOptions {
  std::string log;                    // the last -logo, -loga, -logou or -logau
  bool appendLog = false;             // that one was -loga or -logau
  bool unicodeLog = false;            // that one was -logou or -logau
  std::vector<std::string> commands;  // -c, split at semicolons
  std::string symbolPath;             // -y
  std::string imagePath;              // -i
  std::vector<std::string> dumps;     // every -z
  std::string program;                // the first word that is no option
  std::vector<std::string> ignored;   // options that set nothing here
  std::string error;                  // what was wrong, empty when nothing
};

// `commandLine` is the whole raw line, the program's own name first.
CdbOptions ParseCdbOptions(const std::string& commandLine);
