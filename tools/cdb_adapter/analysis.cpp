#include "analysis.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

std::uint64_t Field(const std::uint8_t* context, std::size_t at, int bytes) {
  return LittleEndian(context + at, bytes);
}

// cdb's flag mnemonics after iopl: overflow, direction, interrupt, sign,
// zero, auxiliary carry, parity, carry.
std::string FlagsText(std::uint32_t flags) {
  std::string text = "iopl=" + std::to_string((flags >> 12) & 3) + "         ";
  const struct {
    int bit;
    const char* set;
    const char* clear;
  } kFlags[] = {{11, "ov", "nv"}, {10, "dn", "up"}, {9, "ei", "di"}, {7, "ng", "pl"},
                {6, "zr", "nz"},  {4, "ac", "na"},  {2, "pe", "po"}, {0, "cy", "nc"}};
  for (const auto& flag : kFlags) {
    text += (flags >> flag.bit) & 1 ? flag.set : flag.clear;
    if (flag.bit) text += ' ';
  }
  return text;
}

std::string Segments(const std::uint8_t* c, const std::size_t (&at)[6], std::uint32_t flags) {
  const char* names[] = {"cs", "ss", "ds", "es", "fs", "gs"};
  std::string text;
  for (int i = 0; i < 6; ++i)
    text += std::string(i ? "  " : "") + names[i] + "=" + Hex(Field(c, at[i], 2), 4);
  return text + "             efl=" + Hex(flags, 8) + "\n";
}

}  // namespace

std::string Hex(std::uint64_t value, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "%0*llx", digits, static_cast<unsigned long long>(value));
  return text;
}

std::string ExceptionName(std::uint32_t code) {
  switch (code) {
    case 0xC0000005:
      return "access violation";
    case 0xC000000D:
      return "invalid parameter";
    case 0xC000001D:
      return "illegal instruction";
    case 0xC0000094:
      return "integer divide by zero";
    case 0xC00000FD:
      return "stack overflow";
    case 0xC0000374:
      return "heap corruption";
    case 0xC0000409:
      return "stack buffer overrun (fast fail)";
    case 0x80000003:
      return "breakpoint";
    case 0xE06D7363:
      return "C++ exception";
  }
  return "";
}

Place PlaceOf(const std::vector<DumpModule>& modules, std::uint64_t address) {
  for (std::size_t i = 0; i < modules.size(); ++i)
    if (address >= modules[i].base && address - modules[i].base < modules[i].size)
      return {static_cast<int>(i), address - modules[i].base};
  return {-1, address};
}

std::string PlaceText(const std::vector<DumpModule>& modules, Place place) {
  if (place.module < 0) return "unknown module";
  return BaseName(modules[place.module].path) + "+0x" + Hex(place.offset, 1);
}

