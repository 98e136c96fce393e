#include "platform/reg_text.h"

#include <cstdint>
#include <vector>

#include "platform/exception.h"
#include "platform/messages.h"
#include "platform/root_keys.h"

namespace orvane {
namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";

// Closes a key handle on every path out of a scope.
class KeyGuard {
public:
  KeyGuard(IRegistryBackend& registry, HKey key) : registry_(registry), key_(key) {}
  ~KeyGuard() { registry_.CloseKey(key_); }
  KeyGuard(const KeyGuard&) = delete;
  KeyGuard& operator=(const KeyGuard&) = delete;
  HKey get() const { return key_; }

private:
  IRegistryBackend& registry_;
  HKey key_;
};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted string with \\ and \" escapes starting at s[pos] == '"'.
bool ReadQuoted(std::string_view s, size_t& pos, std::string& out) {
  if (pos >= s.size() || s[pos] != '"') return false;
  ++pos;
  out.clear();
  while (pos < s.size()) {
    char c = s[pos++];
    if (c == '"') return true;
    if (c == '\\' && pos < s.size()) c = s[pos++];
    out += c;
  }
  return false;
}

bool ParseHexBytes(std::string_view s, std::vector<std::uint8_t>& bytes) {
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == ',')) ++i;
    if (i >= s.size()) break;
    if (i + 1 >= s.size()) return false;
    int hi = HexDigit(s[i]), lo = HexDigit(s[i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    i += 2;
    if (i < s.size() && s[i] != ',' && s[i] != ' ' && s[i] != '\t') return false;
  }
  return true;
}

// UTF-16LE text to ANSI bytes; characters outside Latin-1 become '?'.
std::vector<std::uint8_t> NarrowUtf16(const std::vector<std::uint8_t>& wide) {
  std::vector<std::uint8_t> narrow;
  for (size_t i = 0; i + 1 < wide.size(); i += 2) {
    narrow.push_back(wide[i + 1] ? static_cast<std::uint8_t>('?') : wide[i]);
  }
  return narrow;
}

[[noreturn]] void FailLine(MessageId id, int line, std::string_view text) {
  throw Exception(FormatRes(id, {static_cast<long long>(line), std::string(text)}));
}

// Reads statements one at a time; knows the key that values belong to.
struct Parser {
  bool unicode = false;
  bool haveKey = false;
  HKey root = 0;
  std::string subKey;
  std::vector<TRegTextEntry> entries;

  TRegTextEntry& Add(TRegTextEntry::TKind kind, int lineNo, std::string_view line) {
    TRegTextEntry& entry = entries.emplace_back();
    entry.Kind = kind;
    entry.Line = lineNo;
    entry.Text = std::string(line);
    entry.Root = root;
    entry.SubKey = subKey;
    return entry;
  }

  void KeyLine(int lineNo, std::string_view line) {
    std::string_view inner = line.substr(1, line.size() - 2);
    bool remove = !inner.empty() && inner.front() == '-';
    if (remove) inner.remove_prefix(1);
    haveKey = false;
    if (!SplitKeyPath(inner, root, subKey)) FailLine(msg::SRegFileUnknownRoot, lineNo, line);
    Add(remove ? TRegTextEntry::TKind::DeleteKey : TRegTextEntry::TKind::Key, lineNo, line);
    haveKey = !remove;
  }

