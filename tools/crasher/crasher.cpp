// Makes a real crash dump: crashes on purpose (a write through a null
// pointer in CrashHere) and writes a minidump of that crash to the path on
// its command line. Beside the dump, FILE.txt gives CrashHere's offset in
// the module, so a test can check what an analysis says.
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

// noipa: the optimiser must not see the null pointer and turn the write into a trap.
extern "C" __attribute__((noipa)) void CrashHere(volatile int* target) { *target = 0x4B455354; }

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: crasher DUMPFILE\n");
    return 2;
  }
  g_dumpPath = argv[1];
  const auto offset = reinterpret_cast<const BYTE*>(&CrashHere) -
                      reinterpret_cast<const BYTE*>(GetModuleHandleA(nullptr));
  if (FILE* note = std::fopen((g_dumpPath + ".txt").c_str(), "w")) {
    std::fprintf(note, "CrashHere=0x%lx\n", static_cast<unsigned long>(offset));
    std::fclose(note);
  }
  SetUnhandledExceptionFilter(WriteDump);
  CrashHere(nullptr);
  return 1;
}
