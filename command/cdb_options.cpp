#include "cdb_options.h"

namespace {

// Splits at blanks outside double quotes; quotes group and are dropped.
// Backslashes are plain characters, as in Windows paths.
std::vector<std::string> Words(const std::string& line, bool& unterminated) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false, inWord = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  unterminated = quoted;
  return words;
}

std::vector<std::string> SplitCommands(const std::string& list) {
  std::vector<std::string> commands;
  std::string::size_type start = 0;
  for (;;) {
    const std::string::size_type end = list.find(';', start);
    const std::string command = list.substr(start, end - start);
    if (!command.empty()) commands.push_back(command);
    if (end == std::string::npos) return commands;
    start = end + 1;
  }
}

}  // namespace

CdbOptions ParseCdbOptions(const std::string& commandLine) {
  CdbOptions options;
  bool unterminated = false;
  const std::vector<std::string> words = Words(commandLine, unterminated);
  if (unterminated) options.error = "a double quote is not closed";
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::string& option = words[i];
    std::string* value = option == "-logo" ? &options.log
                         : option == "-y"  ? &options.symbolPath
                         : option == "-i"  ? &options.imagePath
                         : option == "-z"  ? &options.dump
                                           : nullptr;
    const bool isCommands = option == "-c";
    if (!value && !isCommands) {
      if (options.error.empty()) options.error = "unknown option " + option;
      continue;
    }
    if (i + 1 >= words.size()) {
      if (options.error.empty()) options.error = "option " + option + " has no value";
      break;
    }
    ++i;
    if (isCommands)
      options.commands = SplitCommands(words[i]);
    else
      *value = words[i];
  }
  if (options.error.empty() && options.dump.empty()) options.error = "no dump file (-z)";
  return options;
}
