// Kestrel starts without the C runtime: the process begins here and ends
// with what WinMain returns. Nothing of the runtime is linked, so nothing of
// it needs setting up; the heap is the process's own, and the compiler's
// few calls for copying and filling memory are answered below.
#include <windows.h>

#include <cstddef>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int);

namespace {

// A downloaded program runs from a folder it shares with whatever else was
// downloaded, and the Open dialog and the shell load DLLs by name: take them
// from System32 only where Windows can (8 on, 7 and Vista with their update),
// else at least not from the current folder (XP SP1 on, and what Kestrel
// starts inherits that). Windows 2000 has neither call, so both are looked up.
void KeepDllSearchToSystem() {
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const auto setDefault = reinterpret_cast<BOOL(WINAPI*)(DWORD)>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  const DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
  if (setDefault && setDefault(kSearchSystem32)) return;
  const auto setDirectory = reinterpret_cast<BOOL(WINAPI*)(const char*)>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")));
  if (setDirectory) setDirectory("");
}

}  // namespace

// The linker's default entry for a GUI program.
extern "C" void WinMainCRTStartup() {
  KeepDllSearchToSystem();
  char noArguments[] = "";
  ExitProcess(
      static_cast<UINT>(WinMain(GetModuleHandleA(nullptr), nullptr, noArguments, SW_SHOWDEFAULT)));
}

// Every text buffer comes from here. Without memory there is nothing to show
// a message with: the process ends, with abort's exit code.
void* operator new[](std::size_t size) {
  void* block = HeapAlloc(GetProcessHeap(), 0, size);
  if (!block) ExitProcess(3);
  return block;
}
void operator delete[](void* block) noexcept {
  if (block) HeapFree(GetProcessHeap(), 0, block);
}
void operator delete[](void* block, std::size_t) noexcept { operator delete[](block); }

// The compiler turns record clearing and copying into these calls; written
// as plain loops, which it must not turn back into calls to themselves.
extern "C" {
__attribute__((optimize("no-tree-loop-distribute-patterns"))) void* memset(void* block, int value,
                                                                           std::size_t size) {
  unsigned char* byte = static_cast<unsigned char*>(block);
  for (std::size_t i = 0; i < size; ++i) byte[i] = static_cast<unsigned char>(value);
  return block;
}
__attribute__((optimize("no-tree-loop-distribute-patterns"))) void* memcpy(void* to,
                                                                           const void* from,
                                                                           std::size_t size) {
  unsigned char* target = static_cast<unsigned char*>(to);
  const unsigned char* source = static_cast<const unsigned char*>(from);
  for (std::size_t i = 0; i < size; ++i) target[i] = source[i];
  return to;
}
__attribute__((optimize("no-tree-loop-distribute-patterns"))) std::size_t strlen(const char* text) {
  std::size_t length = 0;
  while (text[length]) ++length;
  return length;
}
}
