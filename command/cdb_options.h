// Reads the debugger options out of a command line as the debugger reads
// them: Kestrel looks up the log it names, the stand-in and the adapter all.
#pragma once
#include <string>
#include <vector>

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
