#include "platform/memory_registry.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/ansi_case.h"
#include "platform/messages.h"
#include "platform/root_keys.h"

namespace orvane {
namespace {

constexpr std::uint32_t kDeleteRight = 0x00010000;
constexpr std::uint32_t kAllRights = 0xFFFFFFFF;

std::uint64_t NowFileTime() {
  // 100 ns intervals between 1601-01-01 and 1970-01-01.
  constexpr std::uint64_t kEpochOffset = 116444736000000000ULL;
  auto since1970 = std::chrono::system_clock::now().time_since_epoch();
  auto ticks = std::chrono::duration_cast<std::chrono::nanoseconds>(since1970).count() / 100;
  return kEpochOffset + static_cast<std::uint64_t>(ticks);
}

// Key path components; runs of separators count as one, as the system parses them.
bool SplitComponents(const std::string& subKey, std::vector<std::string>& parts) {
  if (!subKey.empty() && subKey[0] == '\\') return false;
  size_t i = 0;
  while (i < subKey.size()) {
    size_t sep = subKey.find('\\', i);
    if (sep == std::string::npos) sep = subKey.size();
    if (sep > i) parts.emplace_back(subKey, i, sep - i);
    i = sep + 1;
  }
  return true;
}

}  // namespace

struct TMemoryRegistry::Node : std::enable_shared_from_this<Node> {
  struct Value {
    std::string name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
  };

  std::string name;
  Node* parent = nullptr;
  bool deleted = false;
  std::uint64_t writeTime = NowFileTime();
  std::vector<std::shared_ptr<Node>> children;
  std::unordered_map<std::string, Node*> childIndex;  // by upper-case name
  std::vector<Value> values;

