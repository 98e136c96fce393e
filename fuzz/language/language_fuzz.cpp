// Arbitrary bytes as a language file: read, loaded as the chosen language, and every
// message text formatted through it, checking what the reader promises of its result.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/locale_system.h"
#include "platform/messages.h"
#include "services/localizer.h"
#include "tests/storage/memory_files.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Half the inputs get the signature, so that the reading goes past the first line.
  std::string text(reinterpret_cast<const char*>(data), size);
  if (size > 0 && (data[0] & 1)) text = std::string(kLanguageSignature) + "\r\n" + text.substr(1);

  const TLanguageFile file = ParseLanguageFile(text, "fuzz.lng", DefaultLocaleSystem());
  if (file.Problems.size() > kMaxLanguageProblems) std::abort();
  for (std::size_t i = 0; i < file.ResStrings.size(); ++i) {
    if (file.ResStrings[i].first < 0 || file.ResStrings[i].first >= 65536) std::abort();
    if (i && file.ResStrings[i - 1].first >= file.ResStrings[i].first) std::abort();
  }
  for (const TResForm& form : file.Forms) {
    if (form.Paths.size() != form.Values.size()) std::abort();
    for (const std::string& path : form.Paths)
      if (path.empty() || path.size() > kMaxLanguagePath) std::abort();
  }

  testing::TMemoryFiles files;
  files.Files["C:\\Orvane\\languages\\Orvane.1031.lng"] = text;
  TLocalizer localizer({files, DefaultLocaleSystem(), "C:\\Orvane\\", "C:\\Orvane\\Orvane.ini"});
  localizer.LoadLanguage(localizer.Locales().Items.at(1), true);
  for (MessageId id : MessageIds()) {
    // A shown text always takes the arguments the program passes.
    const std::string shown = LoadResString(id);
    if (PlaceholderKinds(shown) != PlaceholderKinds(BuiltInResString(id))) std::abort();
    (void)FormatRes(id, {std::string("a"), 1LL, std::string("b"), 2LL, std::string("c")});
  }
  return 0;
}
