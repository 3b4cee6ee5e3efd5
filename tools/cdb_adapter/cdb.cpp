// A cdb.exe for Linux users of Kestrel: takes the options Kestrel composes,
// opens the dump with Wine's debugger (winedbg) and writes what it finds to
// the -logo file in cdb's order. !analyze -v is read from the dump itself.
#include <windows.h>

#include <dbghelp.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "../../command/cdb_options.h"
#include "analysis.h"

namespace {

constexpr DWORD kWinedbgWaitMs = 60000;
constexpr ULONG32 kMinidumpSignature = 0x504D444D;  // "MDMP"

// What goes to the log also shows in the console window, as with cdb.
class Output {
 public:
  void Open(const std::string& path) { log_.open(path, std::ios::binary | std::ios::trunc); }
  bool IsOpen() const { return log_.is_open(); }
  void Close() { log_.close(); }
  Output& operator<<(const std::string& text) {
    std::cout << text;
    if (log_.is_open()) log_ << text;
    return *this;
  }

 private:
  std::ofstream log_;
};

// The dump file, mapped for dbghelp's stream reader.
class MappedDump {
 public:
  explicit MappedDump(const std::string& path) {
    file_ = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                        nullptr);
    if (file_ == INVALID_HANDLE_VALUE) return;
    size_ = GetFileSize(file_, nullptr);
    if (size_ < sizeof(MINIDUMP_HEADER)) return;
    mapping_ = CreateFileMappingA(file_, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping_) view_ = MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0);
  }
  ~MappedDump() {
    if (view_) UnmapViewOfFile(view_);
    if (mapping_) CloseHandle(mapping_);
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  bool Opened() const { return file_ != INVALID_HANDLE_VALUE; }
  bool IsMinidump() const {
    return view_ && static_cast<const MINIDUMP_HEADER*>(view_)->Signature == kMinidumpSignature;
  }
  // A stream of the dump, or null; checked to lie inside the file.
  template <typename T>
  const T* Stream(ULONG type) const {
    MINIDUMP_DIRECTORY* entry = nullptr;
    void* stream = nullptr;
    ULONG size = 0;
    if (!MiniDumpReadDumpStream(view_, type, &entry, &stream, &size) || size < sizeof(T))
      return nullptr;
    return Inside(stream, size) ? static_cast<const T*>(stream) : nullptr;
  }
  bool Inside(const void* at, ULONG64 size) const {
    const BYTE* base = static_cast<const BYTE*>(view_);
    const BYTE* p = static_cast<const BYTE*>(at);
    return p >= base && p <= base + size_ && size <= static_cast<ULONG64>(base + size_ - p);
  }
  std::string Text(RVA rva) const {  // a MINIDUMP_STRING, narrowed
    const BYTE* base = static_cast<const BYTE*>(view_);
    if (rva > size_ || !Inside(base + rva, sizeof(ULONG32))) return "";
    const auto* text = reinterpret_cast<const MINIDUMP_STRING*>(base + rva);
    if (!Inside(text->Buffer, text->Length)) return "";
    std::string narrow;
    for (ULONG32 i = 0; i < text->Length / 2; ++i)
      narrow += static_cast<char>(text->Buffer[i] < 0x80 ? text->Buffer[i] : '?');
    return narrow;
  }

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
  HANDLE mapping_ = nullptr;
  void* view_ = nullptr;
  DWORD size_ = 0;
};

std::vector<LoadedModule> Modules(const MappedDump& dump) {
  std::vector<LoadedModule> modules;
  const auto* list = dump.Stream<MINIDUMP_MODULE_LIST>(ModuleListStream);
  if (!list ||
      !dump.Inside(list->Modules, ULONG64(list->NumberOfModules) * sizeof(MINIDUMP_MODULE)))
    return modules;
  for (ULONG32 i = 0; i < list->NumberOfModules; ++i) {
    const MINIDUMP_MODULE& module = list->Modules[i];
    modules.push_back(
        {BaseName(dump.Text(module.ModuleNameRva)), module.BaseOfImage, module.SizeOfImage});
  }
  return modules;
}

std::string Hex(ULONG64 value, int digits = 8) {
  char text[32];
  std::snprintf(text, sizeof text, "%0*llx", digits, static_cast<unsigned long long>(value));
  return text;
}

