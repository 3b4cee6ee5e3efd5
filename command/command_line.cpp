#include "command_line.h"

#include <cstring>

#include "capacities.h"

bool NextCdbWord(const char*& at, Text& word, bool& unterminated) {
  word.Clear();
  while (*at == ' ' || *at == '\t') ++at;
  if (!*at) return false;
  bool quoted = false;
  for (; *at; ++at) {
    if (*at == '"')
      quoted = !quoted;
    else if ((*at == ' ' || *at == '\t') && !quoted)
      break;
    else
      word.Append(at, 1);
  }
  unterminated = quoted;
  return true;
}

namespace {

bool IsOptionWord(const char* word) { return word[0] == '-' || word[0] == '/'; }

}  // namespace

const CdbOption* FindCdbOption(const char* word) {
  if (!IsOptionWord(word)) return nullptr;
  for (const CdbOption& option : kCdbOptions) {
    const char* name = option.name + 1;
    if (option.exactCase ? SameText(word + 1, name) : SameTextIgnoringCase(word + 1, name))
      return &option;
  }
  return nullptr;
}

bool CdbReader::Next(CdbWord& word, Text& text) {
  while (*at_ == ' ' || *at_ == '\t') ++at_;
  word.begin = static_cast<std::size_t>(at_ - line_);
  bool unterminated = false;
  if (!NextCdbWord(at_, text, unterminated)) return false;
  unterminated_ = unterminated_ || unterminated;
  word.end = static_cast<std::size_t>(at_ - line_);
  if (pending_) {
    word.role = CdbRole::kValue;
    word.option = pending_;
    pending_ = nullptr;
  } else if (program_) {
    word.role = CdbRole::kToProgram;
    word.option = FindCdbOption(text.c_str());
  } else if (IsOptionWord(text.c_str())) {
    word.role = CdbRole::kOption;
    word.option = pending_ = FindCdbOption(text.c_str());
  } else {
    word.role = CdbRole::kProgram;
    word.option = nullptr;
    program_ = true;
  }
  return true;
}

namespace {

// Where the value of an option that sets `wanted` stands in `arguments`,
// read as the debugger reads them: of the last such option when `fromLast`
// (the log), else of the `index`-th from the first (the dumps). [begin, end),
// quotes included; begin == end when the option ends the string. False when
// there is no such option.
bool ValueAt(const char* arguments, bool (*wanted)(CdbValue), bool fromLast, std::size_t index,
             std::size_t& begin, std::size_t& end) {
  Text text(std::strlen(arguments) + 1);
  CdbReader reader(arguments);
  CdbWord word{};
  std::size_t seen = 0;
  bool found = false;
  while (reader.Next(word, text)) {
    if (word.role == CdbRole::kToProgram) break;  // the program's, not the debugger's
    if (word.role != CdbRole::kOption || !word.option || !wanted(word.option->sets)) continue;
    if (!fromLast && seen++ != index) continue;
    // The value, or nothing when the option ends the string.
    const char* rest = arguments + word.end;
    while (*rest == ' ' || *rest == '\t') ++rest;
    begin = end = static_cast<std::size_t>(rest - arguments);
    const bool more = reader.Next(word, text);
    if (more) end = word.end;
    found = true;
    if (!fromLast || !more) break;
  }
  return found;
}

// That value, unquoted; empty when there is none.
Text ValueOf(const char* arguments, bool (*wanted)(CdbValue), bool fromLast, std::size_t index,
             bool& named) {
  Text value(std::strlen(arguments) + 1);
  std::size_t begin = 0, end = 0;
  named = ValueAt(arguments, wanted, fromLast, index, begin, end);
  if (named && begin != end) {
    const char* at = arguments + begin;
    bool unterminated = false;
    NextCdbWord(at, value, unterminated);
  }
  return value;
}

}  // namespace

Text LogFileOf(const char* arguments) {
  bool named = false;
  return ValueOf(arguments, IsLogValue, true, 0, named);
}

Text DumpFileOf(const char* arguments, std::size_t index, bool& named) {
  return ValueOf(arguments, IsDumpValue, false, index, named);
}

bool StrayWordOf(const char* arguments, Text& word) {
  Text text(std::strlen(arguments) + 1);
  CdbReader reader(arguments);
  CdbWord read{};
  bool program = false, dump = false;
  while (reader.Next(read, text)) {
    if (read.role == CdbRole::kProgram) {
      program = true;
      word = Text(text.size() + 1);
      word += text;
    }
    dump = dump || ((read.role == CdbRole::kOption || read.role == CdbRole::kToProgram) &&
                    read.option && IsDumpValue(read.option->sets));
  }
  return program && dump;
}

Text WithLogFile(const char* arguments, const char* log) {
  Text text(kCommandCapacity);
  std::size_t begin = 0, end = 0;
  if (!ValueAt(arguments, IsLogValue, true, 0, begin, end) || begin == end) return text;
  // Quoted as the dump is: the debugger splits its options at blanks.
  bool quote = false;
  for (const char* at = log; *at; ++at) quote = quote || *at == ' ' || *at == '\t';
  const std::size_t length =
      begin + (quote ? 2 : 0) + std::strlen(log) + std::strlen(arguments + end);
  if (length > kCommandCapacity - 1) return text;
  text.Append(arguments, begin);
  if (quote) text += "\"";
  text += log;
  if (quote) text += "\"";
  text += arguments + end;
  return text;
}
