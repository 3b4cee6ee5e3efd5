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

const CdbOption* FindCdbOption(const char* word) {
  for (const CdbOption& option : kCdbOptions)
    if (SameText(word, option.name)) return &option;
  return nullptr;
}
