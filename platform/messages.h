#pragma once
// The message table: every text the program shows by id, so that a language file can
// replace it. Ids from 65168 on are the menu model's; the others are grouped by layer.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <variant>

namespace orvane {

using MessageId = int;

namespace msg {
// Registry access.
inline constexpr MessageId SRegistryOperationError = 64000;
inline constexpr MessageId SRegistryErrorDetails = 64001;
inline constexpr MessageId SInvalidRegType = 64002;
inline constexpr MessageId SRegGetDataFailed = 64003;
inline constexpr MessageId SRegSetDataFailed = 64004;
inline constexpr MessageId SUnknownSystemError = 64005;
// Registry text files (.reg).
inline constexpr MessageId SRegFileBadHeader = 64010;
inline constexpr MessageId SRegFileBadLine = 64011;
inline constexpr MessageId SRegFileUnknownRoot = 64012;

// System information and window helpers (64100-64199).

// File types (64200-64299, and the captions 65200-65231 of the predefined types).

// Menu model (65168-65199).

// Storage: INI engine and menu file (64300-64399).
inline constexpr MessageId SFCreateErrorEx = 64300;
inline constexpr MessageId SFOpenErrorEx = 64301;
inline constexpr MessageId SIniListIndexError = 64302;

// Application windows (64400-64599).

// Services (64600-64699).
}  // namespace msg

// The built-in text of an id, or the loaded translation when one is installed.
std::string LoadResString(MessageId id);

// Installs (or, with an empty function, removes) the translation lookup that
// LoadResString asks first.
using ResStringLookup = std::function<std::optional<std::string>(MessageId)>;
void SetResStringLookup(ResStringLookup lookup);

using FormatArg = std::variant<std::string, long long>;

// printf-like formatting for message texts: %s, %d, %u, %x, %X with optional width,
// zero padding and precision, and %%. Texts come from language files, so a
// placeholder without a matching argument is kept as written instead of failing.
std::string Format(const std::string& pattern, std::initializer_list<FormatArg> args);

// LoadResString followed by Format.
std::string FormatRes(MessageId id, std::initializer_list<FormatArg> args);

}  // namespace orvane
