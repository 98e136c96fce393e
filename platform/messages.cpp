#include "platform/messages.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace orvane {
namespace {

const std::unordered_map<MessageId, const char*>& BuiltInTexts() {
  static const std::unordered_map<MessageId, const char*> texts = {
      {msg::SRegistryOperationError, "Registry operation error"},
      {msg::SRegistryErrorDetails, " (details: %s; reason: %s)"},
      {msg::SInvalidRegType, "Invalid data type for '%s'"},
      {msg::SRegGetDataFailed, "Failed to get data for '%s'"},
      {msg::SRegSetDataFailed, "Failed to set data for '%s'"},
      {msg::SUnknownSystemError, "System error %d"},
      {msg::SRegFileBadHeader, "Not a registry file: the first line must be \"REGEDIT4\""},
      {msg::SRegFileBadLine, "Registry file, line %d: cannot read \"%s\""},
      {msg::SRegFileUnknownRoot, "Registry file, line %d: unknown root key in \"%s\""},
      {msg::SRegExportKeyUnreadable, "Cannot read the registry key \"%s\": %s"},
      {msg::SRegExportValueUnreadable, "Cannot read the value \"%s\" of the registry key \"%s\": %s"},
      {msg::SRegFileWriteFailed, "Registry file, line %d: \"%s\" cannot be written: %s"},
      {msg::SRegExportLineBreak,
       "The registry key \"%s\" cannot be saved as registry text: a name in it holds a line break"},

      // System information and window helpers.

      // File types.
      {msg::SListIndexError, "List index out of bounds (%d)"},
      {msg::SFileTypeLinkError, "FileTypes property not set or item does not belong to FileTypes"},
      {msg::SBugMissingType, "Extension \"%s\" belongs to non-existing file type \"%s\""},
      {msg::SBugCurVerMissing, "File type \"%s\" (\"%s\") refers to non-existing file type \"%s\""},
      {msg::SBugCurVerSelf,
       "File type \"%s\" (\"%s\") refers recurrent to itself and is not linked to any CLSID"},
      {msg::SBugAccessDenied, "Access to the egistry key \"%s\" is denied"},
      {msg::SBugInvalidDataType, "Invalid data type for value \"%s\" of registry key \"%s\""},
      {msg::SBugMissingIconFile,
       "Icon file \"%s\" of file type \"%s\" (\"%s\") does not exist or unavailable"},
      {msg::SBugMissingPerceivedType,
       "Extension \"%s\" belongs to non-existing perceived file type \"%s\""},
      {msg::SNotEnoughMemoryIcons, "Not enough memory to load associated icons"},
      {msg::SInvalidImageList, "Invalid ImageList"},
      {msg::SErrorExtractingIcon, "Error extracting icon from file"},
      {msg::SCaptionImages, "Images"},
      {msg::SCaptionText, "Text files"},
      {msg::SCaptionAudio, "Audio files"},
      {msg::SCaptionVideo, "Video files"},
      {msg::SCaptionCompressed, "Compressed files"},
      {msg::SCaptionSystem, "System files"},
      {msg::SColumnFileType, "File Type"},
      {msg::SColumnExtension, "Extension"},
      {msg::SCaptionAllFiles, "All files"},
      {msg::SCaptionAllFileSystemObjects, "All files and file folders"},
      {msg::SCaptionUnknown, "Non-associated files"},
      {msg::SCaptionFolder, "All folders"},
      {msg::SCaptionDirectory, "File folders"},
      {msg::SCaptionBackground, "File folder background"},
      {msg::SCaptionNetwork, "Entire network"},
      {msg::SCaptionNetShare, "All network shares"},
      {msg::SCaptionNetServer, "All network servers"},
      {msg::SCaptionPrinters, "All printers"},
      {msg::SCaptionDrive, "All drives"},
      {msg::SCaptionAudioCD, "Audio CD in CD drive"},
      {msg::SCaptionDVD, "DVD drive"},

      // Menu model.
      {msg::SDefaultParameters, "\"%1\""},
      {msg::SFileTypeNotFoundItemMoved,
       "File type \"%s\" not found. Menu item \"%s\" moved to category \"%s\"."},
      {msg::SInvalidCheckedValue,
       "Invalid value of \"Checked\" property for %s menu item. Set to \"False\"."},
      {msg::SInvalidMenuItemSkipped, "Invalid menu item skipped."},
      {msg::SDefaultDraggingWhileDragging, "Cannot set DefaultDragging property while dragging"},
      {msg::SDeleteMenuItem, "Delete menu item \"%s\"?"},
      {msg::SCannotOpenClipboard, "Cannot open clipboard"},
      {msg::SClipboardSetFailed, "Cannot put data on the clipboard"},
      {msg::SPngImageError, "Cannot read PNG image: %s"},
      {msg::SMenuTextLineBreak, "A menu item's texts must not contain line breaks"},
      {msg::SMenuTooDeep, "Submenus can not be nested deeper than %d levels"},
      {msg::SFileTypeNotFoundItemKept,
       "File type \"%s\" not found. Menu item \"%s\" is kept without a file type and is not "
       "written to the registry."},
      {msg::SMenuItemLoadFailed, "Menu item \"%s\": %s"},
      {msg::SNoFileTypeCategory, "%s (no such file type)"},
      {msg::SMenuNotReadWhole,
       "The menu file's items could not all be read at start, so they are not written back: "
       "the items not read would be lost. Start Orvane again to read them."},
      {msg::SItemMustBelongToCollection, "Item must belong to collection to focus"},
      {msg::STreeIndexOutOfBounds, "List index out of bounds (%d)"},
      {msg::SItemIntoOwnSubtree, "Can not move an item into its own subitems"},
      {msg::SFileTypeRequired, "A menu item needs a file type"},
      {msg::SCategoryForItem, "Can not add a category for an item"},
      {msg::SItemToTopLevel, "Can not add an item to the top-level collection"},
      {msg::SInvalidTreeItemClass, "Invalid tree item class"},
      {msg::SFileTypesNotSet, "FileTypes property not set or empty"},
      {msg::SSubitemForMenuItem, "Can not add subitem for an menu item"},
      {msg::SNewMenuItem, "new item"},

      // Storage.
      {msg::SFCreateErrorEx, "Cannot create file \"%s\". %s"},
      {msg::SFOpenErrorEx, "Cannot open file \"%s\". %s"},
      {msg::SIniListIndexError, "List index out of bounds (%d)"},
      {msg::SIniLineBreak,
       "\"%s\" cannot be written to the settings file: names and values must not contain "
       "line breaks"},
      {msg::SProfileReadOnly, "The settings file \"%s\" is read-only here"},
      {msg::SEntryParentMissing,
       "Entry %d left out: its submenu %d is not a submenu read before it"},
      {msg::SEntryTooDeep, "Entry %d left out: nested deeper than %d levels"},

      // Application windows.
      {msg::SLinkError, "Error redirecting to link (%s)"},
      {msg::SOSNotSupported,
       "Your version of Microsoft Windows NT is not supported.\r\nOrvane requires Windows "
       "98/Me/2000/XP or later to run properly.\r\n\r\n\x95 Press OK to close the application."},
      {msg::SSubclassError, "Error trying to subclass Application window procedure"},
      {msg::SMutexError, "Error creating mutex to check single instance"},
      {msg::SLoadingTitle, "Starting %s"},
      {msg::SAppStarting, "%s starting..."},
      {msg::SInitializing, "Initializing..."},
      {msg::SPreparingEnvironment, "Preparing application environment"},
      {msg::SScanningFileTypes, "Scanning file types"},
      {msg::SAnalyzingFileType, "Analyzing registered file type: %s"},
      {msg::SReadyToLoadIcons, "Ready to load registered file types' icons"},
      {msg::SLoadingIcon, "Loading associated icon for %s"},
      {msg::SReadyToStart, "Ready to start"},
      {msg::SDescrStaticItems,
       "Manages static items of file objects context menus.\r\nStatic menu items are stored in "
       "the registry and very easy to handle by File Manager."},
      {msg::SDescrSubmenuItems,
       "Manages dynamic items of file objects context menus.\r\nDynamic items require to load a "
       "shell extension DLL when menu is about to be displayed."},
      {msg::SDescrStaticCleanup,
       "Unused static menu items cleanup.\r\nStatic menu items are deleted permanently from the "
       "registry."},
      {msg::SDescrShellExtCleanup,
       "Unused context menu extensions cleanup.\r\nShell extension entries are deleted "
       "permanently from the registry."},
      {msg::SWow64Suffix, " [WOW64]"},
      {msg::SUnknownException, "Unknown exception"},
      {msg::SLogNotWritten,
       "There were some errors while loading menu items, and the error log \"%s\" could not be "
       "written (%s).\r\n\r\n%s"},
      {msg::SCloseQuestion,
       "Changes to menu items were made. Do you want to apply them before exit?\r\n\r\n"
       "\x95 Select \"Yes\" to apply changes before exit,\r\n"
       "\x95 Select \"No\" to discard changes, or\r\n"
       "\x95 Select \"Cancel\" to continue your work with Orvane."},
      {msg::SLoadErrorsQuestion,
       "There were some errors while loading menu items. Error log saved to \"log.txt\".\r\n"
       "Do you want to view the error log?\r\n\r\n\x95 Click \"Yes\" to view the error log;\r\n"
       "\x95 Click \"No\" to continue loading."},
      {msg::SLogCreated, "Error log created: %s"},
      {msg::SLogStaticItems, "Static items error log:"},
      {msg::SLogDynamicItems, "Dynamic items error log:"},
      {msg::SFileTypeKey, "Key: \"%s\""},
      {msg::SFileTypeExtensions, "Extensions: %s"},
      {msg::SSelectApplicationTitle, "Select an Application"},
      {msg::SSelectApplicationTitleX, "Select an application"},
      {msg::SApplicationFilter,
       "Applications (*.exe;*.bat;*.cmd)|*.exe;*.bat;*.cmd|All Files (*.*)|*.*"},
      {msg::SOpenMenuTitle, "Open menu"},
      {msg::SSaveMenuTitle, "Save menu"},
      {msg::SMenuFileFilter, "Menu items files (*.ini)|*.ini"},
      {msg::SCreateSubmenu, "&Create"},
      {msg::SSelectRecentSubmenu, "Se&lect Recent"},
      {msg::SOpenRecentSubmenu, "Open &Recent"},
      {msg::SDeleteAllQuestion, "Delete all menu items?"},
      {msg::SLegacyDisableNote,
       "Another program hides this item with a \"LegacyDisable\" value: the file manager does "
       "not show it. Orvane leaves that value as it is."},
      {msg::SUnreadableItemNote, "This item cannot be read (%s); it is left as it is."},
      {msg::SDeleteExtensionQuestion,
       "Delete the registration of the shell extension \"%s\"?\r\n\r\nThe file manager will no "
       "longer use it. Apply keeps a copy of the registry key in the \"Backups\" folder."},
      {msg::SClearMenuQuestion, "Clear all the existing menu items to start from nothing?"},
      {msg::SRevertMenuQuestion, "Revert to the last saved version of menu structure?"},
      {msg::SMenuFileProblems,
       "Problems were found in the menu file \"%s\". What could be read is shown; nothing is "
       "written before you apply or save.\r\n\r\n%s"},
      {msg::SNotAMenuFile,
       "\"%s\" holds no submenu items (it has no \"Dynamic Items\" section). The menu is left "
       "as it was."},
      {msg::SRecentMenuMissing,
       "The menu file \"%s\" cannot be found. It is removed from the list of recent files."},
      {msg::SMoreProblems, "... and %d more"},
      {msg::SUnableToFixBug, "Unable to fix the problem:\r\n%s"},
      {msg::SErrorsFixingRegistry,
       "Errors detected while fixing the registry. Some bugs may appear unfixed."},
      {msg::SBugsBackupFailed,
       "Nothing was fixed: the backup of the registry keys to be removed could not be "
       "written.\r\n%s"},
      {msg::SClassicMenuRestart,
       "The file manager shows the changed context menu only after it has been restarted.\r\n"
       "Sign out and sign in again, or restart the computer, for the change to take effect."},
      {msg::SShellExtWarning,
       "IMPORTANT: In case of deleting or moving Orvane\r\nbe sure to UNMARK this check box.\r\n"
       "If not, there will be unresolved links in your system registry."},
      {msg::SShellExtLoadFailed, "Failed to load \"%s\": %s (%d)"},
      {msg::SShellExtProcNotFound, "%s procedure not found in \"%s\""},
      {msg::SShellExtCallFailed, "Call to %s failed in \"%s\""},
      {msg::SShellExtRights,
       "Dynamic items cannot be switched on or off by this user: changing the registration "
       "of the shell extension needs administrator rights.\r\nStart Orvane as an "
       "administrator to change it."},
      {msg::SShellExtToolNotStarted, "The registration tool \"%s\" could not be started: %s"},
      {msg::SShellExtToolTimedOut,
       "The registration tool did not finish with \"%s\" within %d seconds and was stopped."},
      {msg::SShellExtToolFailed, "The registration tool failed on \"%s\": %s (exit code %d)"},
      {msg::SShellExtToolNoLoad, "the module could not be loaded"},
      {msg::SShellExtToolNoEntry, "the module has no registration entry point"},
      {msg::SShellExtToolCallFailed, "the module's registration reported a failure"},
      {msg::SShellExtStillRegistered,
       "The shell extension is still registered: \"%s\" could not be unregistered."},
      {msg::SNoIconsInFile, "There are no icons in the specified file."},
      {msg::SErrorLoadingIcons, "Error loading icon(s):\r\n%s\r\nfrom file:\r\n\"%s\""},
      {msg::SErrorLoadingRecentIcon, "Error loading icon from specified file"},
      {msg::SErrorLoadingChosenIcon,
       "The icon was not changed: picture %d of \"%s\" cannot be loaded.\r\n%s"},
      {msg::SSelectIconTitle, "Select Menu Item Icon"},
      {msg::SSelectIconFileTitle, "Select a File with Icons"},
      {msg::SSelectIconFilter,
       "All Files (*.*)|*.*|Executables (*.exe)|*.exe|Libraries (*.dll;*.bpl;*.ax;*.ocx;*.vbx)|"
       "*.dll;*.bpl;*.ax;*.ocx;*.vbx|Icons (*.ico)|*.ico|PNG images (*.png)|*.png"},
      {msg::SIconFileUnavailable,
       "The file does not exist, or it is not on a local drive."},
      {msg::SNoIconChosen, "No picture was chosen."},

      // Backups of the maintenance tools.
      {msg::SBackupCannotWrite, "The backup \"%s\" cannot be written: %s"},
      {msg::SBackupFolderFailed, "The backup folder \"%s\" cannot be created: %s"},
      {msg::SBackupRefusedDelete,
       "Backup file, line %d: a backup only puts keys and values back, it does not delete "
       "them: \"%s\""},
      {msg::SBackupRefusedPlace,
       "Backup file, line %d: nothing is restored outside the places the cleanup tools remove "
       "entries from: \"%s\""},
      {msg::SBackupNoView,
       "The backup holds keys of the %s registry view, which cannot be reached on this system."},
      {msg::SRestoreConfirm,
       "Restore the backup of %s?\r\n%s\r\n\r\nThe keys and values it holds are written back "
       "into the registry; values that exist now are replaced by the backed-up ones."},
      {msg::SBackupFolderUnreadable, "The backup folder \"%s\" cannot be read: %s"},
      {msg::SBackupUnreadable, "The backup \"%s\" cannot be read: %s"},

      // Services: the update check.
      {msg::SUpdateNoVersionInfo, "Cannot extract version information from \"%s\""},
      {msg::SUpdateLatestInaccessible, "Latest version info is inaccessible"},
      {msg::SUpdateCannotGetLatest,
       "Cannot get latest version information at URL \"%s\".\r\n%s: %s"},
      {msg::SUpdateCannotGetInfo,
       "Cannot get the information page for the new version at URL \"%s\".\r\n%s: %s"},
      {msg::SUpdateAvailable,
       "The new version %s is available!\r\nWhat's new:\r\n%s\r\n\r\nDo you want to visit the "
       "web site to download it right now?"},
      {msg::SUpdateVisitManually,
       "Do you want to visit the web site to check for the latest version manually?"},
      {msg::SUpdateIsLatest, "You have the latest version of the application."},
      {msg::SUpdateNotWebPage,
       "The download address \"%s\" is not a web page and was not opened."},
      {msg::SUpdateNoVersionNumber, "The latest version \"%s\" is no version number"},
      {msg::SDownloadHttpsOnly, "Only https addresses are downloaded: \"%s\""},
      {msg::SDownloadHttpStatus, "The server answered %d instead of the page"},
      {msg::SDownloadTimedOut, "The server did not finish its answer in time"},
      // The About window.
      {msg::SAboutVersion, "Version: %s"},
      {msg::SAboutModule, "Shell extension module: %s"},
      {msg::SAboutModule64, "Shell extension module (64-bit): %s"},
      {msg::SAboutNotFound, "not found"},
      {msg::SAboutDynamicOn, "Dynamic items: on (the shell extension module is registered)"},
      {msg::SAboutDynamicOff, "Dynamic items: off (the shell extension module is not registered)"},
      {msg::SAboutOS, "Operating system: %s, %s"},
      {msg::SAboutMemory, "Physical memory: %s"},
      {msg::SAboutFileTypes, "File types registered: %d"},
      {msg::SAboutCopyInfo, "Copy System Information"},
      {msg::SAboutReleaseDate, "Release date: %s"},
      // The error report.
      {msg::SReportSystemHead,
       "*** automatically generated system information report ***\r\n%s\r\nVersion: %s\r\n"
       "Shell extension module version: %s\r\n"},
      {msg::SReportModule64, "Shell extension module version (64-bit): %s\r\n"},
      {msg::SReportSystemBody,
       "OS: %s\r\nOS version: %s\r\nShell library version: %d.%d\r\nMemory available: %s\r\n"
       "File types registered: %s\r\nShell extension registered: %s\r\nInvalid file types: "
       "%d\r\nInvalid file types details:\r\n***\r\n%s\r\n***\r\nContents of .ini file:\r\n"
       "***\r\n%s\r\n***\r\nContents of log file:\r\n***\r\n%s\r\n***\r\n"
       "*** end of report ***\r\n"},
      {msg::SReportLabelLanguage, "Language exception"},
      {msg::SReportLabelSystem, "System exception"},
      {msg::SReportLabelSafeCall, "Language exception in a safecall method"},
      {msg::SReportLabelSystemSafeCall, "System exception in a safecall method"},
      {msg::SReportDumpResult, "\r\nMiniDumpWriteDump result: %.8X"},
      {msg::SReportInternalProblem,
       "Internal Application Problem\r\nWe are sorry for inconvenience, but the application "
       "has encountered an unexpected error.\r\nThe following details are the part of the "
       "event:\r\n%s\r\n%s\r\n%s\r\n%s\r\n"},
      {msg::SReportAskToSend,
       "It is recommended to send error report to the author.\r\nCreate an email with error "
       "details now?"},
      {msg::SReportMailSubject, "Orvane 2008 crash report"},
      {msg::SReportMailFailed,
       "Failed to create an email (%x: %s).\r\nPlease send the error report manually."},
      {msg::SReportAccessViolation, "Access violation at address %s. %s of address %s"},
      {msg::SReportSystemException, "System exception %.8X at address %s"},
      {msg::SColorDefault, "Default"},
      {msg::SColorCustom, "Custom"},
      {msg::SColorStandardFirst + 0, "Black"},
      {msg::SColorStandardFirst + 1, "Maroon"},
      {msg::SColorStandardFirst + 2, "Green"},
      {msg::SColorStandardFirst + 3, "Olive"},
      {msg::SColorStandardFirst + 4, "Navy"},
      {msg::SColorStandardFirst + 5, "Purple"},
      {msg::SColorStandardFirst + 6, "Teal"},
      {msg::SColorStandardFirst + 7, "Gray"},
      {msg::SColorStandardFirst + 8, "Silver"},
      {msg::SColorStandardFirst + 9, "Red"},
      {msg::SColorStandardFirst + 10, "Lime"},
      {msg::SColorStandardFirst + 11, "Yellow"},
      {msg::SColorStandardFirst + 12, "Blue"},
      {msg::SColorStandardFirst + 13, "Fuchsia"},
      {msg::SColorStandardFirst + 14, "Aqua"},
      {msg::SColorStandardFirst + 15, "White"},
      {msg::SColorSystemFirst + 0, "ScrollBar"},
      {msg::SColorSystemFirst + 1, "Background"},
      {msg::SColorSystemFirst + 2, "ActiveCaption"},
      {msg::SColorSystemFirst + 3, "InactiveCaption"},
      {msg::SColorSystemFirst + 4, "Menu"},
      {msg::SColorSystemFirst + 5, "Window"},
      {msg::SColorSystemFirst + 6, "WindowFrame"},
      {msg::SColorSystemFirst + 7, "MenuText"},
      {msg::SColorSystemFirst + 8, "WindowText"},
      {msg::SColorSystemFirst + 9, "CaptionText"},
      {msg::SColorSystemFirst + 10, "ActiveBorder"},
      {msg::SColorSystemFirst + 11, "InactiveBorder"},
      {msg::SColorSystemFirst + 12, "AppWorkSpace"},
      {msg::SColorSystemFirst + 13, "Highlight"},
      {msg::SColorSystemFirst + 14, "HighlightText"},
      {msg::SColorSystemFirst + 15, "BtnFace"},
      {msg::SColorSystemFirst + 16, "BtnShadow"},
      {msg::SColorSystemFirst + 17, "GrayText"},
      {msg::SColorSystemFirst + 18, "BtnText"},
      {msg::SColorSystemFirst + 19, "InactiveCaptionText"},
      {msg::SColorSystemFirst + 20, "BtnHighlight"},
      {msg::SColorSystemFirst + 21, "3DDkShadow"},
      {msg::SColorSystemFirst + 22, "3DLight"},
      {msg::SColorSystemFirst + 23, "InfoText"},
      {msg::SColorSystemFirst + 24, "InfoBk"},
      // Interface languages.
      {msg::SLangBadSignature, "Bad signature in language file \"%s\""},
      {msg::SLangBadCodepage, "Bad codepage in language file \"%s\""},
      {msg::SLangDeletedComponent,
       "Deleted component in language file:\r\n\"%s\"\r\nYou have to remove it!"},
      {msg::SLangObsoleteLine, "Obsolete line in language file:\r\n\"%s\"\r\nYou have to remove it!"},
      {msg::SLangUntranslatedLine,
       "Untranslated line in language file:\r\n\"%s\"\r\nYou have to translate it!"},
      {msg::SLangBadLine, "Bad line in language file: \"%s\""},
      {msg::SLangObsoleteResLine,
       "Obsolete line in language file:\r\n\"%s\"\r\nYou have to delete it!"},
      {msg::SLangBadResId, "Bad resource ID in language file: \"%s\""},
      {msg::SLangBadDecoded, "Bad decoded string: \"%s\""},
      {msg::SLangLoadError, "Error while loading language file \"%s\"\r\n%s"},
      {msg::SLangTextTooLong, "Text too long in language file (line %d), not used"},
      {msg::SLangFileTooBig, "The language file is too big (more than %d bytes)"},
      {msg::SLangUtf8System,
       "Language files cannot be used while the system's ANSI code page is UTF-8"},
      {msg::SLangDefault, "Default"},
      {msg::SLangCaption, "%s (%s)"},
      {msg::SLangErrorTitle, "Q.T.L. Error"},
      {msg::SLangMoreProblems, "... and %d more problems"},
      {msg::SLangUnreadable, "The language file cannot be read: %s"},
  };
  return texts;
}

ResStringLookup& Lookup() {
  static ResStringLookup lookup;
  return lookup;
}

std::string ToText(const FormatArg& arg) {
  if (const auto* s = std::get_if<std::string>(&arg)) return *s;
  return std::to_string(std::get<long long>(arg));
}

long long ToNumber(const FormatArg& arg) {
  if (const auto* n = std::get_if<long long>(&arg)) return *n;
  return 0;
}

}  // namespace

