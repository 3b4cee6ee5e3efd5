#include "stack.h"

#include <windows.h>

#include <dbghelp.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <utility>

#include "analysis.h"

namespace {

constexpr int kMostFrames = 64;
// dbghelp needs a process handle to file the modules under; no process is read.
const HANDLE kDumpProcess = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x4B455354));

struct Walk {
  const Dump* dump;
  const std::vector<std::uint8_t>* file;
  std::vector<std::vector<std::uint8_t>> images;  // one a module, empty where none was found
};
Walk* g_walk = nullptr;  // dbghelp's callbacks carry no context of their own

BOOL CALLBACK ReadMemory(HANDLE, DWORD64 address, PVOID to, DWORD size, LPDWORD read) {
  const Walk& walk = *g_walk;
  bool found = ReadDumpMemory(*walk.dump, walk.file->data(), walk.file->size(), address, to, size);
  const int i = PlaceOf(walk.dump->modules, address).module;
  if (!found && i >= 0)
    found = ReadImageBytes(walk.images[i], address - walk.dump->modules[i].base, to, size);
  if (read) *read = found ? size : 0;
  return found;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// module!symbol+0xOFFSET where dbghelp knows a symbol, else module+0xOFFSET,
// the module named without its extension, as cdb names it.
std::string CallSite(const Dump& dump, DWORD64 address) {
  const Place place = PlaceOf(dump.modules, address);
  if (place.module < 0) return PlaceText(dump.modules, place);
  const std::string module = ModuleName(dump.modules[place.module].path);
  alignas(SYMBOL_INFO) char buffer[sizeof(SYMBOL_INFO) + 256] = {};
  auto* symbol = reinterpret_cast<SYMBOL_INFO*>(buffer);
  symbol->SizeOfStruct = sizeof(SYMBOL_INFO);
  symbol->MaxNameLen = 255;
  DWORD64 offset = 0;
  if (!SymFromAddr(kDumpProcess, address, &offset, symbol))
    return module + "+0x" + Hex(place.offset, 1);
  return module + "!" + symbol->Name + "+0x" + Hex(offset, 1);
}

}  // namespace

std::string StackText(const Dump& dump, const std::vector<std::uint8_t>& file) {
  const DumpException& exception = dump.exception;
  const bool x64 = dump.machine == DumpMachine::kX64;
  const DWORD size = x64 ? x64_context::kSize : x86_context::kSize;
  if (!exception.present || dump.machine == DumpMachine::kUnknown || exception.contextSize < size)
    return "The dump holds no context to walk the faulting thread's stack from.\n";

  Walk walk = {&dump, &file, {}};
  g_walk = &walk;
  SymSetOptions(SYMOPT_UNDNAME);
  SymInitialize(kDumpProcess, nullptr, FALSE);
  for (const DumpModule& module : dump.modules) {
    // Only the very image the dump names gives unwind data and symbols.
    std::vector<std::uint8_t> image = ReadFileBytes(module.path);
    if (!ImageMatches(image, module)) image.clear();
    const std::string name = BaseName(module.path);
    SymLoadModuleEx(kDumpProcess, nullptr, module.path.c_str(), name.c_str(), module.base,
                    module.size, nullptr, image.empty() ? SLMFLAG_VIRTUAL : 0);
    walk.images.push_back(std::move(image));
  }

  // The context as the dump has it, in a buffer of the walking machine's layout.
  std::vector<std::uint8_t> context(size);
  std::copy(file.begin() + exception.contextRva, file.begin() + exception.contextRva + size,
            context.begin());
  STACKFRAME64 frame = {};
  frame.AddrPC.Mode = frame.AddrStack.Mode = frame.AddrFrame.Mode = AddrModeFlat;
  const int width = x64 ? 8 : 4;
  frame.AddrPC.Offset = LittleEndian(&context[x64 ? x64_context::kRip : x86_context::kEip], width);
  frame.AddrStack.Offset =
      LittleEndian(&context[x64 ? x64_context::kRsp : x86_context::kEsp], width);
  frame.AddrFrame.Offset =
      LittleEndian(&context[x64 ? x64_context::kRbp : x86_context::kEbp], width);

  std::string text = x64 ? "Child-SP          RetAddr           : Call Site\n"
                         : "ChildEBP RetAddr  Args to Child              \n";
  const DWORD machine = x64 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386;
  STACKFRAME64 last = {};
  auto line = [&](DWORD64 framePointer, DWORD64 stack, DWORD64 returnAddress, DWORD64 pc,
                  const DWORD64* arguments) {
    if (x64) {
      text +=
          AddressText(dump.machine, stack) + " " + AddressText(dump.machine, returnAddress) + " : ";
    } else {
      text += Hex(framePointer, 8) + " " + Hex(returnAddress, 8);
      for (int a = 0; a < 3; ++a) text += " " + Hex(arguments[a], 8);
      text += " ";
    }
    text += CallSite(dump, pc) + "\n";
  };
  // The walk ends at the thread's start (no return address, or the first
  // frame again); ended anywhere else, one line says where and why.
  bool whole = false;
  std::uint64_t stuck = frame.AddrPC.Offset;
  int frames = 0;
  for (; frames < kMostFrames; ++frames) {
    if (!StackWalk64(machine, kDumpProcess, nullptr, &frame, context.data(), ReadMemory,
                     SymFunctionTableAccess64, SymGetModuleBase64, nullptr) ||
        frame.AddrPC.Offset == 0)
      break;
    // The thread's first frame: the walk would only give it again.
    if (frames && frame.AddrPC.Offset == last.AddrPC.Offset &&
        frame.AddrStack.Offset == last.AddrStack.Offset &&
        frame.AddrFrame.Offset == last.AddrFrame.Offset) {
      whole = true;
      break;
    }
    // x64 code is unwound with the data in its image: without the image,
    // dbghelp's caller would be a guess, and no guess is printed.
    const int module = PlaceOf(dump.modules, frame.AddrPC.Offset).module;
    if (x64 && (module < 0 || walk.images[module].empty())) {
      stuck = frame.AddrPC.Offset;
      break;
    }
    last = frame;
    line(frame.AddrFrame.Offset, frame.AddrStack.Offset, frame.AddrReturn.Offset,
         frame.AddrPC.Offset, frame.Params);
    stuck = frame.AddrReturn.Offset;
    if (frame.AddrReturn.Offset == 0) {
      whole = true;
      break;
    }
  }
  if (!whole && frames < kMostFrames) {
    std::vector<bool> imageAtHand;
    for (const std::vector<std::uint8_t>& image : walk.images)
      imageAtHand.push_back(!image.empty());
    text += WalkStoppedText(dump, imageAtHand, stuck, frames);
  }
  SymCleanup(kDumpProcess);
  g_walk = nullptr;
  return text;
}
