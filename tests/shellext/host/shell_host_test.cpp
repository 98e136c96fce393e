// The module as the file manager uses it, under Wine: registered in the test prefix,
// created by COM activation of the class the handler list names, initialized with the
// shell's data object for real paths, asked for its items in a real menu, and invoked;
// a recorder program tells what an item started.

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>
#include <psapi.h>

#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "filetypes/file_types.h"
#include "menus/dynamic_menu.h"
#include "menus/menu_file_io.h"
#include "platform/file_access.h"
#include "platform/icon_source.h"
#include "platform/reg_text.h"
#include "platform/system_info.h"
#include "platform/win32/shell_selection.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_registry.h"
#include "resources/version.h"
#include "tests/shellext/host/shell_host.h"

namespace orvane::testing {
namespace {

constexpr const char* kClassId = kModuleClassId;
constexpr const char* kDoneEvent = "OrvaneRecorderDone";

const std::string kPng(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x02\x00\x00"
    "\x00\x01\x08\x06\x00\x00\x00\xf4\x22\x7f\x8a\x00\x00\x00\x0e\x49\x44\x41\x54\x78\x9c\x63"
    "\xf8\xcf\xc0\x00\x42\x0d\x00\x0f\x7a\x03\x7e\x77\xe9\x7f\x97\x00\x00\x00\x00\x49\x45\x4e"
    "\x44\xae\x42\x60\x82",
    71);

// File types the tests select, in the prefix's classes.
const char* kClasses = R"(REGEDIT4

[HKEY_CLASSES_ROOT\.orvtxt]
@="orvtxtfile"
"PerceivedType"="text"

[HKEY_CLASSES_ROOT\orvtxtfile]
@="Orvane test text"

[HKEY_CLASSES_ROOT\.orvdoc]
@="Orvane.Doc.1"

[HKEY_CLASSES_ROOT\Orvane.Doc.1\CurVer]
@="Orvane.Doc.2"

[HKEY_CLASSES_ROOT\Orvane.Doc.2]
@="Orvane test document"
)";

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The program folder of the tests: the module, the menu file, the selected objects.
struct TWorld {
  std::string folder;  // with a trailing backslash
  std::string module;
  std::string recorder = WindowsPath(ORVANE_RECORDER);

  TWorld() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "OrvaneHost\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "docs").c_str(), nullptr);
    // The 64-bit module lives in "x64" beside the program, as the program places it.
#ifdef _WIN64
    CreateDirectoryA((folder + "x64").c_str(), nullptr);
    module = folder + "x64\\OVShlExt.DLL";
#else
    module = folder + "OVShlExt.DLL";
#endif
    CopyFileA(WindowsPath(ORVANE_MODULE).c_str(), module.c_str(), FALSE);
    WriteFile(folder + "star.png", kPng);
    // The same picture with 2 MiB behind its end: too large a file for a menu icon.
    WriteFile(folder + "huge.png", kPng + std::string(2 << 20, '\0'));
    // A batch program that hands its argument on to the recorder.
    WriteFile(folder + "run.bat", "@\"" + recorder + "\" OrvaneRecorderDone \"" + folder +
                                      "recorded.txt\" %1\r\n");
    for (const char* name : {"notes.orvtxt", "report.orvdoc", "plain.orvnone"})
      WriteFile(folder + "docs\\" + name, "x");
  }
};

TWorld& World() {
  static TWorld world;
  return world;
}

std::string Output() { return World().folder + "recorded.txt"; }

