// The Submenu Items page on large menus, in the real main window under Wine: a menu file
// of 1,000 dynamic entries over 50 file types (in each type items, a separator and
// submenus three deep, one item in five with an icon: a PNG file or one of shell32's).
// Filling the page (the menu file read again, the tree rebuilt and painted) is compared
// with the same nodes put into a bare tree view of the same size (emptied first, redraw
// off meanwhile, painted after); Apply with nothing changed against that fill, checked to
// write and register nothing; and Open... of a 10,000-entry file, in milliseconds.

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/shell_ext_switch.h"
#include "app/submenu_items_page.h"
#include "bench/bench_timing.h"
#include "controls/application.h"
#include "filetypes/file_types.h"
#include "filetypes/predefined_types.h"
#include "menus/dynamic_menu.h"
#include "menus/file_type_category.h"
#include "menus/menu_file_io.h"
#include "platform/file_access.h"
#include "platform/file_system.h"
#include "platform/icon_source.h"
#include "platform/memory_clipboard.h"
#include "platform/memory_registry.h"
#include "platform/process_runner.h"
#include "platform/reg_text.h"
#include "platform/services.h"
#include "platform/system_folders.h"
#include "platform/system_info.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/window_helpers.h"
#include "tests/support/png_writer.h"

using namespace orvane;

namespace {

constexpr int kTypes = 50;
constexpr int kRounds = 7;
constexpr int kOpenRounds = 5;

std::string TypeName(int t) { return "ovbfile" + std::to_string(t); }

std::string ReadBytes(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The registration tool never runs: the bench's switch registers in memory only.
class TNoRunner : public IProcessRunner {
public:
  TProcessResult Run(const std::string&, const std::string&, std::uint32_t) override {
    return {TProcessResult::TEnd::Exited, 0, ""};
  }
};

// 20 entries a type for each repeat: five items and a submenu; in it four items, a
// separator and a submenu; in that three items and a submenu of four items.
void WriteMenuFile(const std::string& file, int repeats, const std::string& png,
                   const std::string& shell32) {
  TFileTypes types;
  for (int t = 0; t < kTypes; ++t) {
    TFileType* type = types.Add();
    type->SetName(TypeName(t));
    type->SetDescription("Bench type " + std::to_string(t));
  }
  TDynamicMenu menu{&types, TItemImageSources{DefaultIconSource(), DefaultFileAccess()}};
  int entry = 0;
  auto item = [&](TTreeItems& list) {
    auto* added = static_cast<TDynamicMenuItem*>(menu.List().AddFirstItem(list));
    ++entry;
    added->SetCaption("Entry " + std::to_string(entry));
    added->SetApplication("C:\\windows\\notepad.exe");
    added->SetParameters("\"%1\"");
    added->SetHint("Hint of entry " + std::to_string(entry));
    if (entry % 5 == 0) {
      added->SetIconFile(entry % 10 == 0 ? png : shell32);
      added->SetIconIndex(entry % 10 == 0 ? 0 : entry % 30);
    }
    return added;
  };
  auto submenu = [&](TTreeItems& list) {
    auto* added = static_cast<TDynamicSubMenu*>(menu.List().AddSubMenu(list));
    added->SetCaption("Submenu " + std::to_string(++entry));
    return added;
  };
  for (int t = 0; t < kTypes; ++t) {
    TTreeItems& top = menu.List().FindOrAddCategory(types.FindByName(TypeName(t)))->Items();
    for (int r = 0; r < repeats; ++r) {
      for (int k = 0; k < 5; ++k) item(top);
      TTreeItems& first = submenu(top)->Items();
      for (int k = 0; k < 4; ++k) item(first);
      item(first)->SetSeparator(true);
      TTreeItems& second = submenu(first)->Items();
      for (int k = 0; k < 3; ++k) item(second);
      TTreeItems& third = submenu(second)->Items();
      for (int k = 0; k < 4; ++k) item(third);
    }
  }
  DeleteFileA(file.c_str());
  ApplyDynamicMenu(menu, file, DefaultFileAccess());
}

// One node of the page's tree as the bare tree gets it: its parent's place in the list
// (-1 at the top), its text, expanded or not.
struct TBareNode {
  int Parent;
  std::string Text;
  bool Expanded;
};

void Collect(TAdvTreeView& tree, TTreeNode node, int parent, std::vector<TBareNode>& nodes) {
  for (; node; node = tree.NextSibling(node)) {
    nodes.push_back({parent, tree.NodeText(node), tree.Expanded(node)});
    Collect(tree, tree.FirstChild(node), static_cast<int>(nodes.size()) - 1, nodes);
  }
}

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  return DefWindowProcA(window, message, w, l);
}

// A plain window with the system's tree view, as large as the page's.
class TBareTree {
public:
  TBareTree(const RECT& bounds) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "OrvaneBareTree";
    RegisterClassA(&windowClass);
    window_.reset(CreateWindowExA(0, "OrvaneBareTree", "Bare tree", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  0, 0, bounds.right - bounds.left + 40,
                                  bounds.bottom - bounds.top + 60, nullptr, nullptr,
                                  windowClass.hInstance, nullptr));
    tree_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                            WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                                TVS_SHOWSELALWAYS,
                            8, 8, bounds.right - bounds.left, bounds.bottom - bounds.top,
                            window_.get(), nullptr, windowClass.hInstance, nullptr);
  }

  void Fill(const std::vector<TBareNode>& nodes) {
    SendMessageA(tree_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    std::vector<HTREEITEM> handles;
    handles.reserve(nodes.size());
    for (const TBareNode& node : nodes) {
      TVINSERTSTRUCTA insert{};
      insert.hParent = node.Parent < 0 ? TVI_ROOT : handles[node.Parent];
      insert.hInsertAfter = TVI_LAST;
      insert.item.mask = TVIF_TEXT | TVIF_PARAM;
      insert.item.pszText = const_cast<char*>(node.Text.c_str());
      insert.item.lParam = static_cast<LPARAM>(handles.size());
      handles.push_back(reinterpret_cast<HTREEITEM>(
          SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert))));
    }
    for (size_t i = 0; i < nodes.size(); ++i)
      if (nodes[i].Expanded) SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(handles[i]));
    SendMessageA(tree_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree_, nullptr, TRUE);
    UpdateWindow(tree_);
  }

  int Count() const { return static_cast<int>(SendMessageA(tree_, TVM_GETCOUNT, 0, 0)); }

