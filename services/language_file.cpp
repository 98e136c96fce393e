#include "services/language_file.h"

#include <algorithm>
#include <cctype>

namespace orvane {
namespace {

bool SameText(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return i == a.size() && !b[i];
}

std::string Trim(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool StartsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

std::vector<std::string> Lines(const std::string& data) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= data.size()) {
    std::size_t end = data.find('\n', start);
    if (end == std::string::npos) end = data.size();
    std::string line = data.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// The value of the first "name=value" line of that name, if any.
const std::string* HeaderValue(const std::vector<std::string>& lines, const char* name,
                               std::string& value) {
  for (const std::string& line : lines) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos && SameText(Trim(line.substr(0, equals)), name)) {
      value = line.substr(equals + 1);
      return &value;
    }
  }
  return nullptr;
}

bool ParseCodePage(const std::string& text, unsigned& codePage) {
  const std::string digits = Trim(text);
  if (digits.empty() || digits.size() > 5) return false;
  unsigned value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value > 65535) return false;
  codePage = value;
  return true;
}

bool ParseId(const std::string& text, MessageId& id) {
  const std::string digits = Trim(text);
  if (digits.empty() || digits.size() > 9) return false;
  id = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    id = id * 10 + (c - '0');
  }
  return true;
}

std::string Replace(const std::string& text, const std::string& from, const std::string& to) {
  if (from.empty()) return text;
  std::string out;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(from, start)) != std::string::npos; start = at + from.size())
    out.append(text, start, at - start).append(to);
  return out.append(text, start, std::string::npos);
}

class TReader {
public:
  TReader(const std::string& path, ILocaleSystem& locale, TLanguageFile& file)
      : path_(path), locale_(locale), file_(file) {}

  void Read(std::string data) {
    bool bom = StartsWith(data, "\xEF\xBB\xBF");
    if (bom) data.erase(0, 3);
    const std::vector<std::string> lines = Lines(data);
    if (data.empty() || lines[0].rfind(kLanguageSignature, 0) != 0) {
      Fatal(FormatRes(msg::SLangBadSignature, {path_}));
      return;
    }
    std::string value;
    file_.CodePage = bom ? 65001 : locale_.AnsiCodePage();
    if (HeaderValue(lines, "Codepage", value)) {
      if (!ParseCodePage(value, file_.CodePage) || !locale_.ToAnsi(std::string(), file_.CodePage)) {
        Fatal(FormatRes(msg::SLangBadCodepage, {path_}));
        return;
      }
    }
    humanize_ = HeaderValue(lines, "Humanize", value) && Trim(value) == "1";
    if (HeaderValue(lines, "HumanizeDivider", value) && !value.empty()) divider_ = value;

    for (std::size_t i = 1; i < lines.size() && file_.Complete; ++i) ReadLine(lines[i], i + 1);

    // Looked up by a binary search: ascending, each id once, the first one kept.
    std::stable_sort(file_.ResStrings.begin(), file_.ResStrings.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    file_.ResStrings.erase(std::unique(file_.ResStrings.begin(), file_.ResStrings.end(),
                                       [](const auto& a, const auto& b) { return a.first == b.first; }),
                           file_.ResStrings.end());
  }

private:
  enum class TSection { None, Form, Strings };

  void Problem(std::string text) {
    if (file_.Problems.size() < kMaxLanguageProblems) {
      file_.Problems.push_back(std::move(text));
    } else {
      ++file_.ProblemsLeftOut;
    }
  }

  void Fatal(std::string text) {
    Problem(std::move(text));
    file_.Complete = false;
  }

  void ReadLine(const std::string& line, std::size_t number) {
    if (line.empty() || line[0] == ';') return;
    if (line[0] == '[') {
      StartSection(line);
      return;
    }
    if (section_ == TSection::Form) {
      ReadFormLine(line, number);
    } else if (section_ == TSection::Strings) {
      ReadStringLine(line, number);
    }
  }

  void StartSection(const std::string& line) {
    const std::size_t close = line.find(']');
    const std::string name = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    if (SameText(name, "RESOURCESTRINGS")) {
      section_ = TSection::Strings;
      return;
    }
    if (StartsWith(name, "(x)")) {
      Fatal(FormatRes(msg::SLangDeletedComponent, {line}));
      return;
    }
    section_ = TSection::Form;
    form_ = nullptr;
    for (TResForm& form : file_.Forms)
      if (form.ClassName == name) form_ = &form;
    if (!form_) {
      file_.Forms.push_back({name, {}, {}});
      form_ = &file_.Forms.back();
    }
  }

  bool Marked(const std::string& line, MessageId obsolete) {
    if (StartsWith(line, "(x)")) {
      Problem(FormatRes(obsolete, {line}));
      return true;
    }
    if (StartsWith(line, "(!)")) {
      Problem(FormatRes(msg::SLangUntranslatedLine, {line}));
      return true;
    }
    return false;
  }

  // The value's text in the ANSI code page; false when it is not to be used.
  bool Value(const std::string& raw, const char* lineBreak, std::size_t number, std::string& text) {
    if (humanize_) {
      text = Replace(raw, divider_, lineBreak);
    } else if (!DecodeLanguageValue(raw, text)) {
      Fatal(FormatRes(msg::SLangBadDecoded, {raw.substr(0, 200)}));
      return false;
    }
    if (text.size() > kMaxLanguageText) {
      Problem(FormatRes(msg::SLangTextTooLong, {static_cast<long long>(number)}));
      return false;
    }
    std::optional<std::string> ansi = locale_.ToAnsi(text, file_.CodePage);
    if (!ansi) return false;
    text = std::move(*ansi);
    return true;
  }

  void ReadFormLine(const std::string& line, std::size_t number) {
    if (Marked(line, msg::SLangObsoleteLine)) return;
    if (line[0] == '(') return;
    const std::size_t equals = line.find('=');
    const std::size_t brace = line.find('{');
    const std::size_t pathEnd = std::min(equals, brace);
    const std::string path = equals == std::string::npos ? std::string() : Trim(line.substr(0, pathEnd));
    if (path.empty()) {
      Fatal(FormatRes(msg::SLangBadLine, {line.substr(0, 200)}));
      return;
    }
    if (path.size() > kMaxLanguagePath) {
      Problem(FormatRes(msg::SLangTextTooLong, {static_cast<long long>(number)}));
      return;
    }
    std::string text;
    if (!Value(line.substr(equals + 1), "\r", number, text)) return;
    form_->Paths.push_back(path);
    form_->Values.push_back(std::move(text));
  }

  void ReadStringLine(const std::string& line, std::size_t number) {
    if (Marked(line, msg::SLangObsoleteResLine)) return;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return;
    const std::string name = line.substr(0, equals);
    const std::string idText = name.substr(0, name.find('_'));
    MessageId id = 0;
    if (!ParseId(idText, id)) {
      Problem(FormatRes(msg::SLangBadResId, {idText.substr(0, 200)}));
      return;
    }
    std::string text;
    if (!Value(line.substr(equals + 1), "\r\n", number, text)) return;
    if (id < 65536) file_.ResStrings.emplace_back(id, std::move(text));
  }

  const std::string& path_;
  ILocaleSystem& locale_;
  TLanguageFile& file_;
  bool humanize_ = false;
  std::string divider_ = "\\";
  TSection section_ = TSection::None;
  TResForm* form_ = nullptr;
};

}  // namespace

