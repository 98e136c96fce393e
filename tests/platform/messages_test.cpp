// Message texts: formatting of translated texts must never fail on a bad placeholder.

#include "platform/messages.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(Format, Placeholders) {
  EXPECT_EQ(Format("Delete menu item \"%s\"?", {std::string("Open")}),
            "Delete menu item \"Open\"?");
  EXPECT_EQ(Format("%d of %d, 100%%", {3LL, 10LL}), "3 of 10, 100%");
  EXPECT_EQ(Format("%.8X", {0x123LL}), "00000123");
  EXPECT_EQ(Format("%x|%5d|%-4s|%05d", {255LL, 42LL, std::string("ab"), -12LL}),
            "ff|   42|ab  |-0012");
  EXPECT_EQ(Format("%.2s", {std::string("abcdef")}), "ab");
}

TEST(Format, MismatchedPlaceholdersAreKeptLiterally) {
  EXPECT_EQ(Format("%s and %s", {std::string("one")}), "one and %s");
  EXPECT_EQ(Format("100% sure %q", {}), "100% sure %q");
  EXPECT_EQ(Format("trailing %", {}), "trailing %");
  EXPECT_EQ(Format("%99999999999d", {1LL}), "%99999999999d");
}

TEST(MessageTable, TranslationOverridesBuiltInText) {
  EXPECT_EQ(LoadResString(msg::SInvalidRegType), "Invalid data type for '%s'");
  SetResStringLookup([](MessageId id) -> std::optional<std::string> {
    if (id == msg::SInvalidRegType) return std::string("Ungültiger Datentyp für '%s'");
    return std::nullopt;
  });
  EXPECT_EQ(FormatRes(msg::SInvalidRegType, {std::string("x")}), "Ungültiger Datentyp für 'x'");
  EXPECT_EQ(LoadResString(msg::SRegGetDataFailed), "Failed to get data for '%s'");
  SetResStringLookup(nullptr);
  EXPECT_EQ(LoadResString(msg::SInvalidRegType), "Invalid data type for '%s'");
}

// A translation that takes other arguments than the program passes would put a number
// where a name belongs, or drop the name: the built-in text is shown instead.
TEST(MessageTable, TranslationWithOtherPlaceholdersFallsBackToBuiltInText) {
  SetResStringLookup([](MessageId id) -> std::optional<std::string> {
    if (id == msg::SInvalidRegType) return std::string("Typ %d falsch");
    if (id == msg::SRegistryErrorDetails) return std::string(" (Details: %s)");
    if (id == msg::SUnknownSystemError) return std::string("Systemfehler %u, 100%%");
    return std::nullopt;
  });
  EXPECT_EQ(LoadResString(msg::SInvalidRegType), "Invalid data type for '%s'");
  EXPECT_EQ(LoadResString(msg::SRegistryErrorDetails), " (details: %s; reason: %s)");
  // Another kind of number, and a literal percent sign, take the same arguments.
  EXPECT_EQ(LoadResString(msg::SUnknownSystemError), "Systemfehler %u, 100%%");
  SetResStringLookup(nullptr);
  EXPECT_EQ(PlaceholderKinds("%-5s of %08X, %% %.2d %q"), "sdd");
}

}  // namespace
}  // namespace orvane
