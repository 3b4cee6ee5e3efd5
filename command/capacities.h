// Text capacities in bytes, the terminating zero included: a read of
// capacity N keeps at most N-1 characters.
#pragma once
#include <cstddef>

inline constexpr std::size_t kDumpPathCapacity = 170;      // dump field, for the string
inline constexpr std::size_t kCommandCapacity = 400;       // composed argument string
inline constexpr std::size_t kToolsPathCapacity = 140;     // registry folder + cdb.exe
inline constexpr std::size_t kOpenFileNameCapacity = 255;  // Open dialog's file name
inline constexpr std::size_t kLaunchPathCapacity = 170;    // debugger path at launch
inline constexpr std::size_t kLaunchArgsCapacity = 400;    // argument string at launch
// A box's text: two long paths (a log of up to 568 characters and the one
// offered instead) and the advice around them.
inline constexpr std::size_t kMessageCapacity = 2048;
