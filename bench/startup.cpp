// Starts each program in turn, RUNS times, and measures the time from
// process start to its dialog being visible, and its peak working set then.
// Prints one line a program: its start in ms and its peak in KiB, each as
// median, lower quartile and upper quartile.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Find {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM param) {
  Find& find = *reinterpret_cast<Find*>(param);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  char windowClass[16] = {};
  GetClassNameA(window, windowClass, sizeof windowClass);
  if (processId != find.processId || !IsWindowVisible(window) ||
      std::string(windowClass) != "#32770")
    return TRUE;
  find.found = window;
  return FALSE;
}

// The value below which the fraction `at` of the values lies, between
// neighbours where it falls between two.
double Quantile(std::vector<double> values, double at) {
  std::sort(values.begin(), values.end());
  const double place = at * (values.size() - 1);
  const std::size_t below = static_cast<std::size_t>(place);
  const std::size_t above = std::min(below + 1, values.size() - 1);
  return values[below] + (place - below) * (values[above] - values[below]);
}

void PrintSpread(const std::vector<double>& values, const char* format) {
  for (const double at : {0.5, 0.25, 0.75}) std::printf(format, Quantile(values, at));
}

// One start: false if the dialog did not show within 30 s.
bool Measure(const std::string& exe, double& ms, double& peakKib) {
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  std::string line = "\"" + exe + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return false;
  Find find = {process.dwProcessId, nullptr};
  do {
    QueryPerformanceCounter(&now);
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&find));
    if (!find.found) Sleep(1);
  } while (!find.found && (now.QuadPart - start.QuadPart) < 30 * frequency.QuadPart);
  ms = 1000.0 * (now.QuadPart - start.QuadPart) / frequency.QuadPart;
  Sleep(300);  // let it settle before reading its memory
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters);
  peakKib = counters.PeakWorkingSetSize / 1024.0;
  if (find.found) PostMessageA(find.found, WM_COMMAND, IDCANCEL, 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return find.found != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || std::atoi(argv[1]) < 1) {
    std::fprintf(stderr, "usage: startup RUNS PROGRAM...\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  const int programs = argc - 2;
  std::vector<std::vector<double>> times(programs), peaks(programs);
  for (int run = 0; run < runs; ++run) {
    for (int p = 0; p < programs; ++p) {  // interleaved, so drift hits both alike
      double ms = 0, kib = 0;
      if (!Measure(argv[2 + p], ms, kib)) {
        std::fprintf(stderr, "%s: no dialog within 30 s\n", argv[2 + p]);
        return 1;
      }
      times[p].push_back(ms);
      peaks[p].push_back(kib);
    }
  }
  for (int p = 0; p < programs; ++p) {
    std::printf("%s", argv[2 + p]);
    PrintSpread(times[p], " %.1f");
    PrintSpread(peaks[p], " %.0f");
    std::printf("\n");
  }
  return 0;
}
