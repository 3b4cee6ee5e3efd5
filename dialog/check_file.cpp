#include "../command/file_check.h"
#include "dialog.h"

// Whether the file can be opened with `access` and `share`, leaving no
// trace: nothing is read or written, and a file that `mayCreate` makes
// where none was is deleted again as it is closed. A folder, and for
// writing a read-only file, are told by their attributes: Windows denies
// opening a read-only file as it denies a lack of rights, and an
// administrator (as under Wine run as root) may even open it.
FileCheck CheckFile(const char* path, DWORD access, DWORD share, bool mayCreate) {
  const DWORD attributes = GetFileAttributesA(path);
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  const bool readOnly = (access & GENERIC_WRITE) && (attributes & FILE_ATTRIBUTE_READONLY);
  if (exists && ((attributes & FILE_ATTRIBUTE_DIRECTORY) || readOnly))
    return FileCheckOf(0, attributes & FILE_ATTRIBUTE_DIRECTORY, readOnly);
  const bool create = !exists && mayCreate;
  HANDLE file = CreateFileA(path, access, share, nullptr, create ? CREATE_NEW : OPEN_EXISTING,
                            create ? FILE_FLAG_DELETE_ON_CLOSE : FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FileCheckOf(GetLastError(), false);
  CloseHandle(file);
  return FileCheckOf(0, false);
}