private:
  TWindowHandle window_;
  HWND tree_ = nullptr;  // a child: goes with the window
};

}  // namespace

int main(int argc, char** argv) {
  const std::string suffix = bench::Argument(argc, argv, "suffix");
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "orvane-submenu-bench-" +
                             std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string png = folder + "star.png", menuFile = folder + "Orvane.ini",
                    largeFile = folder + "large.ini", shell32 = WindowsFolder() + "System32\\shell32.dll";
  std::vector<std::uint8_t> pixels(16 * 16 * 4, 0xC0);
  std::ofstream(png, std::ios::binary) << testing::EncodePng(16, 16, pixels);
  WriteMenuFile(menuFile, 1, png, shell32);
  WriteMenuFile(largeFile, 10, png, shell32);

  SetPlatformClass(pcXP);
  SetShellVersion(0x60000);
  BuildPredefinedTable();
  TMemoryRegistry registry;
  std::string classes = "REGEDIT4\n\n";
  for (int t = 0; t < kTypes; ++t)
    classes += "[HKEY_CLASSES_ROOT\\.ovb" + std::to_string(t) + "]\n@=\"" + TypeName(t) +
               "\"\n[HKEY_CLASSES_ROOT\\" + TypeName(t) + "]\n@=\"Bench type " + std::to_string(t) +
               "\"\n";
  ImportRegText(registry, classes);
  TMemoryClipboard clipboard;
  const TServices services{registry,  DefaultFileAccess(),     DefaultFileSystem(), DefaultIconSource(),
                           clipboard, DefaultModuleVersions(), WindowsFolder(),     ProgramFolder(),
                           ProgramFolder()};
  int boxes = 0, registrations = 0;
  TMessageBoxAnswers answers([&](const std::string& text, const std::string&, UINT) {
    ++boxes;
    std::fprintf(stderr, "message: %s\n", text.c_str());
    return IDOK;
  });
  TNoRunner runner;
  TMainFormSettings settings;
  settings.MenuFile = menuFile;
  settings.LogFile = folder + "log.txt";
  settings.ShellExt = std::make_shared<TShellExtSwitch>(
      TShellExtSystem{registry, DefaultFileSystem(), runner, "regsvr32.exe", false,
                      [&](const std::string&, bool) { ++registrations; }},
      folder);
  auto form = std::make_unique<TfrmMain>(nullptr, services, settings);
  Application().SetMainForm(form.get());
  form->Show();
  Application().ProcessMessages();
  TSubmenuItemsPage& page = form->SubmenuPage();
  page.ShowShellExtState(true);
  form->pgcMain.SetActivePage(&form->tshtActiveXMenus);
  form->IdleUpdate();
  Application().ProcessMessages();

  std::vector<TBareNode> nodes;
  Collect(page.tvXMenu, page.tvXMenu.FirstNode(), -1, nodes);
  TBareTree bare(page.tvXMenu.BoundsRect());
  const std::string written = ReadBytes(menuFile);

  bench::TSamples fills, bareFills, applies;
  bench::Interleave(kRounds, {{&fills, [&] {
                                 return bench::Seconds([&] {
                                   page.LoadDynamicMenu(menuFile, false);
                                   UpdateWindow(page.tvXMenu.Handle());
                                 });
                               }},
                              {&bareFills, [&] { return bench::Seconds([&] { bare.Fill(nodes); }); }},
                              {&applies, [&] { return bench::Seconds([&] { form->ApplyChanges(); }); }}});
  const int pageNodes = page.tvXMenu.Count();
  const bool untouched = ReadBytes(menuFile) == written && registrations == 0;

  // Where a fill goes: the menu file read into a menu of its own, and the page's tree
  // rebuilt from the page's menu.
  TDynamicMenu detached(&form->FileTypeList().Items(),
                        TItemImageSources{DefaultIconSource(), DefaultFileAccess()});
  bench::TSamples models, rebuilds, clears, adds;
  bench::Interleave(kRounds, {{&clears, [&] {
                                 return bench::Seconds([&] {
                                   page.tvXMenu.BeginUpdate();
                                   page.tvXMenu.Clear();
                                   page.tvXMenu.EndUpdate();
                                 });
                               }},
                              {&adds, [&] {
                                 return bench::Seconds([&] {
                                   RebuildTree(form->DynamicMenu(), page.tvXMenu, nullptr, nullptr);
                                 });
                               }},
                              {&models, [&] {
                                 return bench::Seconds(
                                     [&] { RevertDynamicMenu(detached, menuFile, DefaultFileAccess()); });
                               }},
                              {&rebuilds, [&] {
                                 return bench::Seconds([&] {
                                   page.Rebuild();
                                   UpdateWindow(page.tvXMenu.Handle());
                                 });
                               }}});
  std::printf("fill: menu file read %.4f s, tree rebuilt %.4f s (emptied %.4f s, refilled %.4f s)\n",
              models.Median(), rebuilds.Median(), clears.Median(), adds.Median());
  bench::TSamples opens;
  for (int round = 0; round < kOpenRounds; ++round)
    opens.Values.push_back(1000 * bench::Seconds([&] {
                             page.LoadDynamicMenu(largeFile, true);
                             UpdateWindow(page.tvXMenu.Handle());
                           }));
  const int largeNodes = page.tvXMenu.Count();

  std::printf("page %d nodes (bare tree %d), fill %.4f s, bare %.4f s, apply %.6f s; Apply "
              "unchanged %s; 10,000-entry file %d nodes; %d messages\n",
              pageNodes, bare.Count(), fills.Median(), bareFills.Median(), applies.Median(),
              untouched ? "wrote and registered nothing" : "WROTE OR REGISTERED", largeNodes, boxes);
  bench::PrintRatio("submenu.fill_1000_vs_bare_tree" + suffix, bench::Ratios(fills, bareFills));
  bench::PrintRatio("submenu.apply_unchanged_vs_fill" + suffix, bench::Ratios(applies, fills));
  bench::PrintValue("submenu.open_10000" + suffix, opens, "ms");

  // Nothing to ask on closing: the large menu is dropped.
  form->DynamicMenu().ClearModified();
  Application().SetMainForm(nullptr);
  form.reset();
  for (const std::string& file : {png, menuFile, largeFile, folder + "log.txt"}) DeleteFileA(file.c_str());
  RemoveDirectoryA(folder.c_str());
  return untouched ? 0 : 1;
}
