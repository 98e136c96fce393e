#pragma once
// Sample objects for timing context menu handlers: a handler is initialized on something
// of the type it is registered for, as a right click on such an object would. Files and
// folders are made empty in one folder of the program's own, reused by every run.

#include <map>
#include <string>

namespace orvane {

class IFileAccess;
class IRegistryBackend;
struct TExtensionInfo;

// The file type a handler key belongs to: "*", ".txt", "txtfile", "Directory", or the
// perceived type ("text", "image") under SystemFileAssociations; switched-off handlers
// give the type of their active place.
std::string HandlerFileType(const std::string& keyPath);

class THandlerSamples {
public:
  // `folder` (with a trailing separator) holds the samples; `registry` tells which
  // extension belongs to a file type or perceived type.
  THandlerSamples(IRegistryBackend& registry, IFileAccess& files, std::string folder);

  // The path of an object of `type`, made when missing; empty with `why` when there is
  // none (a type no extension belongs to, or a file that cannot be made).
  std::string SampleFor(const std::string& type, std::string& why);

private:
  std::string SampleFile(const std::string& extension, std::string& why);
  std::string SampleFolder(std::string& why);
  // Extensions by the upper-cased file type and perceived type that name them, read once.
  void ReadExtensions();

  IRegistryBackend& registry_;
  IFileAccess& files_;
  std::string folder_;
  bool extensionsRead_ = false;
  std::map<std::string, std::string> byFileType_;
  std::map<std::string, std::string> byPerceivedType_;
  std::map<std::string, std::string> made_;
};

}  // namespace orvane
