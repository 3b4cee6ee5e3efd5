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

bool CdbOptionTakesValue(const char* option) {
  static constexpr const char* kOptions[] = {"-logo", "-c", "-y", "-i", "-z"};
  for (const char* known : kOptions)
    if (SameText(option, known)) return true;
  return false;
}
