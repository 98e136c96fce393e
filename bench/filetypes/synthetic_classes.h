#pragma once
// Synthetic HKEY_CLASSES_ROOT contents for the benchmarks that scan or start on a large
// registry: extensions, types, CurVer chains, perceived types, icons from class servers.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace orvane::bench {

struct Fixture {
  std::vector<std::string> roots;    // created below HKEY_CLASSES_ROOT
  std::vector<std::string> subKeys;  // every other key written, full path
};

inline std::string ClassId(int i) {
  char text[64];
  std::snprintf(text, sizeof text, "{0B0B%04X-0000-4000-8000-%012X}", i & 0xFFFF, i);
  return text;
}

// `keys` root keys: half extensions, half types. Two of three types have their own
// extension, a quarter take their icon from a class server, one in eight has a CurVer
// that names the next type, one extension in ten has a perceived type and one in
// twenty-five points to a type that does not exist.
inline Fixture Build(IRegistryBackend& backend, int keys) {
  Fixture fixture;
  TRegistry reg(backend);
  reg.SetRootKey(kHkeyClassesRoot);
  auto write = [&](const std::string& path, const char* name, const std::string& value) {
    reg.OpenKey("\\" + path, true);
    reg.WriteString(name, value);
  };
  const int types = keys / 2;
  const int extensions = keys - types;
  for (int t = 0; t < types; ++t) {
    const std::string type = "ovbtype" + std::to_string(t);
    fixture.roots.push_back(type);
    write(type, "", "Bench type " + std::to_string(t * 7919 % types));
    if (t % 4 == 3) {
      const std::string cls = ClassId(t);
      write(type + "\\CLSID", "", cls);
      write("CLSID\\" + cls + "\\InProcServer32", "", "C:\\bench\\server" + std::to_string(t));
      fixture.subKeys.push_back(type + "\\CLSID");
      fixture.subKeys.push_back("CLSID\\" + cls);
      fixture.subKeys.push_back("CLSID\\" + cls + "\\InProcServer32");
    } else {
      write(type + "\\DefaultIcon", "", "%SystemRoot%\\bench.dll," + std::to_string(t));
      fixture.subKeys.push_back(type + "\\DefaultIcon");
    }
    if (t % 8 == 5 && t + 1 < types) {
      write(type + "\\CurVer", "", "ovbtype" + std::to_string(t + 1));
      fixture.subKeys.push_back(type + "\\CurVer");
    }
  }
  for (int p = 0; p < 20; ++p) {
    const std::string perceived = "SystemFileAssociations\\ovbperc" + std::to_string(p);
    write(perceived, "", "Perceived " + std::to_string(p));
    fixture.subKeys.push_back(perceived);
  }
  for (int e = 0; e < extensions; ++e) {
    const std::string extension = ".ovb" + std::to_string(e);
    fixture.roots.push_back(extension);
    int target = e % 3 == 2 ? e - 1 : e;
    write(extension, "",
          e % 25 == 24 ? "ovbmissing" + std::to_string(e)
                       : "ovbtype" + std::to_string(std::min(target, types - 1)));
    if (e % 10 == 7) write(extension, "PerceivedType", "ovbperc" + std::to_string(e % 20));
  }
  reg.CloseKey();
  return fixture;
}

inline void Remove(IRegistryBackend& backend, const Fixture& fixture) {
  TRegistry reg(backend);
  reg.SetRootKey(kHkeyClassesRoot);
  for (const auto& root : fixture.roots) reg.DeleteKey("\\" + root);
  for (const auto& sub : fixture.subKeys) {
    if (sub.rfind("CLSID\\", 0) == 0 || sub.rfind("SystemFileAssociations\\", 0) == 0)
      reg.DeleteKey("\\" + sub);
  }
}

}  // namespace orvane::bench