std::string Utf8(const std::wstring& text) {
  std::string bytes(text.size() * 4 + 1, '\0');
  bytes.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), static_cast<int>(bytes.size()),
                                   nullptr, nullptr));
  return bytes;
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// A file of the given wide path with its folders.
void MakeFile(const std::wstring& path) {
  for (std::size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
    CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
}

void RemoveFileAndFolders(const std::wstring& path, const std::wstring& stop) {
  DeleteFileW(path.c_str());
  for (std::wstring folder = path.substr(0, path.rfind(L'\\')); folder.size() > stop.size();
       folder = folder.substr(0, folder.rfind(L'\\')))
    RemoveDirectoryW(folder.c_str());
}

// A data object with a dropped-file list only, as other hosts give it; its paths may be
// longer than the shell's item lists take under Wine.
class TDropData final : public IDataObject {
public:
  explicit TDropData(const std::vector<std::wstring>& paths) {
    for (const std::wstring& path : paths) files_ += path + L'\0';
    files_ += L'\0';
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
      *object = static_cast<IDataObject*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (format->cfFormat != CF_HDROP || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
    SIZE_T size = sizeof(DROPFILES) + files_.size() * sizeof(wchar_t);
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(global));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, files_.data(), files_.size() * sizeof(wchar_t));
    GlobalUnlock(global);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = global;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format->cfFormat == CF_HDROP ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
  std::wstring files_;
};

// The data object the folder of `paths` gives for them, for paths of any characters.
HRESULT WideSelection(const std::wstring& folder, const std::vector<std::wstring>& paths,
                      TComPtr<IDataObject>& data, PIDLIST_ABSOLUTE& parent) {
  if (FAILED(SHParseDisplayName(folder.c_str(), nullptr, &parent, 0, nullptr))) return E_INVALIDARG;
  TComPtr<IShellFolder> desktop, shellFolder;
  SHGetDesktopFolder(desktop.Put());
  HRESULT result = desktop->BindToObject(parent, nullptr, IID_IShellFolder, shellFolder.PutVoid());
  if (FAILED(result)) return result;
  std::vector<PITEMID_CHILD> children;
  for (const std::wstring& path : paths) {
    std::wstring name = path.substr(path.rfind(L'\\') + 1);
    PIDLIST_RELATIVE child = nullptr;
    result = shellFolder->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &child, nullptr);
    if (FAILED(result)) break;
    children.push_back(static_cast<PITEMID_CHILD>(child));
  }
  if (SUCCEEDED(result))
    result = shellFolder->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()),
                                        const_cast<PCUITEMID_CHILD*>(children.data()), IID_IDataObject,
                                        nullptr, data.PutVoid());
  for (PITEMID_CHILD child : children) CoTaskMemFree(child);
  return result;
}

HRESULT CallModule(const char* entry) {
  HMODULE module = LoadLibraryA(World().module.c_str());
  if (!module) return E_FAIL;
  auto function = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(module, entry)));
  HRESULT result = function ? function() : E_NOTIMPL;
  FreeLibrary(module);
  return result;
}

// The keys registration touches, as .reg text.
std::string RegistrySnapshot() {
  TWin32Registry registry;
  std::string text;
  for (const std::string& key :
       {std::string("HKEY_CLASSES_ROOT\\CLSID\\") + kClassId, std::string("HKEY_CLASSES_ROOT\\*\\shellex"),
        std::string("HKEY_CLASSES_ROOT\\Directory\\shellex"),
        std::string("HKEY_CLASSES_ROOT\\Directory\\Background"), std::string("HKEY_CLASSES_ROOT\\Drive"),
        std::string("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions")})
    text += key + ":\n" + ExportRegText(registry, key);
  return text;
}

// A menu file as the program writes it.
class TProgramMenu {
public:
  TProgramMenu() {
    for (const char* name : {"*", "AllFileSystemObjects", "Folder", "Directory", "Directory\\Background",
                             "Drive", "SystemFileAssociations\\text", "orvtxtfile", "Orvane.Doc.2"}) {
      TFileType* type = types.Add();
      type->SetName(name);
      type->SetDescription(name);
    }
  }
  TDynamicMenuItem* Item(TTreeItems& list, const std::string& caption, const std::string& parameters,
                         const std::string& application = World().recorder) {
    auto* item = static_cast<TDynamicMenuItem*>(menu.List().AddFirstItem(list));
    item->SetCaption(caption);
    item->SetApplication(application);
    item->SetParameters(parameters);
    return item;
  }
  TDynamicSubMenu* Submenu(TTreeItems& list, const std::string& caption) {
    auto* item = static_cast<TDynamicSubMenu*>(menu.List().AddSubMenu(list));
    item->SetCaption(caption);
    return item;
  }
  TTreeItems& Type(const std::string& name) {
    return menu.List().FindOrAddCategory(types.FindByName(name))->Items();
  }

  TFileTypes types;
  TDynamicMenu menu{&types, TItemImageSources{DefaultIconSource(), DefaultFileAccess()}};
};

