#include "platform/services.h"

#include "platform/clipboard.h"
#include "platform/file_access.h"
#include "platform/file_system.h"
#include "platform/icon_source.h"
#include "platform/registry_backend.h"
#include "platform/system_folders.h"
#include "platform/system_info.h"

namespace orvane {

TServices SystemServices() {
  const std::string program = ProgramFolder();
  return TServices{DefaultRegistryBackend(),
                   DefaultFileAccess(),
                   DefaultFileSystem(),
                   DefaultIconSource(),
                   DefaultClipboard(),
                   DefaultModuleVersions(),
                   WindowsFolder(),
                   program,
                   program};
}

}  // namespace orvane
