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

struct Importer {
  IRegistryBackend& registry;
  bool unicode = false;
  HKey key = 0;  // open key receiving values, 0 when none
  int lineNo = 0;

  ~Importer() { CloseCurrent(); }

  void CloseCurrent() {
    if (key) registry.CloseKey(key);
    key = 0;
  }

  [[noreturn]] void Fail(MessageId id, std::string_view line) const {
    throw Exception(FormatRes(id, {static_cast<long long>(lineNo), std::string(line)}));
  }

  void DeleteTree(HKey parent, const std::string& subKey) {
    HKey k = 0;
    if (registry.OpenKey(parent, subKey, kKeyAllAccess, k) != kErrorSuccess) return;
    {
      KeyGuard guard(registry, k);
      std::string name;
      std::vector<std::string> names;
      for (std::uint32_t i = 0; registry.EnumKey(k, i, name) == kErrorSuccess; ++i)
        names.push_back(name);
      for (const auto& child : names) DeleteTree(k, child);
    }
    registry.DeleteKey(parent, subKey);
  }

  void KeyLine(std::string_view line) {
    CloseCurrent();
    std::string_view inner = line.substr(1, line.size() - 2);
    bool remove = !inner.empty() && inner.front() == '-';
    if (remove) inner.remove_prefix(1);
    HKey root;
    std::string subKey;
    if (!SplitKeyPath(inner, root, subKey)) Fail(msg::SRegFileUnknownRoot, line);
    if (remove) {
      DeleteTree(root, subKey);
      return;
    }
    if (registry.CreateKey(root, subKey, kKeyAllAccess, key) != kErrorSuccess) {
      key = 0;
      Fail(msg::SRegFileBadLine, line);
    }
  }

  void ValueLine(std::string_view line) {
    if (!key) Fail(msg::SRegFileBadLine, line);
    std::string name;
    size_t pos = 0;
    if (line[0] == '@') {
      pos = 1;
    } else if (!ReadQuoted(line, pos, name)) {
      Fail(msg::SRegFileBadLine, line);
    }
    std::string_view rest = Trim(line.substr(pos));
    if (rest.empty() || rest[0] != '=') Fail(msg::SRegFileBadLine, line);
    std::string_view data = Trim(rest.substr(1));
    std::uint32_t type = kRegSz;
    std::vector<std::uint8_t> bytes;
    if (data == "-") {
      registry.DeleteValue(key, name);
      return;
    }
    if (!data.empty() && data[0] == '"') {
      std::string text;
      size_t p = 0;
      if (!ReadQuoted(data, p, text) || !Trim(data.substr(p)).empty())
        Fail(msg::SRegFileBadLine, line);
      bytes.assign(text.begin(), text.end());
      bytes.push_back(0);
    } else if (data.substr(0, 6) == "dword:") {
      std::string_view digits = data.substr(6);
      if (digits.empty() || digits.size() > 8) Fail(msg::SRegFileBadLine, line);
      std::uint32_t v = 0;
      for (char c : digits) {
        int d = HexDigit(c);
        if (d < 0) Fail(msg::SRegFileBadLine, line);
        v = v * 16 + static_cast<std::uint32_t>(d);
      }
      type = kRegDword;
      for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    } else if (data.substr(0, 3) == "hex") {
      size_t colon = data.find(':');
      if (colon == std::string_view::npos) Fail(msg::SRegFileBadLine, line);
      std::string_view kind = data.substr(3, colon - 3);
      type = kRegBinary;
      if (!kind.empty()) {
        if (kind.size() < 3 || kind.front() != '(' || kind.back() != ')')
          Fail(msg::SRegFileBadLine, line);
        type = 0;
        for (char c : kind.substr(1, kind.size() - 2)) {
          int d = HexDigit(c);
          if (d < 0 || type > 0x0FFFFFFF) Fail(msg::SRegFileBadLine, line);
          type = type * 16 + static_cast<std::uint32_t>(d);
        }
      }
      if (!ParseHexBytes(data.substr(colon + 1), bytes)) Fail(msg::SRegFileBadLine, line);
      if (unicode && (type == kRegSz || type == kRegExpandSz || type == kRegMultiSz)) {
        bytes = NarrowUtf16(bytes);
      }
    } else {
      Fail(msg::SRegFileBadLine, line);
    }
    auto size = static_cast<std::uint32_t>(bytes.size());
    if (registry.SetValue(key, name, type, bytes.data(), size) != kErrorSuccess) {
      Fail(msg::SRegFileBadLine, line);
    }
  }
};

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

void ExportKey(IRegistryBackend& registry, HKey key, const std::string& path, std::string& out) {
  out += "[" + path + "]\n";
  std::string name;
  for (std::uint32_t i = 0; registry.EnumValue(key, i, name) == kErrorSuccess; ++i) {
    std::uint32_t type = 0, size = 0;
    if (registry.QueryValue(key, name, &type, nullptr, &size) != kErrorSuccess) continue;
    std::vector<std::uint8_t> bytes(size);
    if (registry.QueryValue(key, name, &type, bytes.data(), &size) != kErrorSuccess) continue;
    bytes.resize(size);
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
  out += '\n';
  std::vector<std::string> children;
  for (std::uint32_t i = 0; registry.EnumKey(key, i, name) == kErrorSuccess; ++i)
    children.push_back(name);
  for (const auto& child : children) {
    HKey sub = 0;
    if (registry.OpenKey(key, child, kKeyRead, sub) != kErrorSuccess) continue;
    KeyGuard guard(registry, sub);
    ExportKey(registry, sub, path + "\\" + child, out);
  }
}

}  // namespace

void ImportRegText(IRegistryBackend& registry, std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Importer importer{registry};
  bool headerSeen = false;
  std::string pending;  // a value line continued with a trailing backslash
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    ++importer.lineNo;
    if (!pending.empty()) {
      pending += raw;
    } else if (raw.empty() || raw[0] == ';') {
      continue;
    } else {
      pending = raw;
    }
    if (!pending.empty() && pending.back() == '\\' && pending[0] != '[') {
      pending.pop_back();
      if (pos <= text.size()) continue;
    }
    std::string line = std::move(pending);
    pending.clear();
    if (!headerSeen) {
      if (line != kHeader4 && line != kHeader5)
        throw Exception(LoadResString(msg::SRegFileBadHeader));
      importer.unicode = line == kHeader5;
      headerSeen = true;
    } else if (line.front() == '[' && line.back() == ']') {
      importer.KeyLine(line);
    } else {
      importer.ValueLine(line);
    }
  }
  if (!headerSeen) throw Exception(LoadResString(msg::SRegFileBadHeader));
}

std::string ExportRegText(IRegistryBackend& registry, const std::string& keyPath) {
  HKey root;
  std::string subKey;
  HKey key = 0;
  if (!SplitKeyPath(keyPath, root, subKey) ||
      registry.OpenKey(root, subKey, kKeyRead, key) != kErrorSuccess) {
    return std::string();
  }
  KeyGuard guard(registry, key);
  std::string out = std::string(kHeader4) + "\n\n";
  ExportKey(registry, key, keyPath, out);
  return out;
}

}  // namespace orvane