void WriteProgramMenu() {
  TProgramMenu program;
  const std::string record = std::string(kDoneEvent) + " " + Output() + " %1";
  program.Item(program.Type("*"), "Any file", record)->SetHint("For every file");
  program.Item(program.Type("AllFileSystemObjects"), "Any object", record);
  program.Item(program.Type("SystemFileAssociations\\text"), "Perceived text", record);
  TDynamicSubMenu* tools = program.Submenu(program.Type("orvtxtfile"), "Text tools");
  tools->SetHint("Tools for text");
  tools->SetIconFile("shell32.dll");
  tools->SetIconIndex(3);
  TDynamicMenuItem* edit = program.Item(tools->Items(), "Edit text", record);
  edit->SetIconFile(World().folder + "star.png");
  edit->SetIconIndex(0);
  edit->SetHint("Edits the text");
  program.Item(tools->Items(), "-", "")->SetSeparator(true);
  program.Item(tools->Items(), "Inactive", record)->SetChecked(false);
  TDynamicSubMenu* more = program.Submenu(tools->Items(), "More");
  program.Item(more->Items(), "Deep", record);
  program.Item(program.Type("orvtxtfile"), "Broken program", "",
               "C:\\no such folder\\missing.exe");
  program.Item(program.Type("Orvane.Doc.2"), "Newest document", record);
  program.Item(program.Type("Orvane.Doc.2"), "Batch", "%1", World().folder + "run.bat");
  TDynamicMenuItem* background = program.Item(program.Type("Directory\\Background"), "Background item", record);
  background->SetIconFile(World().folder + "huge.png");
  background->SetIconIndex(0);
  TDynamicMenuItem* folder = program.Item(program.Type("Directory"), "Folder item", record);
  folder->SetIconFile(World().folder + "star.png");
  folder->SetIconIndex(0);
  program.Item(program.Type("Drive"), "Drive item", record);
  ApplyDynamicMenu(program.menu, World().folder + "Orvane.ini", DefaultFileAccess());
}

// What the file manager does for a right click on `paths` (or on the background of
// `folder` when `paths` is empty).
class ShellHostTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ImportRegText(backend, kClasses);
  }
  static void TearDownTestSuite() {
    for (const char* key : {".orvtxt", "orvtxtfile", "Orvane.Doc.1\\CurVer", "Orvane.Doc.1",
                            ".orvdoc", "Orvane.Doc.2"})
      backend.DeleteKey(kHkeyClassesRoot, key);
    CoUninitialize();
  }
  void SetUp() override {
    WriteProgramMenu();
    ASSERT_EQ(CallModule("DllRegisterServer"), S_OK);
  }
  void TearDown() override {
    handler.Reset();
    if (menu) DestroyMenu(menu);
    EXPECT_EQ(CallModule("DllUnregisterServer"), S_OK);
  }

  // Our handler, initialized for the objects and asked for its items; the menu's outline.
  std::string Menu(const std::string& typeKey, const std::vector<std::string>& paths,
                   const std::string& background = "", HRESULT* queried = nullptr) {
    handler = ModuleHandler(typeKey);
    EXPECT_TRUE(handler) << "no handler of ours for " << typeKey;
    if (!handler) return "";
    TComPtr<IShellExtInit> init;
    handler->QueryInterface(IID_IShellExtInit, init.PutVoid());
    if (paths.empty()) {
      TIdList folder(background);
      EXPECT_EQ(init->Initialize(folder.Get(), nullptr, nullptr), S_OK);
    } else {
      EXPECT_EQ(InitializeForFiles(*handler.Get(), World().folder + "docs", paths), S_OK);
    }
    if (menu) DestroyMenu(menu);
    menu = CreatePopupMenu();
    HRESULT result = handler->QueryContextMenu(menu, 0, kFirst, kFirst + 500, CMF_NORMAL);
    if (queried) *queried = result;
    EXPECT_FALSE(FAILED(result));
    return Outline(menu);
  }

  // The menu's outline (TMenuOutline); its commands' offsets and pictures kept.
  std::string Outline(HMENU from) {
    TMenuOutline outline(*handler.Get(), kFirst);
    std::string text = outline.Read(from);
    for (auto& [caption, id] : outline.Ids) ids[caption] = id;
    bitmaps.insert(bitmaps.end(), outline.Bitmaps.begin(), outline.Bitmaps.end());
    return text;
  }

  // Our handler for files given by wide paths in one folder, asked for its items; the
  // folder's own data object, or a dropped-file list for a folder too long for Wine's shell.
  std::string WideMenu(const std::wstring& folder, const std::vector<std::wstring>& paths) {
    handler = ModuleHandler("*");
    if (!handler) return "";
    TComPtr<IShellExtInit> init;
    handler->QueryInterface(IID_IShellExtInit, init.PutVoid());
    TComPtr<IDataObject> data;
    PIDLIST_ABSOLUTE parent = nullptr;
    TDropData dropped(paths);
    if (folder.size() < MAX_PATH) {
      EXPECT_EQ(WideSelection(folder, paths, data, parent), S_OK);
      EXPECT_EQ(init->Initialize(parent, data.Get(), nullptr), S_OK);
    } else {
      EXPECT_EQ(init->Initialize(nullptr, &dropped, nullptr), S_OK);
    }
    CoTaskMemFree(parent);
    if (menu) DestroyMenu(menu);
    menu = CreatePopupMenu();
    handler->QueryContextMenu(menu, 0, kFirst, kFirst + 500, CMF_NORMAL);
    return Outline(menu);
  }

  TRecorded InvokeRecorded(CMINVOKECOMMANDINFOEX& info) {
    return orvane::testing::InvokeRecorded(*handler.Get(), info, kDoneEvent, Output());
  }

  // Starts the item and waits for the recorder's report: folder and command line.
  std::string Invoke(CMINVOKECOMMANDINFOEX& info) {
    TRecorded recorded = InvokeRecorded(info);
    std::string text(recorded.folder.begin(), recorded.folder.end());
    for (const std::wstring& argument : recorded.arguments) text += "\n" + std::string(argument.begin(), argument.end());
    return text;
  }

  static CMINVOKECOMMANDINFOEX Info(const char* verb) { return InvokeInfo(verb); }

  static constexpr UINT kFirst = 100;
  static inline TWin32Registry backend;
  TComPtr<IContextMenu> handler;
  HMENU menu = nullptr;
  std::vector<HBITMAP> bitmaps;
  std::map<std::string, UINT> ids;
};