std::string BaseName(const std::string& path) {
  const std::string::size_type slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ModuleName(const std::string& path) {
  const std::string file = BaseName(path);
  return file.substr(0, file.rfind('.'));
}

std::string AnalysisText(const Dump& dump, const std::string& stack) {
  std::string text =
      "*******************************************************************************\n"
      "*                        Exception Analysis (cdb adapter)                     *\n"
      "*******************************************************************************\n\n";
  const DumpException& exception = dump.exception;
  if (!exception.present)
    return text + "The dump holds no exception record: nothing crashed when it was written.\n";
  const std::string name = ExceptionName(exception.code);
  // A program that raises the exception itself (an invalid parameter, a
  // crash reporter) leaves the record's address 0: the thread's own
  // instruction pointer says where it was.
  const bool fromThread = exception.address == 0 && exception.hasInstructionPointer;
  const std::uint64_t faulting = fromThread ? exception.instructionPointer : exception.address;
  const Place place = PlaceOf(dump.modules, faulting);
  text += "FAULTING_IP: " + PlaceText(dump.modules, place) + " (" +
          AddressText(dump.machine, faulting) + ")\n";
  if (fromThread)
    text +=
        "The exception record carried no address: this is the faulting thread's instruction "
        "pointer.\n";
  text += "\n";
  text += "EXCEPTION_CODE: " + Hex(exception.code, 8) + " (" +
          (name.empty() ? "unknown exception" : name) + ")\n";
  if (exception.code == 0xC0000005 && exception.parameters.size() >= 2) {
    const std::uint64_t kind = exception.parameters[0];
    text += std::string("Attempt to ") +
            (kind == 0   ? "read from"
             : kind == 1 ? "write to"
                         : "execute") +
            " address " + AddressText(dump.machine, exception.parameters[1]) + "\n";
  }
  text += "FAULTING_THREAD: " + Hex(exception.threadId, 8) + "\n";
  text += "FAULTING_MODULE: " +
          (place.module < 0 ? "unknown module" : BaseName(dump.modules[place.module].path)) +
          "\n\n";
  return text + "STACK_TEXT (faulting thread):\n" + stack;
}

std::string WalkStoppedText(const Dump& dump, const std::vector<bool>& imageAtHand,
                            std::uint64_t pc, int frames) {
  const std::string where = "The stack cannot be walked " +
                            (frames ? "past frame " + std::to_string(frames - 1)
                                    : std::string("past the faulting thread's context")) +
                            " (" + PlaceText(dump.modules, PlaceOf(dump.modules, pc)) + "): ";
  const int i = PlaceOf(dump.modules, pc).module;
  if (i < 0) return where + "no module of the dump holds that address.\n";
  if (static_cast<std::size_t>(i) < imageAtHand.size() && imageAtHand[i])
    return where + "no caller was found in the dump's memory.\n";
  const DumpModule& module = dump.modules[i];
  return "Stack unwind information not available. " + where + "the image of " +
         BaseName(module.path) + " (" + module.path +
         ") is not on this machine with the dump's time stamp and size" +
         (dump.machine == DumpMachine::kX64
              ? ", and x64 code is unwound with the data in its image.\n"
              : ", so only frame pointers were there to go by.\n");
}

std::string RegistersText(DumpMachine machine, const std::uint8_t* c, std::size_t size) {
  if (machine == DumpMachine::kX86 && size >= x86_context::kSize) {
    const auto r = [c](const char* name, std::size_t at) {
      return std::string(name) + "=" + Hex(Field(c, at, 4), 8);
    };
    using namespace x86_context;
    const std::uint32_t flags = static_cast<std::uint32_t>(Field(c, kEflags, 4));
    return r("eax", kEax) + " " + r("ebx", kEbx) + " " + r("ecx", kEcx) + " " + r("edx", kEdx) +
           " " + r("esi", kEsi) + " " + r("edi", kEdi) + "\n" + r("eip", kEip) + " " +
           r("esp", kEsp) + " " + r("ebp", kEbp) + " " + FlagsText(flags) + "\n" +
           Segments(c, {kCs, kSs, kDs, kEs, kFs, kGs}, flags);
  }
  if (machine == DumpMachine::kX64 && size >= x64_context::kSize) {
    using namespace x64_context;
    const struct {
      const char* name;
      std::size_t at;
    } kRegisters[] = {{"rax", kRax}, {"rbx", kRbx}, {"rcx", kRcx}, {"rdx", kRdx}, {"rsi", kRsi},
                      {"rdi", kRdi}, {"rip", kRip}, {"rsp", kRsp}, {"rbp", kRbp}, {" r8", kR8},
                      {" r9", kR9},  {"r10", kR10}, {"r11", kR11}, {"r12", kR12}, {"r13", kR13},
                      {"r14", kR14}, {"r15", kR15}};
    std::string text;
    for (std::size_t i = 0; i < sizeof kRegisters / sizeof kRegisters[0]; ++i) {
      text += std::string(kRegisters[i].name) + "=" + Hex(Field(c, kRegisters[i].at, 8), 16);
      text += i % 3 == 2 || i + 1 == sizeof kRegisters / sizeof kRegisters[0] ? "\n" : " ";
    }
    const std::uint32_t flags = static_cast<std::uint32_t>(Field(c, kEflags, 4));
    return text + FlagsText(flags) + "\n" + Segments(c, {kCs, kSs, kDs, kEs, kFs, kGs}, flags);
  }
  return "The dump holds no thread context of a processor this adapter knows.\n";
}

std::string AddressText(DumpMachine machine, std::uint64_t address) {
  if (machine != DumpMachine::kX64) return Hex(address, 8);
  const std::string digits = Hex(address, 16);
  return digits.substr(0, 8) + "`" + digits.substr(8);
}

std::string TimeStampText(std::uint32_t seconds) {
  // The C library's calendar, with 64-bit time to reach past 2038, to 2106
  // (32-bit Windows' time_t stops at 2038).
#ifdef _WIN32
  const __time64_t time = seconds;
  const std::tm* utc = _gmtime64(&time);
#else
  static_assert(sizeof(std::time_t) >= 8, "time stamps up to 2106");
  const std::time_t time = seconds;
  const std::tm* utc = std::gmtime(&time);
#endif
  if (!utc) return "(" + Hex(seconds, 8) + ")";
  static const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  char text[48];
  std::snprintf(text, sizeof text, "%s %s %2d %02d:%02d:%02d %d (%08X)", kDays[utc->tm_wday],
                kMonths[utc->tm_mon], utc->tm_mday, utc->tm_hour, utc->tm_min, utc->tm_sec,
                utc->tm_year + 1900, seconds);
  return text;
}

std::string ModulesText(DumpMachine machine, const std::vector<DumpModule>& modules) {
  std::vector<DumpModule> sorted = modules;
  std::sort(sorted.begin(), sorted.end(),
            [](const DumpModule& a, const DumpModule& b) { return a.base < b.base; });
  const bool x64 = machine == DumpMachine::kX64;
  std::string text = x64 ? "start             end                 module name\n"
                         : "start    end        module name\n";
  for (const DumpModule& module : sorted) {
    const std::string file = BaseName(module.path);
    std::string name = ModuleName(module.path);
    name.resize(std::max<std::size_t>(name.size(), 8), ' ');
    text += AddressText(machine, module.base) + " " +
            AddressText(machine, module.base + module.size) + "   " + name + " " + file + "  " +
            TimeStampText(module.timeStamp) + "\n";
  }
  return text;
}
