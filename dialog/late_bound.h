// comdlg32 and shell32 are loaded at their first use rather than at start:
// with all that they pull in, they made the start slower and the peak
// memory about a fifth larger, for a dialog most runs open only once.
#pragma once
#include <windows.h>

// The function `name` of `dll`, or null when either cannot be had. The DLL
// stays loaded for the rest of the process.
template <typename Function>
Function LateBound(const char* dll, const char* name) {
  HMODULE module = LoadLibraryA(dll);
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
