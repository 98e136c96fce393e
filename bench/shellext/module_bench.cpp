#include "module_bench.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <cstdio>
#include <fstream>
#include <vector>

#include "bench/bench_timing.h"

namespace orvane::bench {
namespace {

using Clock = std::chrono::steady_clock;

const CLSID kClassId = {0x5D1E7A42, 0x3C9B, 0x4F08, {0xA6, 0xD2, 0x9B, 0x71, 0xE0, 0xC4, 0xF3, 0x15}};

std::string WindowsPath(std::string unixPath) {
  for (char& c : unixPath)
    if (c == '/') c = '\\';
  return "Z:" + unixPath;
}

HRESULT CallModule(const std::string& module, const char* entry) {
  HMODULE handle = LoadLibraryA(module.c_str());
  if (!handle) return E_FAIL;
  auto function = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(handle, entry)));
  HRESULT result = function ? function() : E_NOTIMPL;
  FreeLibrary(handle);
  return result;
}

// The naive way: every key of the section, each through the profile function.
double ProfileRead(const std::string& file) {
  auto start = Clock::now();
  std::vector<char> keys(1 << 20);
  DWORD length = GetPrivateProfileStringA("Dynamic Items", nullptr, "", keys.data(),
                                          static_cast<DWORD>(keys.size()), file.c_str());
  char value[2048];
  std::size_t total = 0;
  for (DWORD at = 0; at < length;) {
    const char* key = keys.data() + at;
    std::size_t size = std::strlen(key);
    if (size == 0) break;
    total += GetPrivateProfileStringA("Dynamic Items", key, "", value, sizeof value, file.c_str());
    at += static_cast<DWORD>(size + 1);
  }
  if (total == 0) std::fprintf(stderr, "profile read nothing\n");
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The data object of `count` files of one type in `folder` (made when missing), as the
// folder gives it for a selection of them all.
IDataObject* ManyFiles(const std::string& folder, int count, PIDLIST_ABSOLUTE& parent) {
  CreateDirectoryA(folder.c_str(), nullptr);
  for (int k = 0; k < count; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "f%05d.txt", k);
    std::string path = folder + "\\" + name;
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) std::ofstream(path) << "x";
  }
  std::wstring wide(folder.begin(), folder.end());
  SHParseDisplayName(wide.c_str(), nullptr, &parent, 0, nullptr);
  IShellFolder* desktop = nullptr;
  IShellFolder* shellFolder = nullptr;
  SHGetDesktopFolder(&desktop);
  desktop->BindToObject(parent, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&shellFolder));
  desktop->Release();
  IEnumIDList* items = nullptr;
  std::vector<PITEMID_CHILD> children;
  if (shellFolder->EnumObjects(nullptr, SHCONTF_NONFOLDERS, &items) == S_OK) {
    PITEMID_CHILD child = nullptr;
    while (static_cast<int>(children.size()) < count && items->Next(1, &child, nullptr) == S_OK)
      children.push_back(child);
    items->Release();
  }
  IDataObject* data = nullptr;
  shellFolder->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()),
                             const_cast<PCUITEMID_CHILD*>(children.data()), IID_IDataObject, nullptr,
                             reinterpret_cast<void**>(&data));
  shellFolder->Release();
  for (PITEMID_CHILD child : children) CoTaskMemFree(child);
  return data;
}

}  // namespace

int RunModuleBench(const std::string& suffix) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "OrvaneBench\\";
  CreateDirectoryA(folder.c_str(), nullptr);
#ifdef _WIN64
  CreateDirectoryA((folder + "x64").c_str(), nullptr);
  const std::string module = folder + "x64\\OVShlExt.DLL";
#else
  const std::string module = folder + "OVShlExt.DLL";
