#include "cdb_options.h"

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