std::string BuiltInResString(MessageId id) {
  const auto& texts = BuiltInTexts();
  auto it = texts.find(id);
  return it == texts.end() ? std::string() : std::string(it->second);
}

std::vector<MessageId> MessageIds() {
  std::vector<MessageId> ids;
  for (const auto& [id, text] : BuiltInTexts()) ids.push_back(id);
  std::sort(ids.begin(), ids.end());
  return ids;
}

std::string PlaceholderKinds(const std::string& pattern) {
  std::string kinds;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') continue;
    ++i;
    if (i < pattern.size() && pattern[i] == '%') continue;
    while (i < pattern.size() && std::string("-0123456789.").find(pattern[i]) != std::string::npos)
      ++i;
    if (i < pattern.size() && std::string("sduxX").find(pattern[i]) != std::string::npos)
      kinds += pattern[i] == 's' ? 's' : 'd';
  }
  return kinds;
}

std::string LoadResString(MessageId id) {
  std::string builtIn = BuiltInResString(id);
  if (Lookup()) {
    // A translation that takes other arguments would show them in the wrong places, or
    // none at all: the built-in text is the better choice then.
    if (auto translated = Lookup()(id);
        translated && PlaceholderKinds(*translated) == PlaceholderKinds(builtIn))
      return *translated;
  }
  return builtIn;
}

