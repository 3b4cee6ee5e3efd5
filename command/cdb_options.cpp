#include "cdb_options.h"

namespace {

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

void Take(CdbOptions& options, CdbValue sets, const std::string& value) {
  switch (sets) {
    case CdbValue::kLog:
    case CdbValue::kAppendLog:
    case CdbValue::kUnicodeLog:
    case CdbValue::kAppendUnicodeLog:
      options.log = value;
      options.appendLog = sets == CdbValue::kAppendLog || sets == CdbValue::kAppendUnicodeLog;
      options.unicodeLog = sets == CdbValue::kUnicodeLog || sets == CdbValue::kAppendUnicodeLog;
      return;
    case CdbValue::kCommands:
      options.commands = SplitCommands(value);
      return;
    case CdbValue::kSymbolPath:
      options.symbolPath = value;
      return;
    case CdbValue::kImagePath:
      options.imagePath = value;
      return;
    case CdbValue::kDump:
      options.dumps.push_back(value);
      return;
    case CdbValue::kOther:
      return;
  }
}

}  // namespace

CdbOptions ParseCdbOptions(const std::string& commandLine) {
  CdbOptions options;
  Text text(commandLine.size() + 1);
  const char* at = commandLine.c_str();
  bool unterminated = false;
  NextCdbWord(at, text, unterminated);  // the program's own name
  CdbReader reader(at);
  CdbWord word{};
  const CdbOption* lacking = nullptr;  // an option still waiting for its value
  while (reader.Next(word, text)) {
    if (word.role == CdbRole::kOption) {
      lacking = word.option;
      if (!word.option || word.option->sets == CdbValue::kOther)
        options.ignored.push_back(text.c_str());
    } else if (word.role == CdbRole::kValue) {
      lacking = nullptr;
      Take(options, word.option->sets, text.c_str());
      if (word.option->sets == CdbValue::kOther)
        options.ignored.back() += " " + std::string(text.c_str());
    } else if (word.role == CdbRole::kProgram) {
      options.program = text.c_str();
    }
  }
  // An option that ends the line takes nothing, and says so.
  if (lacking) Take(options, lacking->sets, std::string());
  if (reader.unterminated() || unterminated)
    options.error = "a double quote is not closed";
  else if (lacking)
    options.error = std::string("option ") + lacking->name + " has no value";
  else if (options.dumps.empty())
    options.error = "no dump file (-z)";
  return options;
}
