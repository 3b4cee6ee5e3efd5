// Kestrel's own messages, exactly as the user sees them.
#pragma once
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

// Why the log cannot be written: `error` is what Windows said of creating or
// opening it.
Text LogProblemWhy(unsigned long error, bool isFolder);

// The error box shown, instead of a launch, when the log cannot be written.
Text LogProblemText(const char* log, const char* why);

// The same, offering `alternative` instead (Yes or No).
Text LogOfferText(const char* log, const char* why, const char* alternative);
