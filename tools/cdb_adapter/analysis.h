// The adapter's texts, made from what the dump reader read: the exception's
// name and place, the registers and the module list as cdb lays them out.
// No windows.h.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "dump_reader.h"

// `value` in lower-case hexadecimal, at least `digits` digits.
std::string Hex(std::uint64_t value, int digits);

// cdb's name of an exception code, e.g. "access violation"; empty if unknown.
std::string ExceptionName(std::uint32_t code);

// Where an address lies: `offset` bytes into the module of index `module`
// of the dump's list, or in none (-1).
struct Place {
  int module;
  std::uint64_t offset;
};
Place PlaceOf(const std::vector<DumpModule>& modules, std::uint64_t address);

// "file.ext+0xOFFSET" for a place in a module, or "unknown module".
std::string PlaceText(const std::vector<DumpModule>& modules, Place place);

// A path's file name: what follows its last '\' or '/'.
std::string BaseName(const std::string& path);

// A module's name as cdb gives it: its file name less the extension.
std::string ModuleName(const std::string& path);

// !analyze -v's text for the dump, its faulting thread's stack (as kv
// gives it) included.
std::string AnalysisText(const Dump& dump, const std::string& stack);

// The one line said when the stack walk stops before the thread's start:
// where (`frames` found so far, `pc` the place it could not get past) and
// why, naming the module whose image was not at hand (`imageAtHand`, one a
// module of the dump).
std::string WalkStoppedText(const Dump& dump, const std::vector<bool>& imageAtHand,
                            std::uint64_t pc, int frames);

// `r`: the registers of a thread context of `machine`, as cdb shows them.
std::string RegistersText(DumpMachine machine, const std::uint8_t* context, std::size_t size);

// `lmtn`: every module, by start address, with its time stamp.
std::string ModulesText(DumpMachine machine, const std::vector<DumpModule>& modules);

// cdb's hexadecimal address: 8 digits, or 16 with a ` in the middle on x64.
std::string AddressText(DumpMachine machine, std::uint64_t address);

// A time stamp as cdb shows it: "Tue Dec  9 22:33:04 2025 (6938A3A0)", UTC.
std::string TimeStampText(std::uint32_t seconds);
