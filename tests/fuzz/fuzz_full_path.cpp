// A path of the argument string taken in any folder on drive C: never past its block
// (AddressSanitizer sees the writes), and, but for \\?\ and \\.\ names, one
// with "\" for "/" and no "." or ".." left among its names after its root.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "../../command/paths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  input.erase(std::remove(input.begin(), input.end(), '\0'), input.end());  // C strings
  // The path, the folder and the drive's folder, split at '\n'.
  std::istringstream parts(input);
  std::string path, folder, driveFolder;
  std::getline(parts, path);
  std::getline(parts, folder);
  std::getline(parts, driveFolder);
  folder = "C:\\" + folder;  // the debugger's folder is a full path
  const std::string full = FullPathOf(path.c_str(), folder.c_str(), driveFolder.c_str()).c_str();
  if (path.empty() != full.empty()) std::abort();
  const bool device = path.size() >= 4 && (path[0] == '\\' || path[0] == '/') &&
                      (path[1] == '\\' || path[1] == '/') && (path[2] == '?' || path[2] == '.');
  if (device) return 0;
  if (full.find('/') != std::string::npos) std::abort();
  // A share's root, \\server\share, is taken as written.
  const bool share = full.compare(0, 2, "\\\\") == 0;
  std::istringstream names(full);
  int index = 0;
  for (std::string name; std::getline(names, name, '\\'); ++index)
    if ((!share || index > 3) && (name == "." || name == "..")) std::abort();
  return 0;
}
