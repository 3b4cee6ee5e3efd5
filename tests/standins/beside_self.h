// Where a stand-in keeps its record: a file in its own folder.
#pragma once
#include <windows.h>

#include <string>

inline std::string BesideSelf(const char* fileName) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  const std::string path = self;
  return path.substr(0, path.find_last_of('\\') + 1) + fileName;
}
