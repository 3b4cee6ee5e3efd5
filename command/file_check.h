// Why a file cannot be had, from what Windows said of it.
#pragma once

// What opening a file found, from what Windows said (`error`, a
// GetLastError code, 0 for none) and whether the path is a folder.
// A read-only file is told by its attribute: Windows denies its opening as
// it denies a lack of rights.
enum class FileProblem {
  kNone,
  kFolder,
  kReadOnly,
  kNoFile,
  kNoFolder,
  kDenied,
  kInUse,
  kBadName,
  kOther
};
struct FileCheck {
  FileProblem problem;
  unsigned long error;
};
FileCheck FileCheckOf(unsigned long error, bool isFolder, bool isReadOnly = false);