void SetResStringLookup(ResStringLookup lookup) { Lookup() = std::move(lookup); }

std::string Format(const std::string& pattern, std::initializer_list<FormatArg> args) {
  std::vector<FormatArg> list(args);
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (c != '%') {
      out += c;
      continue;
    }
    size_t start = i++;
    if (i < pattern.size() && pattern[i] == '%') {
      out += '%';
      continue;
    }
    std::string flags;
    while (i < pattern.size() && (pattern[i] == '-' || pattern[i] == '0')) flags += pattern[i++];
    std::string width;
    while (i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9') width += pattern[i++];
    std::string precision;
    if (i < pattern.size() && pattern[i] == '.') {
      precision = ".";
      ++i;
      while (i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9')
        precision += pattern[i++];
    }
    if (i >= pattern.size() || std::string("sduxX").find(pattern[i]) == std::string::npos ||
        next >= list.size() || width.size() > 4 || precision.size() > 5) {
      // Unknown or unmatched placeholder: keep it literally.
      out.append(pattern, start, i - start + (i < pattern.size() ? 1 : 0));
      continue;
    }
    const FormatArg& arg = list[next++];
    char conv = pattern[i];
    std::string text;
    if (conv == 's') {
      text = ToText(arg);
      if (!precision.empty()) text = text.substr(0, std::stoul("0" + precision.substr(1)));
    } else {
      long long value = ToNumber(arg);
      bool negative = conv == 'd' && value < 0;
      unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                              : static_cast<unsigned long long>(value);
      if (conv != 'd' && conv != 'u') magnitude &= 0xFFFFFFFFULL;  // 32-bit like the system's
      const char* digits = conv == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
      unsigned base = (conv == 'x' || conv == 'X') ? 16 : 10;
      do {
        text.insert(text.begin(), digits[magnitude % base]);
        magnitude /= base;
      } while (magnitude != 0);
      if (!precision.empty()) {
        size_t minDigits = std::stoul("0" + precision.substr(1));
        if (text.size() < minDigits) text.insert(0, minDigits - text.size(), '0');
      }
      if (negative) text.insert(text.begin(), '-');
    }
    size_t minWidth = width.empty() ? 0 : std::stoul(width);
    if (text.size() < minWidth) {
      size_t pad = minWidth - text.size();
      if (flags.find('-') != std::string::npos) {
        text.append(pad, ' ');
      } else if (flags.find('0') != std::string::npos && conv != 's') {
        text.insert(text[0] == '-' ? 1 : 0, pad, '0');
      } else {
        text.insert(0, pad, ' ');
      }
    }
    out += text;
  }
  return out;
}

std::string FormatRes(MessageId id, std::initializer_list<FormatArg> args) {
  return Format(LoadResString(id), args);
}

}  // namespace orvane
