// kv: the faulting thread's frames, walked by dbghelp's StackWalk64 from the
// dump's own context over the dump's memory (module images, which a small
// dump leaves out, from the files the module list names).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "dump_reader.h"

std::string StackText(const Dump& dump, const std::vector<std::uint8_t>& file);
