#include "analysis.h"

#include <cstdio>

std::string ExceptionName(std::uint32_t code) {
  switch (code) {
    case 0xC0000005:
      return "access violation";
    case 0xC0000006:
      return "in-page I/O error";
    case 0xC000001D:
      return "illegal instruction";
    case 0xC0000025:
      return "noncontinuable exception";
    case 0xC000008C:
      return "array bounds exceeded";
    case 0xC000008E:
      return "floating-point division by zero";
    case 0xC0000094:
      return "integer division by zero";
    case 0xC0000095:
      return "integer overflow";
    case 0xC0000096:
      return "privileged instruction";
    case 0xC00000FD:
      return "stack overflow";
    case 0xC0000374:
      return "heap corruption";
    case 0xC0000409:
      return "stack buffer overrun";
    case 0x80000003:
      return "breakpoint";
    case 0x80000004:
      return "single step";
    case 0xE06D7363:
      return "C++ exception";
  }
  return "";
}

std::string PlaceAddress(const std::vector<LoadedModule>& modules, std::uint64_t address) {
  for (const LoadedModule& module : modules) {
    if (address >= module.base && address - module.base < module.size) {
      char offset[32];
      std::snprintf(offset, sizeof offset, "+0x%llx",
                    static_cast<unsigned long long>(address - module.base));
      return module.name + offset;
    }
  }
  return "unknown module";
}

std::vector<std::string> WinedbgAnswers(const std::string& output) {
  static const std::string kPrompt = "Wine-dbg>";
  std::vector<std::string> answers;
  std::string::size_type at = output.find(kPrompt);
  while (at != std::string::npos) {
    const std::string::size_type start = at + kPrompt.size();
    at = output.find(kPrompt, start);
    answers.push_back(output.substr(start, at == std::string::npos ? at : at - start));
  }
  return answers;
}

std::string BaseName(const std::string& path) {
  const std::string::size_type slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
