// Every sentence Kestrel's fields and boxes show, exactly as the user sees
// it: fixed texts here, and the functions that join them around a path. The
// dialog's labels are in the .rc, its caption's domain in hosts.h.
#pragma once
#include "file_check.h"
#include "text.h"

inline constexpr char kPlaceholderText[] = "<fill in the blank first>";
inline constexpr char kInstallHintText[] =
    "debugging key not found- please install the tools (button above)";
inline constexpr char kBoxCaption[] = "Log File Complete";
inline constexpr char kGateText[] = "You need to hit both the browse buttons before running logs";
inline constexpr char kUsualLog[] = "c:\\debuglog.txt";
inline constexpr char kLaunchedHead[] =
    "When the dos window closes, your dump output has been saved to ";
inline constexpr char kLaunchedNoLogText[] =
    "When the dos window closes, the debugger is done. The command string names no log file "
    "(-logo), so nothing is saved.";
inline constexpr char kDumpFilter[] = "Dump Files\0*.DMP\0";
inline constexpr char kDebuggerFilter[] = "CDB Debugger\0cdb.exe\0";

// The error box shown when the shell could not start the debugger at `path`.
Text LaunchFailureText(const char* path);

// The box after a launch, for the log the debugger writes (empty: none).
Text LaunchedText(const char* log);

// The error box shown, instead of a launch, for a debugger path that is not
// a full path.
Text NotFullPathText(const char* path);

// The error boxes shown, instead of a launch, for a debugger path (`path`
// the field's whole text) or a command string longer than Kestrel can start
// whole, and for a word the debugger would start as a program.
Text DebuggerTooLongText(const char* path);
Text CommandTooLongText();
Text StrayWordText(const char* word);

// The error boxes shown, instead of a launch, when the log cannot be
// written: a refusal, or an offer of `alternative` instead (Yes or No).
Text LogProblemText(const char* log, FileCheck check);
Text LogOfferText(const char* log, FileCheck check, const char* alternative);

// The error boxes shown, instead of a launch, for the dump: none named, a
// field too long for the string (`field` whole), or one that cannot be read.
Text NoDumpText();
Text DumpTooLongText(const char* field);
Text DumpProblemText(const char* dump, FileCheck check);
