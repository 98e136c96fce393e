// How the shell extension scan compares with a plain walk of the keys it reads: generated
// HKEY_CLASSES_ROOT contents of 1,000 and 10,000 types with 2,000 context-menu handlers
// (one in ten switched off into the program's store) over 500 classes. The walk opens
// every type's handler key, every handler and every class's InProcServer32 key in each
// view and reads their default values. Module files are answered without the disk, so
// both sides measure the registry work. Natively the in-memory registry; under Wine
// (--suffix=_wine) the prefix's real registry in both views, cleaned up after.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "maintenance/disabled_store.h"
#include "maintenance/shell_extension_cleanup.h"
#include "platform/exception.h"
#include "platform/file_system.h"
#include "platform/memory_registry.h"
#include "platform/registry.h"
#include "platform/system_info.h"
#include "tests/support/nth_call_failure.h"
#ifdef _WIN32
#include "platform/win32/win32_registry.h"
#endif

using namespace orvane;

namespace {

constexpr int kHandlers = 2000;
constexpr int kClasses = 500;
const std::string kHandlerKey = "\\shellex\\ContextMenuHandlers";

std::string ClassId(int i) {
  char text[64];
  std::snprintf(text, sizeof text, "{0C0C%04X-0000-4000-8000-%012X}", i & 0xFFFF, i);
  return text;
}

// Every module exists where it is named; no versions.
class TBenchFiles : public IFileSystem, public IModuleVersions {
public:
  std::string ExpandEnvironment(const std::string& text) override { return text; }
  std::optional<bool> FindFileOnPath(const std::string& name, const std::vector<std::string>& folders,
                                     std::string* found) override {
    if (found) *found = (folders.empty() ? std::string() : folders[0]) + name;
    return true;
  }
  bool FileExists(const std::string&) override { return true; }
  TModuleVersion Read(const std::string&) override { return {}; }
};

void Build(IRegistryBackend& backend, const std::vector<IRegistryBackend*>& views, int types) {
  TRegistry classes(backend), user(backend);
  classes.SetRootKey(kHkeyClassesRoot);
  user.SetRootKey(kHkeyCurrentUser);
  for (int t = 0; t < types; ++t) {
    classes.OpenKey("\\ovctype" + std::to_string(t), true);
    classes.WriteString("", "Bench type");
  }
  for (int h = 0; h < kHandlers; ++h) {
    const std::string key = "ovctype" + std::to_string(h * types / kHandlers) + kHandlerKey +
                            "\\Handler" + std::to_string(h);
    TRegistry& place = h % 10 == 9 ? user : classes;
    place.OpenKey("\\" + (h % 10 == 9 ? StoredKeyPath(key, kDisabledDynamicPrefix) : key), true);
    place.WriteString("", ClassId(h % kClasses));
  }
  for (IRegistryBackend* view : views) {
    TRegistry server(*view);
    server.SetRootKey(kHkeyClassesRoot);
    for (int c = 0; c < kClasses; ++c) {
      server.OpenKey("\\CLSID\\" + ClassId(c) + "\\InProcServer32", true);
      server.WriteString("", "C:\\bench\\module" + std::to_string(c) + ".dll");
    }
  }
}

void Remove(IRegistryBackend& backend, const std::vector<IRegistryBackend*>& views, int types) {
  TRegistry classes(backend), user(backend);
  classes.SetRootKey(kHkeyClassesRoot);
  user.SetRootKey(kHkeyCurrentUser);
  for (int t = 0; t < types; ++t) classes.DeleteKey("\\ovctype" + std::to_string(t));
  user.DeleteKey("\\Software\\Orvane\\DisabledItems\\Dynamic");
  for (IRegistryBackend* view : views) {
    TRegistry server(*view);
    server.SetRootKey(kHkeyClassesRoot);
    for (int c = 0; c < kClasses; ++c) server.DeleteKey("\\CLSID\\" + ClassId(c));
  }
}

// The baseline: the same enumerations and opens, each default value read once.
size_t Walk(IRegistryBackend& backend, const std::vector<IRegistryBackend*>& views) {
  size_t bytes = 0;
  std::set<std::string> classIds;
  std::vector<std::string> types, handlers;
  for (auto [root, base] : {std::pair{kHkeyClassesRoot, std::string("\\")},
                            std::pair{kHkeyCurrentUser, "\\" + std::string(kDisabledDynamicPrefix)}}) {
    TRegistry reg(kKeyRead, backend);
    reg.SetRootKey(root);
    if (!reg.OpenKeyReadOnly(base.size() > 1 ? base.substr(0, base.size() - 1) : base)) continue;
    reg.GetKeyNames(types);
    for (const std::string& type : types) {
      const std::string key = base + type + kHandlerKey;
      if (!reg.OpenKeyReadOnly(key)) continue;
      reg.GetKeyNames(handlers);
      for (const std::string& handler : handlers) {
        if (!reg.OpenKeyReadOnly(key + "\\" + handler)) continue;
        const std::string value = reg.ReadString("");
        bytes += value.size();
        classIds.insert(value);
      }
    }
  }
  for (IRegistryBackend* view : views) {
    TRegistry reg(kKeyRead, *view);
    reg.SetRootKey(kHkeyClassesRoot);
    for (const std::string& id : classIds) {
      if (reg.OpenKeyReadOnly("\\CLSID\\" + id + "\\InProcServer32")) bytes += reg.ReadString("").size();
    }
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string suffix = bench::Argument(argc, argv, "suffix");
  const bool real = !suffix.empty();
  TBenchFiles files;
  for (int types : {1000, 10000}) {
    // Under Wine only the large size is a target; the small one is printed all the same.
    TMemoryRegistry memory;
    IRegistryBackend* backend = &memory;
    std::vector<TClassView> views{{&memory, TBitness::Bits32, {}, {}}};
#ifdef _WIN32
    static TWin32Registry view32(kKeyWow64_32Key), view64(kKeyWow64_64Key);
    if (real) {
      backend = &DefaultRegistryBackend();
      views = {{&view32, TBitness::Bits32, {}, {}}, {&view64, TBitness::Bits64, {}, {}}};
    }
#endif
    std::vector<IRegistryBackend*> viewRegistries;
    for (const TClassView& view : views) viewRegistries.push_back(view.Registry);
    Build(*backend, viewRegistries, types);
    TShellExtensionCleanup cleanup(TShellExtensionServices{*backend, views, files, files});
    const int rounds = real ? 5 : 21;
    bench::TSamples walks, scans;
    size_t sink = 0;
    bench::Interleave(
        rounds,
        {{&walks, [&] { return bench::Seconds([&] { sink += Walk(*backend, viewRegistries); }); }},
         {&scans, [&] { return bench::Seconds([&] { cleanup.Reload(nullptr); }); }}});
    const double walk = walks.Median(), scan = scans.Median();
    const size_t entries = cleanup.Entries().size();
    // What each side asks of the registry through the handler keys' backend.
    testing::TNthCallFailure walkCalls(*backend), scanCalls(*backend);
    {
      std::vector<IRegistryBackend*> counted{&walkCalls};
      Walk(walkCalls, counted);
      std::vector<TClassView> countedViews{{&scanCalls, TBitness::Bits32, {}, {}}};
      TShellExtensionCleanup counting(TShellExtensionServices{scanCalls, countedViews, files, files});
      counting.Reload(nullptr);
    }
    if (real) Remove(*backend, viewRegistries, types);
    std::printf("types %d: walk %.4f s, scan %.4f s (%zu entries, %zu bytes read; calls in one "
                "view: walk %d, scan %d)\n",
                types, walk, scan, entries, sink, walkCalls.Calls, scanCalls.Calls);
    bench::PrintRatio("cleanup.scan_vs_walk_" + std::to_string(types) + suffix,
                      bench::Ratios(scans, walks));
  }
  return 0;
}
