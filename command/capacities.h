// Text capacities in bytes, the terminating zero included: a read of
// capacity N keeps at most N-1 characters.
#pragma once
#include <cstddef>

inline constexpr std::size_t kDumpPathCapacity = 170;      // dump field, for the string
inline constexpr std::size_t kCommandCapacity = 400;       // composed argument string
inline constexpr std::size_t kToolsPathCapacity = 140;     // registry folder + cdb.exe
inline constexpr std::size_t kOpenFileNameCapacity = 255;  // Open dialog's file name
inline constexpr std::size_t kLaunchPathCapacity = 170;    // debugger path at launch
// The launch reads back what composition wrote, and what the Documents
// offer puts in its place.
inline constexpr std::size_t kLaunchArgsCapacity = kCommandCapacity;
// The dump field read whole, to show it in the box that says it is longer
// than the string can carry.
inline constexpr std::size_t kDumpFieldCapacity = 1024;
// A box's text: two long paths (a log or dump of up to
// kLongestFullPath characters, a field, the log offered instead) and the
// advice around them.
inline constexpr std::size_t kMessageCapacity = 2048;
// The folder the environment records for a drive ("=X:"), read whole.
inline constexpr std::size_t kDriveFolderCapacity = 260;  // MAX_PATH
// The longest full path a launch can name: a value of the string taken in
// the debugger's folder or in a drive's recorded folder, with a separator
// between and one at the end.
inline constexpr std::size_t kLongestFullPath =
    (kLaunchArgsCapacity - 1) +
    (kLaunchPathCapacity > kDriveFolderCapacity ? kLaunchPathCapacity : kDriveFolderCapacity) - 1 +
    3;

static_assert(kDumpFieldCapacity > kDumpPathCapacity,
              "the field is read past what the string carries");
static_assert(kLongestFullPath + kDumpFieldCapacity < kMessageCapacity,
              "a box holds its paths whole");
