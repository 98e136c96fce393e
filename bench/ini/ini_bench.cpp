// The INI engine against SimpleIni and inih on generated settings files: load plus
// random lookups, and load, change 1% of the values and write. Each figure is the best
// of several runs, given as our time divided by the other library's in the same run.

#include <INIReader.h>
#include <SimpleIni.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <new>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "storage/orvane_ini_file.h"

#include "heap_counter.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string g_suffix;

struct Key {
  std::string Section;
  std::string Name;
};

struct Layout {
  std::vector<Key> Keys;
  // Text with values changed for some keys (by index).
  std::string Text(const std::map<size_t, std::string>& changed = {}) const {
    std::string text = "; Generated settings file\r\n; kept as written\r\n\r\n";
    std::string section;
    for (size_t i = 0; i < Keys.size(); ++i) {
      const Key& key = Keys[i];
      if (key.Section != section) {
        if (!section.empty()) text += "\r\n";
        section = key.Section;
        text += "; about " + section + "\r\n[" + section + "]\r\n";
      }
      auto it = changed.find(i);
      std::string value = it != changed.end() ? it->second : Value(i);
      if (i % 50 == 7) {
        // The comment keeps its column when a shorter value replaces the first one.
        value.resize(std::max(value.size() + 1, Value(i).size() + 3), ' ');
        value += "; note " + std::to_string(i);
      }
      text += key.Name + "=" + value;
      text += "\r\n";
    }
    return text;
  }
  static std::string Value(size_t i) {
    return "C:\\Program Files\\App" + std::to_string(i) + ".exe";
  }
};

Layout MakeLayout(size_t keys, size_t sections) {
  Layout layout;
  layout.Keys.reserve(keys);
  size_t perSection = (keys + sections - 1) / sections;
  for (size_t i = 0; i < keys; ++i) {
    layout.Keys.push_back({"Section " + std::to_string(i / perSection),
                           "Application" + std::to_string(i % perSection)});
  }
  return layout;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Best of `runs` timings of `work`, in seconds; `prepare` runs untimed before each.
double Best(
    int runs, const std::function<void()>& work, const std::function<void()>& prepare = [] {}) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    prepare();
    auto start = Clock::now();
    work();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

// Heap peak above the level before `work`, in KiB.
size_t PeakKiB(const std::function<void()>& work) {
  size_t base = HeapNow();
  ResetHeapPeak();
  work();
  return (HeapPeak() - base) / 1024;
}

void Ratio(const std::string& figure, double value) {
  std::printf("ratio ini.%s%s %.3f\n", figure.c_str(), g_suffix.c_str(), value);
}
void Value(const std::string& figure, double value, const char* unit) {
  std::printf("value ini.%s%s %.3f %s\n", figure.c_str(), g_suffix.c_str(), value, unit);
}

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "bench ini: %s\n", why.c_str());
  std::exit(1);
}

struct Figures {
  double LookupVsSimpleIni = 0;
  double ModifyVsSimpleIni = 0;
};

