#include "stack.h"

#include <windows.h>

#include <dbghelp.h>

#include <algorithm>
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

// Appends up to `count` bytes of the file from where it stands; false when
// fewer are there.
bool ReadMore(HANDLE file, std::uint64_t count, std::vector<std::uint8_t>& bytes) {
  const std::size_t start = bytes.size();
  bytes.resize(start + count);
  DWORD read = 0;
  return ReadFile(file, bytes.data() + start, static_cast<DWORD>(count), &read, nullptr) &&
         read == count;
}

// The image of `module` from the file the dump names: its headers first,
// then only what they place, and only when they are that module's. Empty
// for a path that is no regular file (a folder, a device), or not the
// image, as for a missing one.
std::vector<std::uint8_t> ReadImage(const DumpModule& module) {
  constexpr std::uint64_t kHeadersRead = 4096;  // PE headers, section table included
  std::vector<std::uint8_t> image;
  HANDLE file = CreateFileA(module.path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return image;
  LARGE_INTEGER size = {};
  if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) && size.QuadPart > 0) {
    const std::uint64_t length = static_cast<std::uint64_t>(size.QuadPart);
    if (ReadMore(file, std::min(length, kHeadersRead), image)) {
      const std::uint64_t extent = ImageExtent(image, module);
      if (extent == 0 || extent > length)
        image.clear();
      else if (extent > image.size() && !ReadMore(file, extent - image.size(), image))
        image.clear();
      else
        image.resize(extent);
    } else {
      image.clear();
    }
  }
  CloseHandle(file);
  return image;
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
  const ContextLayout layout = ContextLayoutOf(dump.machine);
  const DWORD size = layout.size;
  if (!exception.present || !size || exception.contextSize < size)
    return "The dump holds no context to walk the faulting thread's stack from.\n";

  Walk walk = {&dump, &file, {}};
  g_walk = &walk;
  SymSetOptions(SYMOPT_UNDNAME);
  SymInitialize(kDumpProcess, nullptr, FALSE);
  for (const DumpModule& module : dump.modules) {
    // Only the very image the dump names gives unwind data and symbols.
    std::vector<std::uint8_t> image = ReadImage(module);
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
  frame.AddrPC.Offset = LittleEndian(&context[layout.ip], layout.width);
  frame.AddrStack.Offset = LittleEndian(&context[layout.sp], layout.width);
  frame.AddrFrame.Offset = LittleEndian(&context[layout.fp], layout.width);

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
  // frame again), or after kMostFrames; ended anywhere else, one line says
  // where and why.
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
