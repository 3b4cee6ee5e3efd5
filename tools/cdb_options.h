// Reads the debugger options out of a command line the way Kestrel writes
// them. Shared by the stand-in debugger and the debugger adapter.
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
