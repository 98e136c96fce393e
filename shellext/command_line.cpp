#include "shellext/command_line.h"

namespace orvane {

TLaunch MakeLaunch(const std::string& application, const std::string& parameters,
                   const TSelectedObject& object) {
  TLaunch launch;
  // A program path with blanks would otherwise be split at the first one.
  bool quoted = application.size() >= 2 && application.front() == '"';
  if (!quoted && application.find_first_of(" \t") != std::string::npos)
    launch.CommandLine = '"' + application + '"';
  else
    launch.CommandLine = application;
  if (!parameters.empty()) {
    std::string expanded;
    expanded.reserve(parameters.size() + object.Path.size());
    for (std::size_t i = 0; i < parameters.size(); ++i) {
      if (parameters[i] == '%' && i + 1 < parameters.size() && parameters[i + 1] == '1') {
        expanded += object.Path;
        ++i;
      } else {
        expanded += parameters[i];
      }
    }
    launch.CommandLine += ' ' + expanded;
  }
  if (object.Kind == TObjectKind::File) {
    std::size_t folder = object.Path.find_last_of("\\/");
    if (folder != std::string::npos)
      launch.Folder = object.Path.substr(0, folder == 2 && object.Path[1] == ':' ? 3 : folder);
  } else {
    launch.Folder = object.Path;
  }
  return launch;
}

}  // namespace orvane