  void ValueLine(int lineNo, std::string_view line) {
    auto fail = [&] { FailLine(msg::SRegFileBadLine, lineNo, line); };
    if (!haveKey) fail();
    std::string name;
    size_t pos = 0;
    if (line[0] == '@') {
      pos = 1;
    } else if (!ReadQuoted(line, pos, name)) {
      fail();
    }
    std::string_view rest = Trim(line.substr(pos));
    if (rest.empty() || rest[0] != '=') fail();
    std::string_view data = Trim(rest.substr(1));
    if (data == "-") {
      Add(TRegTextEntry::TKind::DeleteValue, lineNo, line).Name = std::move(name);
      return;
    }
    std::uint32_t type = kRegSz;
    std::vector<std::uint8_t> bytes;
    if (!data.empty() && data[0] == '"') {
      std::string text;
      size_t p = 0;
      if (!ReadQuoted(data, p, text) || !Trim(data.substr(p)).empty()) fail();
      bytes.assign(text.begin(), text.end());
      bytes.push_back(0);
    } else if (data.substr(0, 6) == "dword:") {
      std::string_view digits = data.substr(6);
      if (digits.empty() || digits.size() > 8) fail();
      std::uint32_t v = 0;
      for (char c : digits) {
        int d = HexDigit(c);
        if (d < 0) fail();
        v = v * 16 + static_cast<std::uint32_t>(d);
      }
      type = kRegDword;
      for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    } else if (data.substr(0, 3) == "hex") {
      size_t colon = data.find(':');
      if (colon == std::string_view::npos) fail();
      std::string_view kind = data.substr(3, colon - 3);
      type = kRegBinary;
      if (!kind.empty()) {
        if (kind.size() < 3 || kind.front() != '(' || kind.back() != ')') fail();
        type = 0;
        for (char c : kind.substr(1, kind.size() - 2)) {
          int d = HexDigit(c);
          if (d < 0 || type > 0x0FFFFFFF) fail();
          type = type * 16 + static_cast<std::uint32_t>(d);
        }
      }
      if (!ParseHexBytes(data.substr(colon + 1), bytes)) fail();
      if (unicode && (type == kRegSz || type == kRegExpandSz || type == kRegMultiSz)) {
        bytes = NarrowUtf16(bytes);
      }
    } else {
      fail();
    }
    TRegTextEntry& entry = Add(TRegTextEntry::TKind::Value, lineNo, line);
    entry.Name = std::move(name);
    entry.Type = type;
    entry.Data = std::move(bytes);
  }
};

void DeleteTree(IRegistryBackend& registry, HKey parent, const std::string& subKey) {
  HKey k = 0;
  if (registry.OpenKey(parent, subKey, kKeyAllAccess, k) != kErrorSuccess) return;
  {
    KeyGuard guard(registry, k);
    std::string name;
    std::vector<std::string> names;
    for (std::uint32_t i = 0; registry.EnumKey(k, i, name) == kErrorSuccess; ++i)
      names.push_back(name);
    for (const auto& child : names) DeleteTree(registry, k, child);
  }
  registry.DeleteKey(parent, subKey);
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
}

void AppendHex(std::string& out, const std::vector<std::uint8_t>& bytes) {
  static const char* const kDigits = "0123456789abcdef";
  size_t column = out.size() - out.rfind('\n') - 1;
  for (size_t i = 0; i < bytes.size(); ++i) {
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 15];
    column += 2;
    if (i + 1 < bytes.size()) {
      out += ',';
      ++column;
      if (column > 76) {
        out += "\\\n  ";
        column = 2;
      }
    }
  }
}

bool IsPlainString(const std::vector<std::uint8_t>& bytes) {
  if (bytes.empty() || bytes.back() != 0) return false;
  for (size_t i = 0; i + 1 < bytes.size(); ++i) {
    if (bytes[i] == 0 || bytes[i] == '\n' || bytes[i] == '\r') return false;
  }
  return true;
}

bool HasLineBreak(std::string_view name) {
  return name.find_first_of("\r\n") != std::string_view::npos;
}

// Writes keys and values; `whole` makes every part that cannot be read (or written as
// text) raise instead of being left out.
struct Exporter {
  IRegistryBackend& registry;
  bool whole;

  [[noreturn]] void KeyFailed(const std::string& path, ErrorCode code) const {
    throw Exception(FormatRes(msg::SRegExportKeyUnreadable, {path, registry.ErrorMessage(code)}));
  }

  void CheckName(const std::string& path, std::string_view name) const {
    if (whole && HasLineBreak(name)) throw Exception(FormatRes(msg::SRegExportLineBreak, {path}));
  }

