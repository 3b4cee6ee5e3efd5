// Stand-in web browser: appends the command line it was given to
// browser-record.txt beside itself, one line a start.
#include <windows.h>

#include <fstream>
#include <string>

int main() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::string record = self;
  record = record.substr(0, record.find_last_of('\\') + 1) + "browser-record.txt";
  std::ofstream(record, std::ios::binary | std::ios::app) << GetCommandLineA() << "\n";
  return 0;
}
