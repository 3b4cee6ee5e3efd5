// Stand-in web browser: appends the command line it was given to
// browser-record.txt beside itself, one line a start.
#include <windows.h>

#include <fstream>

#include "beside_self.h"

int main() {
  std::ofstream(BesideSelf("browser-record.txt"), std::ios::binary | std::ios::app)
      << GetCommandLineA() << "\n";
  return 0;
}
