#include "file_check.h"

FileCheck FileCheckOf(unsigned long error, bool isFolder, bool isReadOnly) {
  if (isFolder) return {FileProblem::kFolder, error};
  if (isReadOnly) return {FileProblem::kReadOnly, error};
  static constexpr struct {
    unsigned long error;
    FileProblem problem;
  } kProblems[] = {
      {0, FileProblem::kNone},       // ERROR_SUCCESS
      {2, FileProblem::kNoFile},     // ERROR_FILE_NOT_FOUND
      {3, FileProblem::kNoFolder},   // ERROR_PATH_NOT_FOUND
      {5, FileProblem::kDenied},     // ERROR_ACCESS_DENIED
      {19, FileProblem::kDenied},    // ERROR_WRITE_PROTECT
      {32, FileProblem::kInUse},     // ERROR_SHARING_VIOLATION
      {33, FileProblem::kInUse},     // ERROR_LOCK_VIOLATION
      {123, FileProblem::kBadName},  // ERROR_INVALID_NAME
  };
  for (const auto& known : kProblems)
    if (known.error == error) return {known.problem, error};
  return {FileProblem::kOther, error};
}