Figures RunCase(const fs::path& folder, size_t keys, size_t sections, const std::string& name,
                bool reportMemory) {
  const Layout layout = MakeLayout(keys, sections);
  const std::string source = (folder / ("source_" + name + ".ini")).string();
  const std::string target = (folder / ("target_" + name + ".ini")).string();
  const std::string original = layout.Text();
  WriteBytes(source, original);

  std::mt19937 random(12345);
  std::vector<size_t> lookups(10000);
  for (size_t& index : lookups) index = random() % keys;
  std::map<size_t, std::string> changed;
  while (changed.size() < std::max<size_t>(1, keys / 100)) {
    size_t index = random() % keys;
    changed[index] = "D:\\Other\\Tool" + std::to_string(index) + ".exe";
  }
  const int runs = keys >= 100000 ? 5 : keys >= 10000 ? 10 : 30;

  // (a) load and look up.
  size_t oursFound = 0;
  size_t simpleFound = 0;
  size_t inihFound = 0;
  auto ours = [&] {
    orvane::TOrvaneIniFile ini(source, orvane::DefaultFileAccess());
    oursFound = 0;
    for (size_t index : lookups) {
      const Key& key = layout.Keys[index];
      oursFound += ini.ReadString(key.Section, key.Name, "").size();
    }
  };
  auto simple = [&] {
    CSimpleIniA ini;
    if (ini.LoadFile(source.c_str()) < 0) Fail("SimpleIni cannot load");
    simpleFound = 0;
    for (size_t index : lookups) {
      const Key& key = layout.Keys[index];
      simpleFound += std::strlen(ini.GetValue(key.Section.c_str(), key.Name.c_str(), ""));
    }
  };
  auto inih = [&] {
    INIReader reader(source);
    if (reader.ParseError() != 0) Fail("inih cannot load");
    inihFound = 0;
    for (size_t index : lookups) {
      const Key& key = layout.Keys[index];
      inihFound += reader.Get(key.Section, key.Name, "").size();
    }
  };
  double oursLookup = Best(runs, ours);
  double simpleLookup = Best(runs, simple);
  double inihLookup = Best(runs, inih);
  size_t expected = 0;
  for (size_t index : lookups) expected += Layout::Value(index).size();
  if (oursFound != expected || inihFound != expected || simpleFound < expected) {
    Fail("lookups disagree in " + name);
  }

  // (b) load, change 1% and write.
  auto copy = [&] { fs::copy_file(source, target, fs::copy_options::overwrite_existing); };
  auto oursWrite = [&] {
    orvane::TOrvaneIniFile ini(target, orvane::DefaultFileAccess());
    for (const auto& [index, value] : changed) {
      ini.WriteString(layout.Keys[index].Section, layout.Keys[index].Name, value);
    }
    ini.UpdateFile();
  };
  auto simpleWrite = [&] {
    CSimpleIniA ini;
    ini.SetSpaces(false);
    if (ini.LoadFile(target.c_str()) < 0) Fail("SimpleIni cannot load");
    for (const auto& [index, value] : changed) {
      ini.SetValue(layout.Keys[index].Section.c_str(), layout.Keys[index].Name.c_str(),
                   value.c_str());
    }
    if (ini.SaveFile(target.c_str(), false) < 0) Fail("SimpleIni cannot save");
  };
  double oursModify = Best(runs, oursWrite, copy);
  copy();
  oursWrite();
  if (ReadBytes(target) != layout.Text(changed)) Fail("layout not kept in " + name);
  double simpleModify = Best(runs, simpleWrite, copy);

  Figures figures{oursLookup / simpleLookup, oursModify / simpleModify};
  Ratio("load_lookup_" + name + "_vs_simpleini", figures.LookupVsSimpleIni);
  Ratio("load_lookup_" + name + "_vs_inih", oursLookup / inihLookup);
  Ratio("load_modify_write_" + name + "_vs_simpleini", figures.ModifyVsSimpleIni);
  Value("load_lookup_" + name + "_ms", oursLookup * 1000, "ms");
  Value("load_modify_write_" + name + "_ms", oursModify * 1000, "ms");
  if (reportMemory) {
    Value("peak_heap_" + name + "_ours", static_cast<double>(PeakKiB(ours)), "KiB");
    Value("peak_heap_" + name + "_simpleini", static_cast<double>(PeakKiB(simple)), "KiB");
    Value("peak_heap_" + name + "_inih", static_cast<double>(PeakKiB(inih)), "KiB");
  }
  std::fflush(stdout);
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.rfind("--suffix=", 0) == 0) g_suffix = arg.substr(9);
  }
  fs::path folder = fs::temp_directory_path() / "orvane_bench_ini";
  fs::create_directories(folder);
  Figures largest{0, 0};
  for (size_t keys : {1000, 10000, 100000}) {
    // Few large sections (key tables in use) and many small ones.
    Figures few = RunCase(folder, keys, 10, std::to_string(keys) + "_few_sections", keys == 100000);
    Figures many =
        RunCase(folder, keys, keys / 20, std::to_string(keys) + "_many_sections", keys == 100000);
    if (keys == 100000) {
      largest.LookupVsSimpleIni = std::max(few.LookupVsSimpleIni, many.LookupVsSimpleIni);
      largest.ModifyVsSimpleIni = std::max(few.ModifyVsSimpleIni, many.ModifyVsSimpleIni);
    }
  }
  // The headline figures: the worse of the two layouts.
  Ratio("load_lookup_100000_vs_simpleini", largest.LookupVsSimpleIni);
  Ratio("load_modify_write_100000_vs_simpleini", largest.ModifyVsSimpleIni);
  fs::remove_all(folder);
  return 0;
}
