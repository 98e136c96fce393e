#include "shellext/command_line.h"

namespace orvane {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; }

bool EndsWithNoCase(const std::u16string& text, const std::u16string& tail) {
  if (text.size() < tail.size()) return false;
  for (std::size_t k = 0; k < tail.size(); ++k)
    if (Lower(text[text.size() - tail.size() + k]) != tail[k]) return false;
  return true;
}

// The path where a quote follows it: backslashes before a quote are doubled, so that the
// program's argument parser does not take "C:\" followed by the quote as an escaped quote.
void AppendBeforeQuote(std::u16string& out, const std::u16string& path) {
  out += path;
  std::size_t trailing = 0;
  while (trailing < path.size() && path[path.size() - 1 - trailing] == u'\\') ++trailing;
  out.append(trailing, u'\\');
}

}  // namespace

bool IsBatchProgram(const std::u16string& application) {
  std::u16string program = application;
  while (!program.empty() && IsBlank(program.back())) program.pop_back();
  if (!program.empty() && program.back() == u'"') program.pop_back();
  return EndsWithNoCase(program, u".bat") || EndsWithNoCase(program, u".cmd");
}

TLaunch MakeLaunch(const std::u16string& application, const std::u16string& parameters,
                   const TSelectedObject& object) {
  TLaunch launch;
  if (application.find_first_not_of(u" \t") == std::u16string::npos) {
    // Nothing before the parameters: the system would take the first of them as the program.
    launch.Refusal = kNoProgramText;
    return launch;
  }
  if (IsBatchProgram(application) && parameters.find(u"%1") != std::u16string::npos &&
      object.Path.find_first_of(u"&|^%!") != std::u16string::npos) {
    // The interpreter expands % and ! even inside quotes; there is no sound escape.
    launch.Refusal = kBatchNameText;
    return launch;
  }
  // A program path with blanks would otherwise be split at the first one.
  bool quoted = application.size() >= 2 && application.front() == u'"';
  if (!quoted && application.find_first_of(u" \t") != std::u16string::npos)
    launch.CommandLine = u'"' + application + u'"';
  else
    launch.CommandLine = application;
  if (!parameters.empty()) {
    std::u16string expanded;
    expanded.reserve(parameters.size() + object.Path.size() + 2);
    bool inQuotes = false;
    for (std::size_t i = 0; i < parameters.size(); ++i) {
      if (parameters[i] == u'%' && i + 1 < parameters.size() && parameters[i + 1] == u'1') {
        ++i;
        if (inQuotes) {
          bool quoteFollows = i + 1 < parameters.size() && parameters[i + 1] == u'"';
          if (quoteFollows)
            AppendBeforeQuote(expanded, object.Path);
          else
            expanded += object.Path;
        } else {
          expanded += u'"';
          AppendBeforeQuote(expanded, object.Path);
          expanded += u'"';
        }
      } else {
        if (parameters[i] == u'"') inQuotes = !inQuotes;
        expanded += parameters[i];
      }
    }
    launch.CommandLine += u' ' + expanded;
  }
  if (object.Kind == TObjectKind::File) {
    std::size_t folder = object.Path.find_last_of(u"\\/");
    if (folder != std::u16string::npos)
      launch.Folder = object.Path.substr(0, folder == 2 && object.Path[1] == u':' ? 3 : folder);
  } else {
    launch.Folder = object.Path;
  }
  return launch;
}

}  // namespace orvane