#endif
  const std::string menuFile = folder + "Orvane.ini";
  const std::string selected = folder + "notes.txt";
  if (!CopyFileA(WindowsPath(ORVANE_MODULE).c_str(), module.c_str(), FALSE)) {
    std::fprintf(stderr, "no module at %s\n", ORVANE_MODULE);
    return 1;
  }
  std::ofstream(menuFile, std::ios::binary) << MenuFileText(1000, 50);
  std::ofstream(selected, std::ios::binary) << "x";
  HKEY key = nullptr;
  RegCreateKeyA(HKEY_CLASSES_ROOT, ".txt", &key);
  RegSetValueA(HKEY_CLASSES_ROOT, ".txt", REG_SZ, "txtfile", 7);
  RegCloseKey(key);
  if (CallModule(module, "DllRegisterServer") != S_OK) {
    std::fprintf(stderr, "registration failed\n");
    return 1;
  }

  PIDLIST_ABSOLUTE parent = nullptr, item = nullptr;
  std::wstring wideFolder(folder.begin(), folder.end() - 1), wideItem(selected.begin(), selected.end());
  SHParseDisplayName(wideFolder.c_str(), nullptr, &parent, 0, nullptr);
  SHParseDisplayName(wideItem.c_str(), nullptr, &item, 0, nullptr);
  PCUITEMID_CHILD child = ILFindLastID(item);
  IDataObject* data = nullptr;
  IShellFolder* desktop = nullptr;
  IShellFolder* shellFolder = nullptr;
  SHGetDesktopFolder(&desktop);
  desktop->BindToObject(parent, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&shellFolder));
  shellFolder->GetUIObjectOf(nullptr, 1, &child, IID_IDataObject, nullptr,
                             reinterpret_cast<void**>(&data));
  shellFolder->Release();
  desktop->Release();

  FILETIME stamp{};
  HANDLE file = CreateFileA(menuFile.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  GetFileTime(file, nullptr, nullptr, &stamp);
  int items = -1;
  auto queryOf = [&](PIDLIST_ABSOLUTE parent, IDataObject* data, bool cold) {
    if (cold) {  // a new write time: the module reads the file again
      ULARGE_INTEGER t{{stamp.dwLowDateTime, stamp.dwHighDateTime}};
      t.QuadPart += 10000000;
      stamp = {t.LowPart, t.HighPart};
      SetFileTime(file, nullptr, nullptr, &stamp);
    }
    IShellExtInit* init = nullptr;
    IContextMenu* menu = nullptr;
    CoCreateInstance(kClassId, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                     reinterpret_cast<void**>(&init));
    init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu));
    HMENU popup = CreatePopupMenu();
    auto start = Clock::now();
    init->Initialize(parent, data, nullptr);
    HRESULT result = menu->QueryContextMenu(popup, 0, 1, 0x7000, CMF_NORMAL);
    double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    items = HRESULT_CODE(result);
    DestroyMenu(popup);
    menu->Release();
    init->Release();
    return ms;
  };
  auto query = [&](bool cold) { return queryOf(parent, data, cold); };
  query(true);  // loads the module and what it uses
  TSamples cold, warm, profile;
  Interleave(15, {{&cold, [&] { return query(true); }},
                  {&warm, [&] { return query(false); }},
                  {&profile, [&] { return ProfileRead(menuFile); }}});
  // A right click on 10,000 files of one type against one on a single file, each round
  // both, warm.
  PIDLIST_ABSOLUTE manyParent = nullptr;
  IDataObject* many = ManyFiles(folder + "many", 10000, manyParent);
  TSamples single, selection;
  int manyItems = -1;
  if (many) {
    queryOf(manyParent, many, false);
    Interleave(9, {{&single, [&] { return query(false); }},
                   {&selection, [&] {
                      const double ms = queryOf(manyParent, many, false);
                      manyItems = items;
                      return ms;
                    }}});
    many->Release();
  }
  CoTaskMemFree(manyParent);
  CloseHandle(file);
  data->Release();
  CoTaskMemFree(item);
  CoTaskMemFree(parent);
  CallModule(module, "DllUnregisterServer");
  CoUninitialize();
  if (items <= 0) {
    std::fprintf(stderr, "the module showed no items\n");
    return 1;
  }
  if (!many || manyItems <= 0) {
    std::fprintf(stderr, "the module showed no items for 10,000 files\n");
    return 1;
  }
  PrintRatio("shellext.query_vs_profile_api" + suffix, Ratios(cold, profile));
  PrintRatio("shellext.warm_vs_cold" + suffix, Ratios(warm, cold));
  PrintValue("shellext.query_cold" + suffix, cold, "ms");
  PrintRatio("shellext.query_10000_objects_vs_1" + suffix, Ratios(selection, single));
  PrintValue("shellext.query_10000_objects" + suffix, selection, "ms");
  return 0;
}

}  // namespace orvane::bench
