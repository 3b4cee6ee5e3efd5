#include "analysis.h"

#include <algorithm>
#include <cstdio>

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

int ModuleHolding(const std::vector<DumpModule>& modules, std::uint64_t address) {
  for (std::size_t i = 0; i < modules.size(); ++i)
    if (address >= modules[i].base && address - modules[i].base < modules[i].size)
      return static_cast<int>(i);
  return -1;
}

std::string PlaceAddress(const std::vector<DumpModule>& modules, std::uint64_t address) {
  const int i = ModuleHolding(modules, address);
  if (i < 0) return "unknown module";
  return BaseName(modules[i].path) + "+0x" + Hex(address - modules[i].base, 1);
}

std::string BaseName(const std::string& path) {
  const std::string::size_type slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
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
  const std::string place = PlaceAddress(dump.modules, faulting);
  text += "FAULTING_IP: " + place + " (" + AddressText(dump.machine, faulting) + ")\n";
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
  text += "FAULTING_MODULE: " + place.substr(0, place.find('+')) + "\n\n";
  return text + "STACK_TEXT (faulting thread):\n" + stack;
}

std::string WalkStoppedText(const Dump& dump, const std::vector<bool>& imageAtHand,
                            std::uint64_t pc, int frames) {
  const std::string where = "The stack cannot be walked " +
                            (frames ? "past frame " + std::to_string(frames - 1)
                                    : std::string("past the faulting thread's context")) +
                            " (" + PlaceAddress(dump.modules, pc) + "): ";
  const int i = ModuleHolding(dump.modules, pc);
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
  if (machine == DumpMachine::kX86 && size >= kX86ContextSize) {
    const auto r = [c](const char* name, std::size_t at) {
      return std::string(name) + "=" + Hex(Field(c, at, 4), 8);
    };
    const std::uint32_t flags = static_cast<std::uint32_t>(Field(c, 0xC0, 4));
    return r("eax", 0xB0) + " " + r("ebx", 0xA4) + " " + r("ecx", 0xAC) + " " + r("edx", 0xA8) +
           " " + r("esi", 0xA0) + " " + r("edi", 0x9C) + "\n" + r("eip", kX86Eip) + " " +
           r("esp", kX86Esp) + " " + r("ebp", kX86Ebp) + " " + FlagsText(flags) + "\n" +
           Segments(c, {0xBC, 0xC8, 0x98, 0x94, 0x90, 0x8C}, flags);
  }
  if (machine == DumpMachine::kX64 && size >= kX64ContextSize) {
    const struct {
      const char* name;
      std::size_t at;
    } kRegisters[] = {{"rax", 0x78},    {"rbx", 0x90}, {"rcx", 0x80},    {"rdx", 0x88},
                      {"rsi", 0xA8},    {"rdi", 0xB0}, {"rip", kX64Rip}, {"rsp", kX64Rsp},
                      {"rbp", kX64Rbp}, {" r8", 0xB8}, {" r9", 0xC0},    {"r10", 0xC8},
                      {"r11", 0xD0},    {"r12", 0xD8}, {"r13", 0xE0},    {"r14", 0xE8},
                      {"r15", 0xF0}};
    std::string text;
    for (std::size_t i = 0; i < sizeof kRegisters / sizeof kRegisters[0]; ++i) {
      text += std::string(kRegisters[i].name) + "=" + Hex(Field(c, kRegisters[i].at, 8), 16);
      text += i % 3 == 2 || i + 1 == sizeof kRegisters / sizeof kRegisters[0] ? "\n" : " ";
    }
    const std::uint32_t flags = static_cast<std::uint32_t>(Field(c, 0x44, 4));
    return text + FlagsText(flags) + "\n" +
           Segments(c, {0x38, 0x42, 0x3A, 0x3C, 0x3E, 0x40}, flags);
  }
  return "The dump holds no thread context of a processor this adapter knows.\n";
}

std::string AddressText(DumpMachine machine, std::uint64_t address) {
  if (machine != DumpMachine::kX64) return Hex(address, 8);
  const std::string digits = Hex(address, 16);
  return digits.substr(0, 8) + "`" + digits.substr(8);
}

std::string TimeStampText(std::uint32_t seconds) {
  // Days since 1970 to a civil date (Howard Hinnant's algorithm).
  const std::int64_t days = seconds / 86400, z = days + 719468, era = z / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153, day = doy - (153 * mp + 2) / 5 + 1;
  const std::int64_t month = mp < 10 ? mp + 3 : mp - 9, year = yoe + era * 400 + (month <= 2);
  static const char* kDays[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};
  static const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  char text[48];
  const std::uint32_t inDay = seconds % 86400;
  std::snprintf(text, sizeof text, "%s %s %2d %02u:%02u:%02u %lld (%08X)", kDays[days % 7],
                kMonths[month - 1], static_cast<int>(day), inDay / 3600, inDay / 60 % 60,
                inDay % 60, static_cast<long long>(year), seconds);
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
    std::string name = file.substr(0, file.rfind('.'));
    name.resize(std::max<std::size_t>(name.size(), 8), ' ');
    text += AddressText(machine, module.base) + " " +
            AddressText(machine, module.base + module.size) + "   " + name + " " + file + "  " +
            TimeStampText(module.timeStamp) + "\n";
  }
  return text;
}
