// The debugger's command line as the debugger reads it (Microsoft's "CDB
// Command-Line Options"): Kestrel's checks and its log offer read it here, and
// so do the stand-in and the adapter (cdb_options.h).
#pragma once
#include <cstddef>

#include "text.h"

// The next word of a command line from `at`, which moves past it: blanks and
// tabs outside double quotes end a word, quotes group and are dropped,
// backslashes are plain characters, as in Windows paths. The word replaces
// `word`'s text (cut at its capacity). `unterminated` is set when the line
// ends inside quotes. False when no word is left.
bool NextCdbWord(const char*& at, Text& word, bool& unterminated);

// What the value of a debugger option sets.
enum class CdbValue {
  kLog,               // -logo: a new log
  kAppendLog,         // -loga
  kUnicodeLog,        // -logou: a new log in Unicode
  kAppendUnicodeLog,  // -logau
  kCommands,          // -c
  kSymbolPath,        // -y
  kImagePath,         // -i
  kDump,              // -z: one dump of several
  kOther,             // what Kestrel does not look at
};

struct CdbOption {
  const char* name;  // with "-"; "/" is the same
  CdbValue sets;
  bool exactCase;  // the few whose letter case counts
};

// Every documented option that takes the next word as its value, whatever
// that word is. Any other word that begins with "-" or "/" is an option
// without a value: -g, -G, -n, -v, -x, -a<name>, -netsyms:yes and so on.
inline constexpr CdbOption kCdbOptions[] = {
    {"-logo", CdbValue::kLog, false},         {"-loga", CdbValue::kAppendLog, false},
    {"-logou", CdbValue::kUnicodeLog, false}, {"-logau", CdbValue::kAppendUnicodeLog, false},
    {"-c", CdbValue::kCommands, false},       {"-y", CdbValue::kSymbolPath, false},
    {"-i", CdbValue::kImagePath, false},      {"-z", CdbValue::kDump, false},
    {"-server", CdbValue::kOther, true},      {"-remote", CdbValue::kOther, true},
    {"-premote", CdbValue::kOther, false},    {"-cf", CdbValue::kOther, false},
    {"-cfr", CdbValue::kOther, false},        {"-r", CdbValue::kOther, false},
    {"-t", CdbValue::kOther, false},          {"-xe", CdbValue::kOther, false},
    {"-xd", CdbValue::kOther, false},         {"-xn", CdbValue::kOther, false},
    {"-xi", CdbValue::kOther, false},         {"-clines", CdbValue::kOther, false},
    {"-srcpath", CdbValue::kOther, false},    {"-zp", CdbValue::kOther, false},
    {"-sflags", CdbValue::kOther, false},     {"-ee", CdbValue::kOther, false},
    {"-e", CdbValue::kOther, false},          {"-pt", CdbValue::kOther, false},
    {"-p", CdbValue::kOther, false},          {"-pn", CdbValue::kOther, false},
    {"-psn", CdbValue::kOther, false},        {"-iaec", CdbValue::kOther, false},
    {"-iu", CdbValue::kOther, false},         {"-qr", CdbValue::kOther, false},
    {"-wake", CdbValue::kOther, false},
};

// The option that takes a value named by `word` ("-" or "/" before it), or
// null for any other word.
const CdbOption* FindCdbOption(const char* word);

inline bool IsLogValue(CdbValue value) {
  return value == CdbValue::kLog || value == CdbValue::kAppendLog ||
         value == CdbValue::kUnicodeLog || value == CdbValue::kAppendUnicodeLog;
}
inline bool IsDumpValue(CdbValue value) { return value == CdbValue::kDump; }

// What the debugger takes a word for. The first word that is neither an
// option nor an option's value is the program it starts, and every word
// after it goes to that program.
enum class CdbRole { kOption, kValue, kProgram, kToProgram };

struct CdbWord {
  CdbRole role;
  // kValue: the option it belongs to. kOption: the option when it takes a
  // value (null for one without). kToProgram: the option the word would be,
  // had no program come before it.
  const CdbOption* option;
  std::size_t begin, end;  // where it stands in the line, quotes included
};

// Reads a command line word by word. The line is the arguments alone, the
// debugger's own name not among them.
class CdbReader {
 public:
  explicit CdbReader(const char* line) : line_(line), at_(line) {}
  // The next word: what it is, and its text (unquoted) in `text`, cut at
  // its capacity. False at the end of the line.
  bool Next(CdbWord& word, Text& text);
  // The line ended inside double quotes.
  bool unterminated() const { return unterminated_; }

 private:
  const char* line_;
  const char* at_;
  const CdbOption* pending_ = nullptr;  // an option whose value comes next
  bool program_ = false;
  bool unterminated_ = false;
};

// The log file that the argument string names with its last -logo, -loga,
// -logou or -logau, read as the debugger reads its options, as written
// there; empty when the string names none.
Text LogFileOf(const char* arguments);

// The `index`-th dump file (from 0) that the argument string names with -z,
// as written there; `named` is false when the string has no such -z.
Text DumpFileOf(const char* arguments, std::size_t index, bool& named);

// Whether the debugger would start a program: the first word of the
// argument string that is neither an option nor an option's value (in
// `word`, unquoted), when the string also names a dump with -z, before or
// after that word. A string without -z is the user's own command.
bool StrayWordOf(const char* arguments, Text& word);

// The argument string with the value of its last log option (the one the
// debugger takes) replaced by `log`, in double quotes when it holds a blank
// or a tab, every other character kept; empty when the string names no log
// or the result would not fit kCommandCapacity-1.
Text WithLogFile(const char* arguments, const char* log);
