// The shell extension module's costs. Everywhere: the shared reader alone on a menu file
// of 10,000 entries. Under Wine (--suffix=_wine) also Initialize plus QueryContextMenu of
// the registered module, cold and warm, against reading the section with the system's
// profile function key by key, and a right click on 10,000 files of one type against one
// on a single file.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "storage/menu_file_reader.h"

#ifdef _WIN32
#include "module_bench.h"
#endif


namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

namespace orvane::bench {

// A menu file as the program writes it: `entries` entries over `types` file types, each
// type holding a submenu with a nested submenu, separators and plain items.
std::string MenuFileText(int entries, int types) {
  std::string text = "[Orvane]\r\nLeft=10\r\n\r\n[Dynamic Items]\r\n";
  int perType = std::max(1, entries / types);
  int n = 0;
  for (int t = 0; t < types && n < entries; ++t) {
    std::string type = t == 0 ? "txtfile" : "type" + std::to_string(t);
    int outer = 0, inner = 0;
    for (int k = 0; k < perType && n < entries; ++k) {
      std::string id = std::to_string(++n);
      int parent = k == 0 ? 0 : (k == 1 || k % 3 == 0 ? outer : inner);
      text += "Parent" + id + "=" + std::to_string(parent) + "\r\n";
      if (k == 0 || k == 1) {
        text += "Caption" + id + "=Submenu " + id + "\r\nChecked" + id + "=1\r\nFileType" + id +
                "=" + type + "\r\nHint" + id + "=Holds more\r\nIconFile" + id +
                "=\r\nIconIndex" + id + "=-1\r\nSubmenu" + id + "=1\r\n";
        (k == 0 ? outer : inner) = n;
      } else if (k % 7 == 0) {
        text += "IsSeparator" + id + "=1\r\nChecked" + id + "=1\r\nFileType" + id + "=" + type +
                "\r\n";
      } else {
        text += "Application" + id + "=C:\\Program Files\\Tool\\tool.exe\r\nParameters" + id +
                "=\"%1\"\r\nCaption" + id + "=Item &" + id + "\r\nHint" + id +
                "=Runs the tool on the file\r\nIconFile" + id + "=\r\nIconIndex" + id +
                "=-1\r\nChecked" + id + "=1\r\nFileType" + id + "=" + type + "\r\n";
      }
    }
  }
  text += "Count=" + std::to_string(n) + "\r\n";
  return text;
}

}  // namespace orvane::bench

int main(int argc, char** argv) {
  std::string suffix;
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "--suffix=", 9) == 0) suffix = argv[i] + 9;

  const std::string text = orvane::bench::MenuFileText(10000, 50);
  std::vector<double> times;
  std::size_t read = 0;
  for (int run = 0; run < 15; ++run) {
    auto start = Clock::now();
    read += orvane::ReadMenuFileText(text).DynamicItems.size();
    times.push_back(Milliseconds(Clock::now() - start));
  }
  std::sort(times.begin(), times.end());
  if (read != 15u * 10000u) {
    std::fprintf(stderr, "reader lost entries: %zu\n", read / 15);
    return 1;
  }
  std::printf("value shellext.parse_10000%s %.3f ms\n", suffix.c_str(), times[times.size() / 2]);
#ifdef _WIN32
  if (!suffix.empty()) {
    const int status = orvane::bench::RunModuleBench(suffix);
    return status != 0 ? status : orvane::bench::RunDrawingBench(suffix);
  }
#endif
  return 0;
}
