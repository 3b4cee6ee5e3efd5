// What Kestrel fixes about Microsoft's Debugging Tools for Windows and its own
// identity: every outside name, option and address in one place.
#pragma once

// Where the tools' installer records its folder (HKEY_CURRENT_USER).
inline constexpr char kToolsRegistryKey[] = "Software\\Microsoft\\DebuggingTools";
inline constexpr char kToolsRegistryValue[] = "WinDbg";
// Registry value types that hold a folder as text.
inline constexpr unsigned long kRegSz = 1;
inline constexpr unsigned long kRegExpandSz = 2;

inline constexpr char kDebuggerFileName[] = "cdb.exe";
inline constexpr char kSymbolServerHost[] = "msdl.microsoft.com";
inline constexpr char kDownloadPageUrl[] =
    "http://www.microsoft.com/whdc/devtools/debugging/installx86.mspx";

// The publisher; the dialog's caption ends with the same domain.
inline constexpr char kPublisherDomain[] = "www.harborline.example";
inline constexpr char kPublisherUrl[] = "http://www.harborline.example";

// The debugger's argument string, around its four insertions.
inline constexpr char kCommandHead[] =
    " -logo c:\\debuglog.txt -c \"!analyze -v;r;kv;lmtn;.logclose;q\""
    " -y SRV*c:\\symbols*http://msdl.microsoft.com/download/symbols -i ";
inline constexpr char kCommandAfterRoot1[] = ";";
inline constexpr char kCommandAfterRoot2[] = "\\system32;";
inline constexpr char kCommandAfterRoot3[] = "\\system32\\drivers -z \"";
inline constexpr char kCommandTail[] = "\"";
// What stands in for a missing SystemRoot.
inline constexpr char kMissingRoot[] = "(null)";