  Node* Child(const std::string& childName) const {
    auto it = childIndex.find(AnsiUpperCase(childName));
    return it == childIndex.end() ? nullptr : it->second;
  }
  Value* FindValue(const std::string& valueName) {
    for (auto& v : values) {
      if (AnsiSameText(v.name, valueName)) return &v;
    }
    return nullptr;
  }
  std::string Path() const { return parent ? parent->Path() + "\\" + name : name; }
  void Touch() { writeTime = NowFileTime(); }
};

TMemoryRegistry::TMemoryRegistry() {
  for (HKey root = kHkeyClassesRoot; root <= kHkeyDynData; ++root) {
    auto node = std::make_shared<Node>();
    node->name = PredefinedRootName(root);
    roots_.push_back(node);
  }
}

TMemoryRegistry::~TMemoryRegistry() = default;

ErrorCode TMemoryRegistry::Resolve(HKey key, std::uint32_t needed, Node*& node) const {
  if (key >= kHkeyClassesRoot && key <= kHkeyDynData) {
    node = roots_[key - kHkeyClassesRoot].get();
    return kErrorSuccess;
  }
  auto it = handles_.find(key);
  if (it == handles_.end()) return kErrorInvalidHandle;
  if (it->second.node->deleted) return kErrorKeyDeleted;
  if ((it->second.access & needed) != needed) return kErrorAccessDenied;
  node = it->second.node.get();
  return kErrorSuccess;
}

ErrorCode TMemoryRegistry::Walk(Node* from, const std::vector<std::string>& parts, bool create,
                                Node*& node) {
  Node* current = from;
  for (const auto& part : parts) {
    Node* next = current->Child(part);
    if (!next) {
      if (!create) return kErrorFileNotFound;
      auto child = std::make_shared<Node>();
      child->name = part;
      child->parent = current;
      current->childIndex[AnsiUpperCase(part)] = child.get();
      current->children.push_back(std::move(child));
      current->Touch();
      next = current->children.back().get();
    }
    current = next;
  }
  node = current;
  return kErrorSuccess;
}

std::string TMemoryRegistry::UpperPath(const Node* from, const std::vector<std::string>& parts) {
  std::string path = from->Path();
  for (const auto& part : parts) path += "\\" + part;
  return AnsiUpperCase(path);
}

ErrorCode TMemoryRegistry::Injected(Op op, const Node* from,
                                    const std::vector<std::string>& parts) {
  if (failures_.empty()) return kErrorSuccess;
  const std::string upperPath = UpperPath(from, parts);
  for (auto it = failures_.begin(); it != failures_.end(); ++it) {
    if (it->op != op || (!it->path.empty() && it->path != upperPath)) continue;
    ErrorCode code = it->code;
    if (it->times > 0 && --it->times == 0) failures_.erase(it);
    return code;
  }
  return kErrorSuccess;
}

std::uint32_t TMemoryRegistry::RightsOf(const Node* from,
                                        const std::vector<std::string>& parts) const {
  if (rights_.empty()) return kAllRights;
  auto it = rights_.find(UpperPath(from, parts));
  return it == rights_.end() ? kAllRights : it->second;
}

void TMemoryRegistry::Redirect(const Node* from, std::vector<std::string>& parts,
                                std::uint32_t access) const {
  if (!twoViews_ || from->parent || !(access & kKeyWow64_32Key)) return;
  static const char* const kRedirectedClasses[] = {"CLSID", "Interface", "DirectShow", "Media Type",
                                                   "MediaFoundation"};
  auto classesAt = [&](std::size_t at) {
    if (parts.size() <= at) return;
    for (const char* name : kRedirectedClasses)
      if (AnsiSameText(parts[at], name)) {
        parts.insert(parts.begin() + static_cast<std::ptrdiff_t>(at), "Wow6432Node");
        return;
      }
  };
  const std::string& root = from->name;
  bool software = !parts.empty() && AnsiSameText(parts[0], "Software");
  if (root == PredefinedRootName(kHkeyClassesRoot)) {
    classesAt(0);
  } else if (software && parts.size() > 1 && AnsiSameText(parts[1], "Classes")) {
    if (root == PredefinedRootName(kHkeyLocalMachine) || root == PredefinedRootName(kHkeyCurrentUser))
      classesAt(2);
  } else if (software && root == PredefinedRootName(kHkeyLocalMachine) &&
             !(parts.size() > 1 && AnsiSameText(parts[1], "Wow6432Node"))) {
    parts.insert(parts.begin() + 1, "Wow6432Node");
  }
}

HKey TMemoryRegistry::NewHandle(Node* node, std::uint32_t access) {
  HKey handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = Handle{node->shared_from_this(), access};
  return handle;
}

ErrorCode TMemoryRegistry::OpenKey(HKey parent, const std::string& subKey, std::uint32_t access,
                                   HKey& result) {
  Node* from = nullptr;
  if (ErrorCode rc = Resolve(parent, 0, from)) return rc;
  std::vector<std::string> parts;
  if (!SplitComponents(subKey, parts)) return kErrorBadPathname;
  Redirect(from, parts, access);
  if (ErrorCode rc = Injected(Op::Open, from, parts)) return rc;
  Node* node = nullptr;
  if (ErrorCode rc = Walk(from, parts, false, node)) return rc;
  if ((access & ~kKeyWow64Views & ~RightsOf(from, parts)) != 0) return kErrorAccessDenied;
  result = NewHandle(node, access);
  return kErrorSuccess;
}

ErrorCode TMemoryRegistry::CreateKey(HKey parent, const std::string& subKey, std::uint32_t access,
                                     HKey& result) {
  Node* from = nullptr;
  if (ErrorCode rc = Resolve(parent, 0, from)) return rc;
  std::vector<std::string> parts;
  if (!SplitComponents(subKey, parts)) return kErrorBadPathname;
  Redirect(from, parts, access);
  if (ErrorCode rc = Injected(Op::Create, from, parts)) return rc;
  Node* node = nullptr;
  if (Walk(from, parts, false, node) != kErrorSuccess) {
    // Creating a level needs the right to create subkeys on the handle given.
    Node* check = nullptr;
    if (ErrorCode rc = Resolve(parent, kKeyCreateSubKey, check)) return rc;
  }
  if ((access & ~kKeyWow64Views & ~RightsOf(from, parts)) != 0) return kErrorAccessDenied;
  if (ErrorCode rc = Walk(from, parts, true, node)) return rc;
  result = NewHandle(node, access);
  return kErrorSuccess;
}

ErrorCode TMemoryRegistry::CloseKey(HKey key) {
  if (key >= kHkeyClassesRoot && key <= kHkeyDynData) return kErrorSuccess;
  return handles_.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

ErrorCode TMemoryRegistry::QueryValue(HKey key, const std::string& name, std::uint32_t* type,
                                      std::uint8_t* data, std::uint32_t* size) {
  Node* node = nullptr;
  if (ErrorCode rc = Resolve(key, kKeyQueryValue, node)) return rc;
  if (ErrorCode rc = Injected(Op::QueryValue, node, {})) return rc;
  Node::Value* value = node->FindValue(name);
  if (!value) return kErrorFileNotFound;
  if (type) *type = value->type;
  auto needed = static_cast<std::uint32_t>(value->data.size());
  if (data) {
    if (!size) return kErrorInvalidParameter;
    if (*size < needed) {
      *size = needed;
      return kErrorMoreData;
    }
    if (needed) std::memcpy(data, value->data.data(), needed);
  }
  if (size) *size = needed;
  return kErrorSuccess;
}

ErrorCode TMemoryRegistry::SetValue(HKey key, const std::string& name, std::uint32_t type,
                                    const std::uint8_t* data, std::uint32_t size) {
  Node* node = nullptr;
  if (ErrorCode rc = Resolve(key, kKeySetValue, node)) return rc;
  if (ErrorCode rc = Injected(Op::SetValue, node, {})) return rc;
  if (size && !data) return kErrorInvalidParameter;
  std::vector<std::uint8_t> bytes(data, data + size);
  if (Node::Value* value = node->FindValue(name)) {
    value->type = type;
    value->data = std::move(bytes);
  } else {
    node->values.push_back(Node::Value{name, type, std::move(bytes)});
  }
  node->Touch();
  return kErrorSuccess;
}

ErrorCode TMemoryRegistry::EnumKey(HKey key, std::uint32_t index, std::string& name) {
  Node* node = nullptr;
  if (ErrorCode rc = Resolve(key, kKeyEnumerateSubKeys, node)) return rc;
  if (ErrorCode rc = Injected(Op::EnumKey, node, {})) return rc;
  if (index >= node->children.size()) return kErrorNoMoreItems;
  name = node->children[index]->name;
  return kErrorSuccess;
}

ErrorCode TMemoryRegistry::EnumValue(HKey key, std::uint32_t index, std::string& name) {
  Node* node = nullptr;
  if (ErrorCode rc = Resolve(key, kKeyQueryValue, node)) return rc;
  if (ErrorCode rc = Injected(Op::EnumValue, node, {})) return rc;
  if (index >= node->values.size()) return kErrorNoMoreItems;
  name = node->values[index].name;
  return kErrorSuccess;
}

ErrorCode TMemoryRegistry::QueryInfoKey(HKey key, TRegKeyInfo& info) {
  Node* node = nullptr;
  if (ErrorCode rc = Resolve(key, kKeyQueryValue, node)) return rc;
  if (ErrorCode rc = Injected(Op::QueryInfo, node, {})) return rc;
  info = TRegKeyInfo{};
  info.NumSubKeys = static_cast<std::uint32_t>(node->children.size());
  for (const auto& child : node->children) {
    info.MaxSubKeyLen = std::max(info.MaxSubKeyLen, static_cast<std::uint32_t>(child->name.size()));
  }
  info.NumValues = static_cast<std::uint32_t>(node->values.size());
  for (const auto& value : node->values) {
    info.MaxValueLen = std::max(info.MaxValueLen, static_cast<std::uint32_t>(value.name.size()));
    info.MaxDataLen = std::max(info.MaxDataLen, static_cast<std::uint32_t>(value.data.size()));
  }
  info.FileTime = node->writeTime;
  return kErrorSuccess;
}

ErrorCode TMemoryRegistry::DeleteKey(HKey parent, const std::string& subKey) {
  Node* from = nullptr;
  if (ErrorCode rc = Resolve(parent, 0, from)) return rc;
  std::vector<std::string> parts;
  if (!SplitComponents(subKey, parts)) return kErrorBadPathname;
  Node* node = nullptr;
  if (ErrorCode rc = Walk(from, parts, false, node)) return rc;
  if (ErrorCode rc = Injected(Op::DeleteKey, from, parts)) return rc;
  if (!node->parent || !node->children.empty() || !(RightsOf(from, parts) & kDeleteRight)) {
    return kErrorAccessDenied;
  }
  Node* owner = node->parent;
  owner->childIndex.erase(AnsiUpperCase(node->name));
  auto it = std::find_if(owner->children.begin(), owner->children.end(),
                         [node](const auto& child) { return child.get() == node; });
  node->deleted = true;
  node->parent = nullptr;
  owner->children.erase(it);
  owner->Touch();
  return kErrorSuccess;
}

ErrorCode TMemoryRegistry::DeleteKeyInView(HKey parent, const std::string& subKey,
                                          std::uint32_t view) {
  Node* from = nullptr;
  if (ErrorCode rc = Resolve(parent, 0, from)) return rc;
  std::vector<std::string> parts;
  if (!SplitComponents(subKey, parts)) return kErrorBadPathname;
  Redirect(from, parts, view);
  std::string path;
  for (const std::string& part : parts) path += (path.empty() ? "" : "\\") + part;
  return DeleteKey(parent, path);
}

ErrorCode TMemoryRegistry::DeleteValue(HKey key, const std::string& name) {
  Node* node = nullptr;
  if (ErrorCode rc = Resolve(key, kKeySetValue, node)) return rc;
  if (ErrorCode rc = Injected(Op::DeleteValue, node, {})) return rc;
  auto it = std::find_if(node->values.begin(), node->values.end(),
                         [&](const auto& v) { return AnsiSameText(v.name, name); });
  if (it == node->values.end()) return kErrorFileNotFound;
  node->values.erase(it);
  node->Touch();
  return kErrorSuccess;
}

ErrorCode TMemoryRegistry::FlushKey(HKey key) {
  Node* node = nullptr;
  if (ErrorCode rc = Resolve(key, 0, node)) return rc;
  return Injected(Op::Flush, node, {});
}

void TMemoryRegistry::SetKeyRights(const std::string& keyPath, std::uint32_t allowed) {
  rights_[AnsiUpperCase(keyPath)] = allowed;
}

void TMemoryRegistry::FailOperation(Op op, const std::string& keyPath, ErrorCode code, int times) {
  failures_.push_back(Failure{op, AnsiUpperCase(keyPath), code, times});
}

void TMemoryRegistry::ClearFailures() {
  failures_.clear();
  rights_.clear();
}

std::string TMemoryRegistry::ErrorMessage(ErrorCode code) const { return SystemErrorText(code); }

std::string TMemoryRegistry::SystemErrorText(ErrorCode code) {
  switch (code) {
    case kErrorSuccess:
      return "The operation completed successfully";
    case kErrorFileNotFound:
      return "The system cannot find the file specified";
    case kErrorPathNotFound:
      return "The system cannot find the path specified";
    case kErrorAccessDenied:
      return "Access is denied";
    case kErrorInvalidHandle:
      return "The handle is invalid";
    case kErrorNotEnoughMemory:
      return "Not enough storage is available to process this command";
    case kErrorWriteFault:
      return "The system cannot write to the specified device";
    case kErrorInvalidParameter:
      return "The parameter is incorrect";
    case kErrorBadPathname:
      return "The specified path is invalid";
    case kErrorMoreData:
      return "More data is available";
    case kErrorNoMoreItems:
      return "No more data is available";
    case kErrorBadKey:
      return "The configuration registry key is invalid";
    case kErrorCantRead:
      return "The configuration registry key could not be read";
    case kErrorCantWrite:
      return "The configuration registry key could not be written";
    case kErrorRegistryIoFailed:
      return "An I/O operation initiated by the registry failed unrecoverably. The registry "
             "could not read in, or write out, or flush, one of the files that contain the "
             "system's image of the registry";
    case kErrorKeyDeleted:
      return "Illegal operation attempted on a registry key that has been marked for deletion";
    default:
      return FormatRes(msg::SUnknownSystemError, {static_cast<long long>(code)});
  }
}

}  // namespace orvane
