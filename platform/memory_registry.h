#pragma once
// A registry held in memory: keys with typed values, names compared without case,
// enumeration in insertion order. It answers with the error codes advapi32 gives and
// can be told to refuse access or fail chosen operations, so that the logic above it
// can be tested on every failure path.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/registry_backend.h"

namespace orvane {

class TMemoryRegistry : public IRegistryBackend {
public:
  enum class Op {
    Open,
    Create,
    QueryValue,
    SetValue,
    EnumKey,
    EnumValue,
    QueryInfo,
    DeleteKey,
    DeleteValue,
    Flush
  };

  TMemoryRegistry();
  ~TMemoryRegistry() override;
  TMemoryRegistry(const TMemoryRegistry&) = delete;
  TMemoryRegistry& operator=(const TMemoryRegistry&) = delete;

  ErrorCode OpenKey(HKey parent, const std::string& subKey, std::uint32_t access,
                    HKey& result) override;
  ErrorCode CreateKey(HKey parent, const std::string& subKey, std::uint32_t access,
                      HKey& result) override;
  ErrorCode CloseKey(HKey key) override;
  ErrorCode QueryValue(HKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                       std::uint32_t* size) override;
  ErrorCode SetValue(HKey key, const std::string& name, std::uint32_t type,
                     const std::uint8_t* data, std::uint32_t size) override;
  ErrorCode EnumKey(HKey key, std::uint32_t index, std::string& name) override;
  ErrorCode EnumValue(HKey key, std::uint32_t index, std::string& name) override;
  ErrorCode QueryInfoKey(HKey key, TRegKeyInfo& info) override;
  ErrorCode DeleteKey(HKey parent, const std::string& subKey) override;
  ErrorCode DeleteValue(HKey key, const std::string& name) override;
  ErrorCode FlushKey(HKey key) override;
  ErrorCode LastError() const override { return lastError_; }
  void SetLastError(ErrorCode code) override { lastError_ = code; }
  std::string ErrorMessage(ErrorCode code) const override;

  // Test switches. Keys are named by full path ("HKEY_CLASSES_ROOT\txtfile"), ignoring
  // case, whether or not they exist yet.
  // Opening the key with any right outside `allowed` is refused with kErrorAccessDenied;
  // deleting it needs the DELETE right (0x10000).
  void SetKeyRights(const std::string& keyPath, std::uint32_t allowed);
  void DenyAccess(const std::string& keyPath) { SetKeyRights(keyPath, 0); }
  // `op` on the key (an empty path: on every key) fails with `code`, `times` times
  // (-1: until cleared).
  void FailOperation(Op op, const std::string& keyPath, ErrorCode code, int times = -1);
  void ClearFailures();
  // Two registry views, as 64-bit Windows 7 and later keep them: a key reached from a
  // root key with kKeyWow64_32Key is redirected as WOW64 does (HKEY_CLASSES_ROOT\CLSID,
  // \Interface, \DirectShow, \Media Type and \MediaFoundation to "Wow6432Node" below the
  // classes; HKEY_LOCAL_MACHINE\Software to Software\Wow6432Node, except its Classes,
  // which follow the classes' rules); the rest of the classes is shared. Without a view
  // flag, or with kKeyWow64_64Key, a key is in the 64-bit view. Off by default: one view.
  void UseTwoViews() { twoViews_ = true; }
  ErrorCode DeleteKeyInView(HKey parent, const std::string& subKey, std::uint32_t view) override;

  // Handles opened and not yet closed: a leak shows here.
  std::size_t OpenHandleCount() const { return handles_.size(); }

  // The Windows wording of a system error, for the codes the registry gives.
  static std::string SystemErrorText(ErrorCode code);

private:
  struct Node;
  struct Handle {
    std::shared_ptr<Node> node;
    std::uint32_t access;
  };
  struct Failure {
    Op op;
    std::string path;  // upper case; empty for every key
    ErrorCode code;
    int times;
  };

  ErrorCode Resolve(HKey key, std::uint32_t needed, Node*& node) const;
  static ErrorCode Walk(Node* from, const std::vector<std::string>& parts, bool create,
                        Node*& node);
  static std::string UpperPath(const Node* from, const std::vector<std::string>& parts);
  ErrorCode Injected(Op op, const Node* from, const std::vector<std::string>& parts);
  std::uint32_t RightsOf(const Node* from, const std::vector<std::string>& parts) const;
  HKey NewHandle(Node* node, std::uint32_t access);
  void Redirect(const Node* from, std::vector<std::string>& parts, std::uint32_t access) const;

  std::vector<std::shared_ptr<Node>> roots_;
  std::unordered_map<HKey, Handle> handles_;
  HKey nextHandle_ = 0x1000;
  std::map<std::string, std::uint32_t> rights_;
  std::vector<Failure> failures_;
  ErrorCode lastError_ = kErrorSuccess;
  bool twoViews_ = false;
};

}  // namespace orvane