  // Type and bytes of one value; false when it is gone (or, leniently, unreadable).
  bool Read(HKey key, const std::string& path, const std::string& name, std::uint32_t& type,
            std::vector<std::uint8_t>& bytes) const {
    ErrorCode rc = kErrorSuccess;
    for (int attempt = 0; attempt < 8; ++attempt) {
      std::uint32_t size = 0;
      rc = registry.QueryValue(key, name, &type, nullptr, &size);
      if (rc != kErrorSuccess) break;
      bytes.assign(size, 0);
      rc = registry.QueryValue(key, name, &type, bytes.data(), &size);
      // The value grew between the two calls: ask again.
      if (rc == kErrorMoreData) continue;
      if (rc == kErrorSuccess) bytes.resize(size);
      break;
    }
    if (rc == kErrorSuccess) return true;
    if (!whole || rc == kErrorFileNotFound) return false;
    throw Exception(
        FormatRes(msg::SRegExportValueUnreadable, {name, path, registry.ErrorMessage(rc)}));
  }

  void ValueLine(const std::string& name, std::uint32_t type,
                 const std::vector<std::uint8_t>& bytes, std::string& out) const {
    if (name.empty()) {
      out += '@';
    } else {
      AppendQuoted(out, name);
    }
    out += '=';
    if (type == kRegSz && IsPlainString(bytes)) {
      AppendQuoted(out,
                   std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size() - 1));
    } else if (type == kRegDword && bytes.size() == 4) {
      std::uint32_t v =
          bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
      out += Format("dword:%.8x", {static_cast<long long>(v)});
    } else {
      out += type == kRegBinary ? std::string("hex:")
                                : Format("hex(%x):", {static_cast<long long>(type)});
      AppendHex(out, bytes);
    }
    out += '\n';
  }

  void Key(HKey key, const std::string& path, std::string& out) const {
    CheckName(path, path);
    out += "[" + path + "]\n";
    std::string name;
    ErrorCode rc = kErrorSuccess;
    for (std::uint32_t i = 0; (rc = registry.EnumValue(key, i, name)) == kErrorSuccess; ++i) {
      CheckName(path, name);
      std::uint32_t type = 0;
      std::vector<std::uint8_t> bytes;
      if (Read(key, path, name, type, bytes)) ValueLine(name, type, bytes, out);
    }
    if (whole && rc != kErrorNoMoreItems) KeyFailed(path, rc);
    out += '\n';
    std::vector<std::string> children;
    for (std::uint32_t i = 0; (rc = registry.EnumKey(key, i, name)) == kErrorSuccess; ++i)
      children.push_back(name);
    if (whole && rc != kErrorNoMoreItems) KeyFailed(path, rc);
    for (const auto& child : children) {
      HKey sub = 0;
      rc = registry.OpenKey(key, child, kKeyRead, sub);
      if (rc != kErrorSuccess) {
        if (whole) KeyFailed(path + "\\" + child, rc);
        continue;
      }
      KeyGuard guard(registry, sub);
      Key(sub, path + "\\" + child, out);
    }
  }

  // Opens the key of a full path: false when it does not exist (or, leniently, does
  // not open).
  bool Open(const std::string& keyPath, HKey& key) const {
    HKey root;
    std::string subKey;
    if (!SplitKeyPath(keyPath, root, subKey)) {
      if (whole) KeyFailed(keyPath, kErrorBadPathname);
      return false;
    }
    ErrorCode rc = registry.OpenKey(root, subKey, kKeyRead, key);
    if (rc == kErrorSuccess) return true;
    if (whole && rc != kErrorFileNotFound) KeyFailed(keyPath, rc);
    return false;
  }
};

}  // namespace

std::vector<TRegTextEntry> ParseRegText(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Parser parser;
  bool headerSeen = false;
  std::string pending;  // a value line continued with a trailing backslash
  int lineNo = 0;
  int startLine = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    ++lineNo;
    if (!pending.empty()) {
      pending += raw;
    } else if (raw.empty() || raw[0] == ';') {
      continue;
    } else {
      pending = raw;
      startLine = lineNo;
    }
    if (!pending.empty() && pending.back() == '\\' && pending[0] != '[') {
      pending.pop_back();
      if (pos <= text.size()) continue;
    }
    std::string line = std::move(pending);
    pending.clear();
    if (line.empty()) continue;
    if (!headerSeen) {
      if (line != kHeader4 && line != kHeader5)
        throw Exception(LoadResString(msg::SRegFileBadHeader));
      parser.unicode = line == kHeader5;
      headerSeen = true;
    } else if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      parser.KeyLine(startLine, line);
    } else {
      parser.ValueLine(startLine, line);
    }
  }
  if (!headerSeen) throw Exception(LoadResString(msg::SRegFileBadHeader));
  return std::move(parser.entries);
}