TEST_F(ShellHostTest, FileShowsAllFilesItemsThenItsOwnTypesWithPicturesAndHints) {
  EXPECT_EQ(Menu("*", {World().folder + "docs\\notes.orvtxt"}),
            "Any file(For every file),Any object,Perceived text,"
            "Text tools[b]{Edit text[b](Edits the text),-,More{Deep}},Broken program");
}

// The result counts the ids used; what does not fit the host's range is left out, and
// with it the submenus and separators it leaves empty or at an edge.
TEST_F(ShellHostTest, TightCommandRangeShowsWhatFits) {
  HRESULT queried = E_FAIL;
  Menu("*", {World().folder + "docs\\notes.orvtxt"}, "", &queried);
  EXPECT_EQ(queried, MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 6));
  struct {
    UINT last;
    std::string outline;
  } cases[] = {
      {kFirst + 3, "Any file(For every file),Any object,Perceived text,Text tools[b]{Edit text[b](Edits the text)}"},
      {kFirst, "Any file(For every file)"},
  };
  for (const auto& c : cases) {
    HMENU tight = CreatePopupMenu();
    AppendMenuA(tight, MF_STRING, 1, "Host's own");
    HRESULT result = handler->QueryContextMenu(tight, 1, kFirst, c.last, CMF_NORMAL);
    EXPECT_EQ(result, MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, c.last - kFirst + 1));
    EXPECT_EQ(Outline(tight), "Host's own," + c.outline);
    DestroyMenu(tight);
  }
}

// A menu that takes none of our entries gets no ids counted, and the handler keeps what
// the last good query gave: its commands still start what they showed.
TEST_F(ShellHostTest, QueryTheMenuRefusesLeavesTheHandlerAsTheLastGoodOne) {
  const std::string file = World().folder + "docs\\notes.orvtxt";
  Menu("*", {file});
  HMENU gone = CreatePopupMenu();
  DestroyMenu(gone);
  EXPECT_EQ(handler->QueryContextMenu(gone, 0, kFirst, kFirst + 500, CMF_NORMAL),
            MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0));
  char hint[64] = {};
  EXPECT_EQ(handler->GetCommandString(ids["Any file"], GCS_HELPTEXTA, nullptr, hint, sizeof hint), S_OK);
  EXPECT_STREQ(hint, "For every file");
  auto info = Info(MAKEINTRESOURCEA(ids["Any file"]));
  TRecorded recorded = InvokeRecorded(info);
  ASSERT_EQ(recorded.arguments.size(), 4u);
  EXPECT_TRUE(recorded.arguments[3] == Wide(file));
}

