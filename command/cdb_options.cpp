#include "cdb_options.h"

namespace {

std::vector<std::string> Words(const std::string& line, bool& unterminated) {
  std::vector<std::string> words;
  Text word(line.size() + 1);
  const char* at = line.c_str();
  unterminated = false;
  while (NextCdbWord(at, word, unterminated)) words.push_back(word.c_str());
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
    const std::string& word = words[i];
    const CdbOption* option = FindCdbOption(word.c_str());
    if (!option) {
      if (options.error.empty()) options.error = "unknown option " + word;
      continue;
    }
    if (i + 1 >= words.size()) {
      if (options.error.empty()) options.error = "option " + word + " has no value";
      break;
    }
    const std::string& value = words[++i];
    switch (option->sets) {
      case CdbValue::kLog:
      case CdbValue::kAppendLog:
        options.log = value;
        options.appendLog = option->sets == CdbValue::kAppendLog;
        break;
      case CdbValue::kCommands:
        options.commands = SplitCommands(value);
        break;
      case CdbValue::kSymbolPath:
        options.symbolPath = value;
        break;
      case CdbValue::kImagePath:
        options.imagePath = value;
        break;
      case CdbValue::kDump:
        options.dump = value;
        break;
    }
  }
  if (options.error.empty() && options.dump.empty()) options.error = "no dump file (-z)";
  return options;
}
