// Makes a real crash dump: crashes on purpose, three calls deep (main ->
// Outer -> Middle -> CrashHere, a write through a null pointer), and writes
// a minidump of that crash to the path on its command line. Built with frame
// pointers. Beside the dump, FILE.txt gives each function's offset in the
// module, so a test can check every frame an analysis shows.
#include <windows.h>

#include <dbghelp.h>

#include <cstdio>
#include <string>

namespace {

std::string g_dumpPath;

LONG WINAPI WriteDump(EXCEPTION_POINTERS* exception) {
  HANDLE file = CreateFileA(g_dumpPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) ExitProcess(3);
  MINIDUMP_EXCEPTION_INFORMATION info = {GetCurrentThreadId(), exception, FALSE};
  const BOOL written = MiniDumpWriteDump(GetCurrentProcess(), GetCurrentProcessId(), file,
                                         MiniDumpNormal, &info, nullptr, nullptr);
  CloseHandle(file);
  ExitProcess(written ? 0 : 4);
}

}  // namespace

// noipa: the optimiser must not see the null pointer and turn the write into
// a trap, nor fold the calls into one another. Each call is followed by work,
// so it stays a call with a frame to return to.
extern "C" __attribute__((noipa)) void CrashHere(volatile int* target) { *target = 0x4B455354; }
extern "C" __attribute__((noipa)) int Middle(volatile int* target) {
  CrashHere(target);
  return *target + 1;
}
extern "C" __attribute__((noipa)) int Outer(volatile int* target) { return Middle(target) + 1; }

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: crasher DUMPFILE\n");
    return 2;
  }
  g_dumpPath = argv[1];
  const BYTE* base = reinterpret_cast<const BYTE*>(GetModuleHandleA(nullptr));
  if (FILE* note = std::fopen((g_dumpPath + ".txt").c_str(), "w")) {
    const struct {
      const char* name;
      const void* at;
    } kFunctions[] = {{"CrashHere", reinterpret_cast<const void*>(&CrashHere)},
                      {"Middle", reinterpret_cast<const void*>(&Middle)},
                      {"Outer", reinterpret_cast<const void*>(&Outer)},
                      {"main", reinterpret_cast<const void*>(&main)}};
    for (const auto& function : kFunctions)
      std::fprintf(note, "%s=0x%lx\n", function.name,
                   static_cast<unsigned long>(static_cast<const BYTE*>(function.at) - base));
    std::fclose(note);
  }
  SetUnhandledExceptionFilter(WriteDump);
  return Outer(nullptr);
}