// The analysis read from the dump's exception and module streams.
std::string Analyze(const MappedDump& dump, const std::string& backtrace) {
  std::ostringstream text;
  text << "*******************************************************************************\n"
          "*                        Exception Analysis (cdb adapter)                     *\n"
          "*******************************************************************************\n\n";
  const auto* stream = dump.Stream<MINIDUMP_EXCEPTION_STREAM>(ExceptionStream);
  if (!stream) {
    text << "The dump holds no exception record: nothing crashed when it was written.\n";
    return text.str();
  }
  const MINIDUMP_EXCEPTION& record = stream->ExceptionRecord;
  const std::string name = ExceptionName(record.ExceptionCode);
  const std::string place = PlaceAddress(Modules(dump), record.ExceptionAddress);
  text << "FAULTING_IP: " << place << " (" << Hex(record.ExceptionAddress) << ")\n\n";
  text << "EXCEPTION_CODE: " << Hex(record.ExceptionCode) << " ("
       << (name.empty() ? "unknown exception" : name) << ")\n";
  if (record.ExceptionCode == 0xC0000005 && record.NumberParameters >= 2) {
    const ULONG64 kind = record.ExceptionInformation[0];
    text << "Attempt to "
         << (kind == 0   ? "read from"
             : kind == 1 ? "write to"
                         : "execute")
         << " address " << Hex(record.ExceptionInformation[1]) << "\n";
  }
  text << "FAULTING_THREAD: " << Hex(stream->ThreadId) << "\n";
  text << "FAULTING_MODULE: " << place.substr(0, place.find('+')) << "\n\n";
  text << "STACK_TEXT (faulting thread):\n" << backtrace << "\n";
  return text.str();
}

// Runs winedbg on the dump with the commands, one a line; its whole output.
std::string RunWinedbg(const std::string& dump, const std::string& commands, bool& timedOut) {
  char folder[MAX_PATH] = {};
  GetTempPathA(sizeof folder, folder);
  char input[MAX_PATH] = {}, output[MAX_PATH] = {};
  GetTempFileNameA(folder, "cdbi", 0, input);
  GetTempFileNameA(folder, "cdbo", 0, output);
  std::ofstream(input, std::ios::binary) << commands;

  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE in =
      CreateFileA(input, GENERIC_READ, FILE_SHARE_READ, &inherit, OPEN_EXISTING, 0, nullptr);
  HANDLE out =
      CreateFileA(output, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = out;
  std::string line = "winedbg.exe \"" + dump + "\"";
  std::vector<char> buffer(line.begin(), line.end());
  buffer.push_back('\0');
  PROCESS_INFORMATION process = {};
  timedOut = false;
  if (CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                     nullptr, &startup, &process)) {
    if (WaitForSingleObject(process.hProcess, kWinedbgWaitMs) == WAIT_TIMEOUT) {
      TerminateProcess(process.hProcess, 1);
      WaitForSingleObject(process.hProcess, 5000);
      timedOut = true;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(in);
  CloseHandle(out);
  std::ifstream file(output, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  file.close();
  DeleteFileA(input);
  DeleteFileA(output);
  return text.str();
}

}  // namespace

int main() {
  const CdbOptions options = ParseCdbOptions(GetCommandLineA());
  Output out;
  if (!options.log.empty()) out.Open(options.log);
  out << "Kestrel's cdb adapter over Wine's debugger (winedbg): not Microsoft's cdb.exe.\n"
         "It reads the dump with winedbg and dbghelp and fetches no symbols.\n\n";
  if (!options.error.empty()) {
    out << "Command line error: " << options.error << "\n";
    return 2;
  }
  out << "Loading Dump File [" << options.dump << "]\n";
  out << "Symbol search path is: " << options.symbolPath << "\n";
  out << "Executable search path is: " << options.imagePath << "\n\n";

  const MappedDump dump(options.dump);
  if (!dump.Opened()) {
    out << "Could not open the dump file " << options.dump << ": it is missing or unreadable.\n";
    return 1;
  }
  if (!dump.IsMinidump()) {
    out << "The file " << options.dump << " is not a minidump (no MDMP signature).\n";
    return 1;
  }

  bool timedOut = false;
  const std::vector<std::string> answers =
      WinedbgAnswers(RunWinedbg(options.dump, "info reg\nbt\ninfo share\nquit\n", timedOut));
  if (timedOut) out << "winedbg did not finish within 60 seconds and was stopped.\n";
  const auto answer = [&answers](std::size_t i) {
    return i < answers.size() ? answers[i] : std::string(" (winedbg gave no answer)\n");
  };

  for (const std::string& command : options.commands) {
    out << "0:000> " << command << "\n";
    if (command == "!analyze -v") {
      out << Analyze(dump, answer(1)) << "\n";
    } else if (command == "r") {
      out << answer(0) << "\n";
    } else if (command == "kv") {
      out << answer(1) << "\n";
    } else if (command == "lmtn") {
      out << answer(2) << "\n";
    } else if (command == ".logclose") {
      out << "Closing open log file " << options.log << "\n";
      out.Close();
    } else if (command == "q") {
      out << "quit:\n";
      break;
    } else {
      out << command << ": this adapter does not support that command.\n\n";
    }
  }
  return timedOut ? 1 : 0;
}