TEST_F(ShellHostTest, NewestVersionOfTheTypeAndUnknownFiles) {
  EXPECT_EQ(Menu("*", {World().folder + "docs\\report.orvdoc"}), "Any file(For every file),Any object,Newest document,Batch");
  EXPECT_EQ(Menu("*", {World().folder + "docs\\plain.orvnone"}), "Any file(For every file),Any object");
}

// Several objects of different types: only what fits each of them.
TEST_F(ShellHostTest, MixedSelectionShowsTheSharedTypes) {
  EXPECT_EQ(Menu("*", {World().folder + "docs\\notes.orvtxt", World().folder + "docs\\report.orvdoc"}),
            "Any file(For every file),Any object");
}

TEST_F(ShellHostTest, FoldersAndTheBackground) {
  EXPECT_EQ(Menu("Directory", {World().folder + "docs"}), "Any object,Folder item[b]");
  // Its picture file is too large to be read on a right click.
  EXPECT_EQ(Menu("Directory\\Background", {}, World().folder + "docs"), "Background item");
}

TEST_F(ShellHostTest, MissingOrDamagedMenuFileGivesNoItems) {
  DeleteFileA((World().folder + "Orvane.ini").c_str());
  HRESULT queried = E_FAIL;
  EXPECT_EQ(Menu("*", {World().folder + "docs\\notes.orvtxt"}, "", &queried), "");
  EXPECT_EQ(queried, S_OK);
  std::string damaged = "[Dynamic Items]\r\nCount=2000000000\r\nParent1=1\r\nSubmenu1=1\r\n";
  for (int k = 0; k < 300; ++k) damaged += std::string("\0\xff[]=\r", 6);
  WriteFile(World().folder + "Orvane.ini", damaged);
  EXPECT_EQ(Menu("*", {World().folder + "docs\\notes.orvtxt"}, "", &queried), "");
  EXPECT_EQ(queried, S_OK);
}

TEST_F(ShellHostTest, InvokeStartsTheProgramForTheObjectInItsFolder) {
  const std::string file = World().folder + "docs\\notes.orvtxt";
  Menu("*", {file});
  auto byOffset = Info(MAKEINTRESOURCEA(ids["Any file"]));
  std::string recorded = Invoke(byOffset);
  EXPECT_EQ(recorded.substr(0, recorded.find('\n')), World().folder + "docs");
  EXPECT_NE(recorded.find(file), std::string::npos) << recorded;

  char verb[64] = {};
  ASSERT_EQ(handler->GetCommandString(ids["Deep"], GCS_VERBA, nullptr, verb, sizeof verb), S_OK);
  auto byVerb = Info(verb);
  EXPECT_NE(Invoke(byVerb).find(file), std::string::npos);
  std::wstring wideVerb(verb, verb + std::strlen(verb));
  auto byWideVerb = Info("unused");
  byWideVerb.fMask |= CMIC_MASK_UNICODE;
  byWideVerb.lpVerbW = wideVerb.c_str();
  EXPECT_NE(Invoke(byWideVerb).find(file), std::string::npos);
}

// The recorder's arguments after the event and output names: what "%1" became. Paths
// with blanks, of characters the ANSI code page cannot spell, and longer than 260
// characters reach it whole, character for character.
TEST_F(ShellHostTest, EverySelectedPathReachesTheProgramWhole) {
  const std::wstring base = Wide(World().folder) + L"paths";
  const std::wstring paths[] = {
      base + L"\\My Files\\a b.orvtxt",
      base + L"\\\x041F\x0440\x043E\x0431\x0430\\\x0444\x0430\x0439\x043B.orvtxt",
      base + L"\\" + std::wstring(120, L'l') + L"\\" + std::wstring(120, L'm') + L"\\long name.orvtxt",
  };
  for (const std::wstring& path : paths) {
    MakeFile(path);
    std::wstring folder = path.substr(0, path.rfind(L'\\'));
    EXPECT_NE(WideMenu(folder, {path}).find("Perceived text"), std::string::npos);
    auto info = Info(MAKEINTRESOURCEA(ids["Any file"]));
    TRecorded recorded = InvokeRecorded(info);
    ASSERT_EQ(recorded.arguments.size(), 4u);
    EXPECT_TRUE(recorded.arguments[3] == path) << Utf8(recorded.arguments[3]);
    // A folder too long for a start folder is given by its short name.
    std::wstring started(MAX_PATH * 4, L'\0');
    started.resize(GetLongPathNameW(recorded.folder.c_str(), started.data(), MAX_PATH * 4));
    EXPECT_TRUE(started == folder);
    RemoveFileAndFolders(path, base);
  }
  RemoveDirectoryW(base.c_str());
}

