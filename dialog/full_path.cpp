#include "../command/capacities.h"
#include "../command/paths.h"
#include "dialog.h"

// A path of the argument string as the debugger, started in `folder`, takes
// it. X:name on another drive goes by that drive's current folder, which
// Windows keeps in the environment as "=X:" and the debugger inherits.
Text FullPathAsStartedIn(const char* path, const char* folder) {
  Text driveFolder(kDriveFolderCapacity);
  const char name[] = {'=', path[0], ':', '\0'};
  if (!path[0] || path[1] != ':' ||
      GetEnvironmentVariableA(name, driveFolder.data(), kDriveFolderCapacity) >=
          kDriveFolderCapacity)
    driveFolder.Clear();
  return FullPathOf(path, folder, driveFolder.c_str());
}
