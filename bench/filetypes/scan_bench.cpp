// How the file type scan scales: synthetic HKEY_CLASSES_ROOT contents of 1,000, 10,000
// and 50,000 keys (extensions, types, CurVer chains, perceived types, icons from class
// servers), each scanned and, as the baseline, walked plainly through the same backend:
// every key opened read-only and its default value read. Natively the in-memory
// registry; under Wine (--suffix=_wine) the prefix's real registry, cleaned up after.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "bench/filetypes/synthetic_classes.h"
#include "filetypes/adv_string_list.h"
#include "filetypes/file_types.h"
#include "filetypes/predefined_types.h"
#include "platform/exception.h"
#include "platform/memory_registry.h"
#include "platform/registry.h"

using namespace orvane;
using orvane::bench::Build;
using orvane::bench::Fixture;
using orvane::bench::Remove;

namespace {

// The baseline: the scan's own enumeration, then every key opened read-only and its
// default value read.
size_t Walk(IRegistryBackend& backend, const Fixture& fixture) {
  TRegistry reg(kKeyRead, backend);
  reg.SetRootKey(kHkeyClassesRoot);
  std::vector<std::string> names;
  std::vector<std::string> perceived;
  reg.OpenKeyReadOnly("\\");
  reg.GetKeyNames(names);
  if (reg.OpenKeyReadOnly("\\SystemFileAssociations")) reg.GetKeyNames(perceived);
  size_t bytes = 0;
  auto visit = [&](const std::string& path) {
    if (!reg.OpenKeyReadOnly("\\" + path)) return;
    try {
      bytes += reg.ReadString("").size();
    } catch (const ERegistryException&) {
    }
  };
  for (const auto& name : names) visit(name);
  for (const auto& name : perceived) visit("SystemFileAssociations\\" + name);
  for (const auto& sub : fixture.subKeys) visit(sub);
  return bytes;
}

// Counts the calls that reach the registry.
class TCountingBackend : public IRegistryBackend {
public:
  explicit TCountingBackend(IRegistryBackend& inner) : inner_(inner) {}
  long opens = 0, failedOpens = 0, queries = 0, enums = 0, closes = 0;
  ErrorCode OpenKey(HKey p, const std::string& s, std::uint32_t a, HKey& r) override {
    ++opens;
    ErrorCode rc = inner_.OpenKey(p, s, a, r);
    if (rc) ++failedOpens;
    return rc;
  }
  ErrorCode CreateKey(HKey p, const std::string& s, std::uint32_t a, HKey& r) override {
    return inner_.CreateKey(p, s, a, r);
  }
  ErrorCode CloseKey(HKey k) override {
    ++closes;
    return inner_.CloseKey(k);
  }
  ErrorCode QueryValue(HKey k, const std::string& n, std::uint32_t* t, std::uint8_t* d,
                       std::uint32_t* z) override {
    ++queries;
    return inner_.QueryValue(k, n, t, d, z);
  }
  ErrorCode SetValue(HKey k, const std::string& n, std::uint32_t t, const std::uint8_t* d,
                     std::uint32_t z) override {
    return inner_.SetValue(k, n, t, d, z);
  }
  ErrorCode EnumKey(HKey k, std::uint32_t i, std::string& n) override {
    ++enums;
    return inner_.EnumKey(k, i, n);
  }
  ErrorCode EnumValue(HKey k, std::uint32_t i, std::string& n) override {
    return inner_.EnumValue(k, i, n);
  }
  ErrorCode QueryInfoKey(HKey k, TRegKeyInfo& i) override { return inner_.QueryInfoKey(k, i); }
  ErrorCode DeleteKey(HKey p, const std::string& s) override { return inner_.DeleteKey(p, s); }
  ErrorCode DeleteValue(HKey k, const std::string& n) override { return inner_.DeleteValue(k, n); }
  ErrorCode FlushKey(HKey k) override { return inner_.FlushKey(k); }
  ErrorCode LastError() const override { return inner_.LastError(); }
  void SetLastError(ErrorCode c) override { inner_.SetLastError(c); }
  std::string ErrorMessage(ErrorCode c) const override { return inner_.ErrorMessage(c); }

private:
  IRegistryBackend& inner_;
};

}  // namespace

int main(int argc, char** argv) {
  const std::string suffix = bench::Argument(argc, argv, "suffix");
  // --keys=N: one size, for profiling.
  const int only = std::atoi(bench::Argument(argc, argv, "keys", "0").c_str());
  const bool real = !suffix.empty();
  SetPlatformClass(pcXP);
  SetShellVersion(0x60000);
  BuildPredefinedTable();

  const int sizes[] = {1000, 10000, 50000};
  double perKey[3] = {};
  double walkPerKey[3] = {};
  for (int s = 0; s < 3; ++s) {
    const int keys = sizes[s];
    if (only && keys != only) continue;
    TMemoryRegistry memory;
    IRegistryBackend& backend = real ? DefaultRegistryBackend() : memory;
    const Fixture fixture = Build(backend, keys);
    // Small sizes take little time: more rounds keep their median steady.
    const int rounds = std::clamp((real ? 20000 : 200000) / keys, 5, 200);
    bench::TSamples walks, scans;
    int types = 0;
    int bugs = 0;
    size_t sink = 0;
    bench::Interleave(
        rounds, {{&walks, [&] { return bench::Seconds([&] { sink += Walk(backend, fixture); }); }},
                 {&scans, [&] {
                    TFileTypes model;
                    TAdvStringList bugList;
                    const double seconds = bench::Seconds([&] { model.Load(bugList, backend); });
                    types = model.Count();
                    bugs = bugList.Count();
                    return seconds;
                  }}});
    const double walk = walks.Median(), scan = scans.Median();
    TCountingBackend walkCount(backend);
    TCountingBackend scanCount(backend);
    Walk(walkCount, fixture);
    {
      TFileTypes model;
      TAdvStringList bugList;
      model.Load(bugList, scanCount);
    }
    std::printf(
        "calls walk: %ld opens (%ld failed), %ld queries, %ld enums; scan: %ld opens "
        "(%ld failed), %ld queries, %ld enums\n",
        walkCount.opens, walkCount.failedOpens, walkCount.queries, walkCount.enums, scanCount.opens,
        scanCount.failedOpens, scanCount.queries, scanCount.enums);
    if (real) Remove(backend, fixture);
    perKey[s] = scan / keys;
    walkPerKey[s] = walk / keys;
    std::printf("keys %d: walk %.4f s, scan %.4f s (%d types, %d bugs, %zu bytes read)\n", keys,
                walk, scan, types, bugs, sink);
    const std::string figure = std::to_string(keys) + suffix;
    bench::PrintRatio("filetypes.scan_vs_walk_" + figure, bench::Ratios(scans, walks));
    bench::PrintValue("filetypes.scan_" + figure, scans, "s");
  }
  if (perKey[0] > 0 && perKey[2] > 0) {
    std::printf("ratio filetypes.per_key_50000_vs_1000%s %.3f\n", suffix.c_str(),
                perKey[2] / perKey[0]);
    // The same figure for the plain walk: what the backend itself costs more per key.
    std::printf("ratio filetypes.walk_per_key_50000_vs_1000%s %.3f\n", suffix.c_str(),
                walkPerKey[2] / walkPerKey[0]);
  }
  return 0;
}