const TResForm* TLanguageFile::Form(const std::string& className) const {
  for (const TResForm& form : Forms)
    if (form.ClassName == className) return &form;
  return nullptr;
}

bool DecodeLanguageValue(const std::string& value, std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  std::size_t i = value.find_first_not_of(" \t");
  if (i == std::string::npos) i = value.size();
  while (i < value.size()) {
    const char c = value[i];
    if (c == '\'') {
      ++i;
      for (;;) {
        if (i >= value.size()) return false;
        if (value[i] == '\'') {
          if (i + 1 < value.size() && value[i + 1] == '\'') {
            current += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        current += value[i++];
      }
    } else if (c == '#' && i + 1 < value.size() && std::isdigit(static_cast<unsigned char>(value[i + 1]))) {
      unsigned code = 0;
      for (++i; i < value.size() && std::isdigit(static_cast<unsigned char>(value[i])); ++i)
        code = std::min(code * 10 + static_cast<unsigned>(value[i] - '0'), 1000000u);
      current += code <= 255 ? static_cast<char>(code) : '?';
    } else if (c == ' ' || c == '\t') {
      ++i;
    } else {
      lines.push_back(std::move(current));
      current.clear();
      ++i;
    }
  }
  lines.push_back(std::move(current));
  text.clear();
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (k) text += '\r';
    text += lines[k];
  }
  return true;
}

TLanguageFile ParseLanguageFile(const std::string& data, const std::string& path,
                                ILocaleSystem& locale) {
  TLanguageFile file;
  if (data.size() > kMaxLanguageFileSize) {
    file.Problems.push_back(FormatRes(msg::SLangFileTooBig, {static_cast<long long>(kMaxLanguageFileSize)}));
    file.Complete = false;
    return file;
  }
  TReader(path, locale, file).Read(data);
  return file;
}

}  // namespace orvane