// Through the command interpreter a name is whole; one the interpreter would read as its
// own starts nothing.
TEST_F(ShellHostTest, BatchProgramGetsPlainNamesAndRefusesTheInterpretersCharacters) {
  const std::wstring folder = Wide(World().folder) + L"batch";
  const std::wstring plain = folder + L"\\a b (1).orvdoc";
  MakeFile(plain);
  WideMenu(folder, {plain});
  auto info = Info(MAKEINTRESOURCEA(ids["Batch"]));
  TRecorded recorded = InvokeRecorded(info);
  ASSERT_EQ(recorded.arguments.size(), 4u);
  EXPECT_TRUE(recorded.arguments[3] == plain);
  RemoveFileAndFolders(plain, folder);
  for (const wchar_t* name : {L"a&calc&.orvdoc", L"a%PATH%.orvdoc", L"a^b.orvdoc", L"a!b!.orvdoc"}) {
    const std::wstring path = folder + L"\\" + name;
    MakeFile(path);
    WideMenu(folder, {path});
    auto refused = Info(MAKEINTRESOURCEA(ids["Batch"]));
    DeleteFileA(Output().c_str());
    EXPECT_EQ(handler->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&refused)),
              HRESULT_FROM_WIN32(ERROR_INVALID_NAME));
    RemoveFileAndFolders(path, folder);
  }
  RemoveDirectoryW(folder.c_str());
}

// Above 15 objects the user is asked first; a host that wants no UI gets nothing started.
TEST_F(ShellHostTest, ManyObjectsStartNothingWithoutAsking) {
  const std::wstring folder = Wide(World().folder) + L"many";
  std::vector<std::wstring> paths;
  for (int k = 0; k < 16; ++k) {
    paths.push_back(folder + L"\\f" + std::to_wstring(k) + L".orvtxt");
    MakeFile(paths.back());
  }
  WideMenu(folder, paths);
  auto info = Info(MAKEINTRESOURCEA(ids["Any file"]));
  EXPECT_EQ(handler->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&info)),
            HRESULT_FROM_WIN32(ERROR_CANCELLED));
  for (const std::wstring& path : paths) DeleteFileW(path.c_str());
  RemoveDirectoryW(folder.c_str());
}

