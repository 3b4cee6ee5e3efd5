// Kestrel starts without the C runtime: the process begins here and ends
// with what WinMain returns. Nothing of the runtime is linked, so nothing of
// it needs setting up; the heap is the process's own, and the compiler's
// few calls for copying and filling memory are answered below.
#include <windows.h>

#include <cstddef>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int);

// The linker's default entry for a GUI program.
extern "C" void WinMainCRTStartup() {
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
