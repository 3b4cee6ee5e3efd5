// The pure parts of the cdb adapter: naming exceptions, placing an address
// in a module, and cutting winedbg's answers apart. No windows.h.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The usual name of an exception code, e.g. "access violation"; empty if unknown.
std::string ExceptionName(std::uint32_t code);

struct LoadedModule {
  std::string name;  // file name without its folder
  std::uint64_t base;
  std::uint32_t size;
};

// "module+0xOFFSET" for the module that holds `address`, or "unknown module".
std::string PlaceAddress(const std::vector<LoadedModule>& modules, std::uint64_t address);

// winedbg's output after each "Wine-dbg>" prompt, in order: element i
// answers the i-th command sent. What came before the first prompt is dropped.
std::vector<std::string> WinedbgAnswers(const std::string& output);

// A path's file name: what follows its last '\' or '/'.
std::string BaseName(const std::string& path);
