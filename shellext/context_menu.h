#pragma once
// The context menu handler the file manager creates for each right click: it learns the
// selection (IShellExtInit), adds the dynamic items of its types (IContextMenu) and
// starts an item's program for each selected object. Pictures stay with the cached menu
// file they belong to.

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/win32_handles.h"
#include "shellext/module_state.h"
#include "shellext/selection_reader.h"

namespace orvane {

class TMenuDrawing;

class TContextMenu final : public IShellExtInit, public IContextMenu3 {
public:
  TContextMenu();
  TContextMenu(const TContextMenu&) = delete;
  TContextMenu& operator=(const TContextMenu&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IShellExtInit
  HRESULT STDMETHODCALLTYPE Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data,
                                       HKEY progId) override;
  // IContextMenu
  HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT index, UINT firstCommand,
                                             UINT lastCommand, UINT flags) override;
  HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* info) override;
  HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR command, UINT type, UINT* reserved,
                                             CHAR* name, UINT size) override;
  // IContextMenu2, IContextMenu3: the items the module draws itself
  HRESULT STDMETHODCALLTYPE HandleMenuMsg(UINT message, WPARAM wParam, LPARAM lParam) override;
  HRESULT STDMETHODCALLTYPE HandleMenuMsg2(UINT message, WPARAM wParam, LPARAM lParam,
                                           LRESULT* result) override;

private:
  ~TContextMenu();
  HRESULT Invoke(int command, const CMINVOKECOMMANDINFO& info);
  int CommandOfVerb(const std::string& verb) const;

  std::atomic<ULONG> references_{1};
  TSelection selection_;
  // The file the commands' records belong to, kept as long as the commands are.
  std::shared_ptr<const TCachedMenu> file_;
  std::vector<const TDynamicItemRecord*> commands_;
  // The entries of the menu drawn here; null while the system draws them all.
  std::unique_ptr<TMenuDrawing> drawing_;
};

}  // namespace orvane