void ApplyRegText(IRegistryBackend& registry, const std::vector<TRegTextEntry>& entries) {
  HKey key = 0;  // open key receiving values, 0 when none
  struct Closer {
    IRegistryBackend& registry;
    HKey& key;
    ~Closer() {
      if (key) registry.CloseKey(key);
    }
  } closer{registry, key};
  auto refused = [&](const TRegTextEntry& entry, ErrorCode rc) {
    throw Exception(FormatRes(msg::SRegFileWriteFailed, {static_cast<long long>(entry.Line),
                                                         entry.Text, registry.ErrorMessage(rc)}));
  };
  for (const TRegTextEntry& entry : entries) {
    ErrorCode rc = kErrorSuccess;
    switch (entry.Kind) {
      case TRegTextEntry::TKind::Key:
      case TRegTextEntry::TKind::DeleteKey:
        if (key) registry.CloseKey(key);
        key = 0;
        if (entry.Kind == TRegTextEntry::TKind::DeleteKey) {
          DeleteTree(registry, entry.Root, entry.SubKey);
        } else if ((rc = registry.CreateKey(entry.Root, entry.SubKey, kKeyAllAccess, key)) !=
                   kErrorSuccess) {
          key = 0;
          refused(entry, rc);
        }
        break;
      case TRegTextEntry::TKind::Value:
        if (!key) FailLine(msg::SRegFileBadLine, entry.Line, entry.Text);
        rc = registry.SetValue(key, entry.Name, entry.Type, entry.Data.data(),
                               static_cast<std::uint32_t>(entry.Data.size()));
        if (rc != kErrorSuccess) refused(entry, rc);
        break;
      case TRegTextEntry::TKind::DeleteValue:
        if (!key) FailLine(msg::SRegFileBadLine, entry.Line, entry.Text);
        registry.DeleteValue(key, entry.Name);
        break;
    }
  }
}

void ImportRegText(IRegistryBackend& registry, std::string_view text) {
  ApplyRegText(registry, ParseRegText(text));
}

std::string ExportRegText(IRegistryBackend& registry, const std::string& keyPath) {
  Exporter exporter{registry, false};
  HKey key = 0;
  if (!exporter.Open(keyPath, key)) return std::string();
  KeyGuard guard(registry, key);
  std::string out = std::string(kHeader4) + "\n\n";
  exporter.Key(key, keyPath, out);
  return out;
}

bool ExportRegKey(IRegistryBackend& registry, const std::string& keyPath, std::string& out) {
  Exporter exporter{registry, true};
  HKey key = 0;
  if (!exporter.Open(keyPath, key)) return false;
  KeyGuard guard(registry, key);
  // Nothing of a key that fails half-way reaches `out`.
  std::string text;
  exporter.Key(key, keyPath, text);
  out += text;
  return true;
}

bool ExportRegValue(IRegistryBackend& registry, const std::string& keyPath,
                    const std::string& name, std::string& out) {
  Exporter exporter{registry, true};
  HKey key = 0;
  if (!exporter.Open(keyPath, key)) return false;
  KeyGuard guard(registry, key);
  exporter.CheckName(keyPath, keyPath);
  exporter.CheckName(keyPath, name);
  std::uint32_t type = 0;
  std::vector<std::uint8_t> bytes;
  if (!exporter.Read(key, keyPath, name, type, bytes)) return false;
  out += "[" + keyPath + "]\n";
  exporter.ValueLine(name, type, bytes, out);
  out += '\n';
  return true;
}

}  // namespace orvane