// The contract's corners: the plain-size structure, verbs and offsets we never gave,
// each kind of string in buffers too small, and the show state as the host gave it.
TEST_F(ShellHostTest, InvokeAndCommandStringsKeepToTheContract) {
  const std::string file = World().folder + "docs\\notes.orvtxt";
  Menu("*", {file});
  CMINVOKECOMMANDINFO plain{};
  plain.cbSize = sizeof plain;
  plain.fMask = CMIC_MASK_FLAG_NO_UI;
  plain.nShow = SW_HIDE;
  for (const char* verb : {"OrvaneItem999", "open", "OrvaneItem"}) {
    plain.lpVerb = verb;
    EXPECT_EQ(handler->InvokeCommand(&plain), E_INVALIDARG) << verb;
  }
  plain.lpVerb = MAKEINTRESOURCEA(6);
  EXPECT_EQ(handler->InvokeCommand(&plain), E_INVALIDARG);
  auto extended = Info(MAKEINTRESOURCEA(ids["Any file"]));
  extended.cbSize = sizeof(CMINVOKECOMMANDINFO);  // the plain size: no wide fields read
  extended.fMask |= CMIC_MASK_UNICODE;
  TRecorded recorded = InvokeRecorded(extended);
  ASSERT_EQ(recorded.arguments.size(), 4u);
  EXPECT_TRUE(recorded.arguments[3] == Wide(file));
  EXPECT_TRUE(recorded.show == L"0") << "SW_HIDE is a show state";

  const UINT any = ids["Any file"];
  EXPECT_EQ(handler->GetCommandString(any, GCS_VALIDATEA, nullptr, nullptr, 0), S_OK);
  EXPECT_EQ(handler->GetCommandString(any, GCS_VALIDATEW, nullptr, nullptr, 0), S_OK);
  EXPECT_EQ(handler->GetCommandString(6, GCS_VALIDATEA, nullptr, nullptr, 0), S_FALSE);
  EXPECT_EQ(handler->GetCommandString(6, GCS_VALIDATEW, nullptr, nullptr, 0), S_FALSE);
  char text[64] = {};
  EXPECT_EQ(handler->GetCommandString(6, GCS_HELPTEXTA, nullptr, text, sizeof text), E_INVALIDARG);
  EXPECT_EQ(handler->GetCommandString(any, 0x77, nullptr, text, sizeof text), E_INVALIDARG);
  EXPECT_EQ(handler->GetCommandString(any, GCS_HELPTEXTA, nullptr, text, 5), S_OK);
  EXPECT_STREQ(text, "For ");
  wchar_t wide[64] = {};
  EXPECT_EQ(handler->GetCommandString(any, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(wide), 5), S_OK);
  EXPECT_STREQ(wide, L"For ");
  ASSERT_EQ(handler->GetCommandString(any, GCS_VERBA, nullptr, text, sizeof text), S_OK);
  const std::string verb = text;
  ASSERT_EQ(handler->GetCommandString(any, GCS_VERBW, nullptr, reinterpret_cast<char*>(wide), 64), S_OK);
  EXPECT_TRUE(std::wstring(wide) == Wide(verb));
  // A verb cut short would name another item.
  const UINT size = static_cast<UINT>(verb.size());
  EXPECT_TRUE(FAILED(handler->GetCommandString(any, GCS_VERBA, nullptr, text, size)));
  EXPECT_TRUE(FAILED(handler->GetCommandString(any, GCS_VERBW, nullptr, reinterpret_cast<char*>(wide), size)));
  EXPECT_EQ(handler->GetCommandString(any, GCS_VERBA, nullptr, text, size + 1), S_OK);
}

TEST_F(ShellHostTest, ProgramThatCannotStartFailsQuietlyWhenAskedForNoUi) {
  Menu("*", {World().folder + "docs\\notes.orvtxt"});
  auto info = Info(MAKEINTRESOURCEA(ids["Broken program"]));
  HRESULT result = handler->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&info));
  EXPECT_TRUE(result == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND) ||
              result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND))
      << std::hex << result;
}

// An icon file whose directory claims more images than it holds makes the system's
// extraction read past its end (a crash of the host where nothing lies behind it); it
// gives no picture, and a sound icon file beside it still does.
TEST_F(ShellHostTest, DamagedIconFileGivesNoPicture) {
  const std::string damaged = World().folder + "damaged.ico";
  DeleteFileA(damaged.c_str());  // the program's side extracts icons too
  TProgramMenu program;
  TDynamicMenuItem* item = program.Item(program.Type("*"), "Damaged icon", "%1");
  item->SetIconFile(damaged);
  item->SetIconIndex(0);
  TDynamicMenuItem* sound = program.Item(program.Type("*"), "Sound icon", "%1");
  sound->SetIconFile("shell32.dll");
  sound->SetIconIndex(3);
  ApplyDynamicMenu(program.menu, World().folder + "Orvane.ini", DefaultFileAccess());
  // The program keeps no index for a file that was missing; the file names one anyway.
  std::string text = ReadFileBytes(World().folder + "Orvane.ini");
  const std::string noIndex = damaged + "\r\nIconIndex1=-1";
  ASSERT_NE(text.find(noIndex), std::string::npos) << text;
  text.replace(text.find(noIndex), noIndex.size(), damaged + "\r\nIconIndex1=0");
  WriteFile(World().folder + "Orvane.ini", text);
  WriteFile(damaged, std::string("\0\0\1\0\xff\xff\x10\x10\0\0\1\0\x20\0\x28\0\0\0\x16\0\0\0", 22) +
                         std::string(40, '\x7f'));
  const std::string log = World().folder + "OVShlExt.log";
  DeleteFileA(log.c_str());
  EXPECT_EQ(Menu("*", {World().folder + "docs\\notes.orvtxt"}), "Damaged icon,Sound icon[b]");
  // Refused before the extraction, which may read past the end unseen.
  EXPECT_NE(ReadFileBytes(log).find("not a sound icon file: " + damaged), std::string::npos)
      << ReadFileBytes(log);
  DeleteFileA(damaged.c_str());
}

// The program's About window and error report show it: the program's own version.
TEST_F(ShellHostTest, ModuleCarriesTheProductsFileVersion) {
  TModuleVersion version = GetModuleVersion(World().module);
  EXPECT_TRUE(version.Valid);
  EXPECT_EQ(version.FileVersion, ORVANE_VERSION_TEXT);
  EXPECT_EQ(version.ProductName, ORVANE_PRODUCT_NAME);
}

TEST_F(ShellHostTest, RegistrationThenUnregistrationLeavesTheRegistryAsItWas) {
  ASSERT_EQ(CallModule("DllUnregisterServer"), S_OK);
  std::string before = RegistrySnapshot();
  ASSERT_EQ(CallModule("DllRegisterServer"), S_OK);
  EXPECT_NE(RegistrySnapshot(), before);
  ASSERT_EQ(CallModule("DllUnregisterServer"), S_OK);
  EXPECT_EQ(RegistrySnapshot(), before);
  ASSERT_EQ(CallModule("DllRegisterServer"), S_OK);  // for TearDown
}

// Pictures are decoded once and kept with the menu file's reading: they outlive the
// handler (the host's menu may still show them), repeated queries share them, and they go
// with the module.
// A module whose path is longer than 260 characters registers that path whole.
TEST_F(ShellHostTest, RegistrationWritesTheModulesWholePath) {
  const std::wstring base = Wide(World().folder) + L"deep";
  const std::wstring path = base + L"\\" + std::wstring(150, L'd') + L"\\" + std::wstring(150, L'e') +
                            L"\\OVShlExtLong.DLL";
  MakeFile(path);
  ASSERT_TRUE(CopyFileW(Wide(World().module).c_str(), path.c_str(), FALSE));
  HMODULE module = LoadLibraryW(path.c_str());
  ASSERT_NE(module, nullptr);
  auto entry = reinterpret_cast<HRESULT(WINAPI*)()>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry(), S_OK);
  FreeLibrary(module);
  char value[1024] = {};
  LONG size = sizeof value;
  RegQueryValueA(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + kClassId + "\\InProcServer32").c_str(),
                 value, &size);
  EXPECT_TRUE(Wide(value) == path) << value;
  ASSERT_EQ(CallModule("DllRegisterServer"), S_OK);  // the tests' module again
  RemoveFileAndFolders(path, base);
  RemoveDirectoryW(base.c_str());
}

TEST_F(ShellHostTest, ManyRightClicksLeaveNoHandlesBehindAndTheModuleUnloads) {
  const std::string file = World().folder + "docs\\notes.orvtxt";
  Menu("*", {file});  // first use loads what stays loaded (shell32's icons, the module)
  handler.Reset();
  DestroyMenu(menu);
  menu = nullptr;
  ASSERT_FALSE(bitmaps.empty());
  for (HBITMAP bitmap : bitmaps) EXPECT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
  DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  DWORD handles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  for (int k = 0; k < 1000; ++k) {
    ids.clear();
    Menu("*", {file});
    handler.Reset();
    DestroyMenu(menu);
    menu = nullptr;
  }
  // One handler asked again and again, as a host showing its menu twice does.
  Menu("*", {file});
  for (int k = 0; k < 100; ++k) {
    HMENU again = CreatePopupMenu();
    EXPECT_EQ(handler->QueryContextMenu(again, 0, kFirst, kFirst + 500, CMF_NORMAL),
              MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 6));
    DestroyMenu(again);
  }
  handler.Reset();
  DestroyMenu(menu);
  menu = nullptr;
  DWORD handlesAfter = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi);
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user);
  EXPECT_EQ(handlesAfter, handles);
  // Nothing holds the module any more: COM may unload it (the second call unloads), and
  // its pictures go with it.
  CoFreeUnusedLibrariesEx(0, 0);
  CoFreeUnusedLibrariesEx(0, 0);
  EXPECT_EQ(GetModuleHandleA(World().module.c_str()), nullptr);
  for (HBITMAP bitmap : bitmaps) EXPECT_EQ(GetObjectType(bitmap), 0u);
}

}  // namespace
}  // namespace orvane::testing
