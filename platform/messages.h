#pragma once
// The message table: every text the program shows by id, so that a language file can
// replace it. Ids from 65168 on are the menu model's; the others are grouped by layer.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <variant>
#include <vector>

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
inline constexpr MessageId SRegExportKeyUnreadable = 64013;
inline constexpr MessageId SRegExportValueUnreadable = 64014;
inline constexpr MessageId SRegExportLineBreak = 64015;
inline constexpr MessageId SRegFileWriteFailed = 64016;

// System information and window helpers (64100-64199).

// File types (64200-64299, and the captions 65200-65231 of the predefined types).
inline constexpr MessageId SListIndexError = 64200;
inline constexpr MessageId SFileTypeLinkError = 64201;
inline constexpr MessageId SBugMissingType = 64202;
inline constexpr MessageId SBugCurVerMissing = 64203;
inline constexpr MessageId SBugCurVerSelf = 64204;
inline constexpr MessageId SBugAccessDenied = 64205;
inline constexpr MessageId SBugInvalidDataType = 64206;
inline constexpr MessageId SBugMissingIconFile = 64207;
inline constexpr MessageId SBugMissingPerceivedType = 64208;
inline constexpr MessageId SNotEnoughMemoryIcons = 64209;
inline constexpr MessageId SInvalidImageList = 64210;
inline constexpr MessageId SErrorExtractingIcon = 64211;
inline constexpr MessageId SCaptionImages = 65200;
inline constexpr MessageId SCaptionText = 65201;
inline constexpr MessageId SCaptionAudio = 65202;
inline constexpr MessageId SCaptionVideo = 65203;
inline constexpr MessageId SCaptionCompressed = 65204;
inline constexpr MessageId SCaptionSystem = 65205;
inline constexpr MessageId SColumnFileType = 65217;
inline constexpr MessageId SColumnExtension = 65218;
inline constexpr MessageId SCaptionAllFiles = 65219;
inline constexpr MessageId SCaptionAllFileSystemObjects = 65220;
inline constexpr MessageId SCaptionUnknown = 65221;
inline constexpr MessageId SCaptionFolder = 65222;
inline constexpr MessageId SCaptionDirectory = 65223;
inline constexpr MessageId SCaptionBackground = 65224;
inline constexpr MessageId SCaptionNetwork = 65225;
inline constexpr MessageId SCaptionNetShare = 65226;
inline constexpr MessageId SCaptionNetServer = 65227;
inline constexpr MessageId SCaptionPrinters = 65228;
inline constexpr MessageId SCaptionDrive = 65229;
inline constexpr MessageId SCaptionAudioCD = 65230;
inline constexpr MessageId SCaptionDVD = 65231;

// Menu model (65168-65199).
inline constexpr MessageId SDefaultParameters = 65168;
inline constexpr MessageId SFileTypeNotFoundItemMoved = 65169;
inline constexpr MessageId SInvalidCheckedValue = 65170;
inline constexpr MessageId SInvalidMenuItemSkipped = 65171;
inline constexpr MessageId SDefaultDraggingWhileDragging = 65173;
inline constexpr MessageId SDeleteMenuItem = 65174;
inline constexpr MessageId SCannotOpenClipboard = 65175;
inline constexpr MessageId SClipboardSetFailed = 65176;
inline constexpr MessageId SPngImageError = 65177;
inline constexpr MessageId SMenuTextLineBreak = 65178;
inline constexpr MessageId SMenuTooDeep = 65179;
inline constexpr MessageId SFileTypeNotFoundItemKept = 65180;
inline constexpr MessageId SMenuItemLoadFailed = 65181;
inline constexpr MessageId SNoFileTypeCategory = 65182;
inline constexpr MessageId SMenuNotReadWhole = 65183;
inline constexpr MessageId SItemMustBelongToCollection = 65190;
inline constexpr MessageId STreeIndexOutOfBounds = 65191;
inline constexpr MessageId SItemIntoOwnSubtree = 65192;
inline constexpr MessageId SFileTypeRequired = 65193;
inline constexpr MessageId SCategoryForItem = 65194;
inline constexpr MessageId SItemToTopLevel = 65195;
inline constexpr MessageId SInvalidTreeItemClass = 65196;
inline constexpr MessageId SFileTypesNotSet = 65197;
inline constexpr MessageId SSubitemForMenuItem = 65198;
inline constexpr MessageId SNewMenuItem = 65199;

// Storage: INI engine and menu file (64300-64399).
inline constexpr MessageId SFCreateErrorEx = 64300;
inline constexpr MessageId SFOpenErrorEx = 64301;
inline constexpr MessageId SIniListIndexError = 64302;
inline constexpr MessageId SIniLineBreak = 64303;
inline constexpr MessageId SProfileReadOnly = 64310;
inline constexpr MessageId SEntryParentMissing = 64320;
inline constexpr MessageId SEntryTooDeep = 64321;

// Application windows (64400-64599).
inline constexpr MessageId SLinkError = 64400;
inline constexpr MessageId SOSNotSupported = 64401;
inline constexpr MessageId SSubclassError = 64402;
inline constexpr MessageId SMutexError = 64403;
inline constexpr MessageId SLoadingTitle = 64404;
inline constexpr MessageId SAppStarting = 64405;
inline constexpr MessageId SInitializing = 64406;
inline constexpr MessageId SPreparingEnvironment = 64407;
inline constexpr MessageId SScanningFileTypes = 64408;
inline constexpr MessageId SAnalyzingFileType = 64409;
inline constexpr MessageId SReadyToLoadIcons = 64410;
inline constexpr MessageId SLoadingIcon = 64411;
inline constexpr MessageId SReadyToStart = 64412;
inline constexpr MessageId SDescrStaticItems = 64413;
inline constexpr MessageId SDescrSubmenuItems = 64414;
inline constexpr MessageId SDescrStaticCleanup = 64415;
inline constexpr MessageId SDescrShellExtCleanup = 64416;
inline constexpr MessageId SWow64Suffix = 64417;
inline constexpr MessageId SUnknownException = 64418;
inline constexpr MessageId SLogNotWritten = 64419;
inline constexpr MessageId SCloseQuestion = 64420;
inline constexpr MessageId SLoadErrorsQuestion = 64421;
inline constexpr MessageId SLogCreated = 64422;
inline constexpr MessageId SLogStaticItems = 64423;
inline constexpr MessageId SLogDynamicItems = 64424;
// The menu pages and the cleanups.
inline constexpr MessageId SFileTypeKey = 64430;
inline constexpr MessageId SFileTypeExtensions = 64431;
inline constexpr MessageId SSelectApplicationTitle = 64432;
inline constexpr MessageId SSelectApplicationTitleX = 64433;
inline constexpr MessageId SApplicationFilter = 64434;
inline constexpr MessageId SOpenMenuTitle = 64435;
inline constexpr MessageId SSaveMenuTitle = 64436;
inline constexpr MessageId SMenuFileFilter = 64437;
inline constexpr MessageId SCreateSubmenu = 64438;
inline constexpr MessageId SSelectRecentSubmenu = 64439;
inline constexpr MessageId SOpenRecentSubmenu = 64440;
inline constexpr MessageId SDeleteAllQuestion = 64441;
inline constexpr MessageId SLegacyDisableNote = 64442;
inline constexpr MessageId SUnreadableItemNote = 64443;
inline constexpr MessageId SDeleteExtensionQuestion = 64444;
// The submenu items page.
inline constexpr MessageId SClearMenuQuestion = 64460;
inline constexpr MessageId SRevertMenuQuestion = 64461;
inline constexpr MessageId SMenuFileProblems = 64462;
inline constexpr MessageId SNotAMenuFile = 64463;
inline constexpr MessageId SRecentMenuMissing = 64464;
inline constexpr MessageId SMoreProblems = 64465;
// The registry bugs dialog.
inline constexpr MessageId SUnableToFixBug = 64590;
inline constexpr MessageId SErrorsFixingRegistry = 64591;
inline constexpr MessageId SBugsBackupFailed = 64592;
// The full context menu switch of Windows 11.
inline constexpr MessageId SClassicMenuRestart = 64490;
// The dynamic items switch (64500-64519).
inline constexpr MessageId SShellExtWarning = 64500;
inline constexpr MessageId SShellExtLoadFailed = 64501;
inline constexpr MessageId SShellExtProcNotFound = 64502;
inline constexpr MessageId SShellExtCallFailed = 64503;
inline constexpr MessageId SShellExtRights = 64504;
inline constexpr MessageId SShellExtToolNotStarted = 64505;
inline constexpr MessageId SShellExtToolTimedOut = 64506;
inline constexpr MessageId SShellExtToolFailed = 64507;
inline constexpr MessageId SShellExtToolNoLoad = 64508;
inline constexpr MessageId SShellExtToolNoEntry = 64509;
inline constexpr MessageId SShellExtToolCallFailed = 64510;
inline constexpr MessageId SShellExtStillRegistered = 64511;
// The icon dialog and the recent icons (64520-64539).
inline constexpr MessageId SNoIconsInFile = 64520;
inline constexpr MessageId SErrorLoadingIcons = 64521;
inline constexpr MessageId SErrorLoadingRecentIcon = 64522;
inline constexpr MessageId SErrorLoadingChosenIcon = 64523;
inline constexpr MessageId SSelectIconTitle = 64524;
inline constexpr MessageId SSelectIconFileTitle = 64525;
inline constexpr MessageId SSelectIconFilter = 64526;
inline constexpr MessageId SIconFileUnavailable = 64527;
inline constexpr MessageId SNoIconChosen = 64528;

// Backups of the maintenance tools (64780-64799).
inline constexpr MessageId SBackupCannotWrite = 64780;
inline constexpr MessageId SBackupFolderFailed = 64781;
inline constexpr MessageId SBackupRefusedDelete = 64782;
inline constexpr MessageId SBackupRefusedPlace = 64783;
inline constexpr MessageId SBackupNoView = 64784;
inline constexpr MessageId SRestoreConfirm = 64785;
inline constexpr MessageId SBackupFolderUnreadable = 64786;
inline constexpr MessageId SBackupUnreadable = 64787;

// Services (64600-64699): the update check.
inline constexpr MessageId SUpdateNoVersionInfo = 64600;
inline constexpr MessageId SUpdateLatestInaccessible = 64601;
inline constexpr MessageId SUpdateCannotGetLatest = 64602;
inline constexpr MessageId SUpdateCannotGetInfo = 64603;
inline constexpr MessageId SUpdateAvailable = 64604;
inline constexpr MessageId SUpdateVisitManually = 64605;
inline constexpr MessageId SUpdateIsLatest = 64606;
inline constexpr MessageId SUpdateNotWebPage = 64607;
inline constexpr MessageId SUpdateNoVersionNumber = 64608;
inline constexpr MessageId SDownloadHttpsOnly = 64609;
inline constexpr MessageId SDownloadHttpStatus = 64610;
inline constexpr MessageId SDownloadTimedOut = 64611;
// The About window.
inline constexpr MessageId SAboutVersion = 64620;
inline constexpr MessageId SAboutModule = 64621;
inline constexpr MessageId SAboutModule64 = 64622;
inline constexpr MessageId SAboutNotFound = 64623;
inline constexpr MessageId SAboutDynamicOn = 64624;
inline constexpr MessageId SAboutDynamicOff = 64625;
inline constexpr MessageId SAboutOS = 64626;
inline constexpr MessageId SAboutMemory = 64627;
inline constexpr MessageId SAboutFileTypes = 64628;
inline constexpr MessageId SAboutCopyInfo = 64629;
inline constexpr MessageId SAboutReleaseDate = 64630;
// The error report: the system information report, the dump's text file, the message of
// an unhandled exception, the mail.
inline constexpr MessageId SReportSystemHead = 64640;
inline constexpr MessageId SReportModule64 = 64641;
inline constexpr MessageId SReportSystemBody = 64642;
inline constexpr MessageId SReportLabelLanguage = 64643;
inline constexpr MessageId SReportLabelSystem = 64644;
inline constexpr MessageId SReportLabelSafeCall = 64645;
inline constexpr MessageId SReportLabelSystemSafeCall = 64646;
inline constexpr MessageId SReportDumpResult = 64647;
inline constexpr MessageId SReportInternalProblem = 64648;
inline constexpr MessageId SReportAskToSend = 64649;
inline constexpr MessageId SReportMailSubject = 64650;
inline constexpr MessageId SReportMailFailed = 64651;
inline constexpr MessageId SReportAccessViolation = 64652;
inline constexpr MessageId SReportSystemException = 64653;
// The colour lists (64700-64749): "Default", "Custom", then the standard and the
// system colours' names in list order.
inline constexpr MessageId SColorDefault = 64700;
inline constexpr MessageId SColorCustom = 64701;
inline constexpr MessageId SColorStandardFirst = 64702;  // 16 names
inline constexpr MessageId SColorSystemFirst = 64718;    // 25 names
// Interface languages (64680-64699).
inline constexpr MessageId SLangBadSignature = 64680;
inline constexpr MessageId SLangBadCodepage = 64681;
inline constexpr MessageId SLangDeletedComponent = 64682;
inline constexpr MessageId SLangObsoleteLine = 64683;
inline constexpr MessageId SLangUntranslatedLine = 64684;
inline constexpr MessageId SLangBadLine = 64685;
inline constexpr MessageId SLangObsoleteResLine = 64686;
inline constexpr MessageId SLangBadResId = 64687;
inline constexpr MessageId SLangBadDecoded = 64688;
inline constexpr MessageId SLangLoadError = 64689;
inline constexpr MessageId SLangTextTooLong = 64690;
inline constexpr MessageId SLangFileTooBig = 64691;
inline constexpr MessageId SLangUtf8System = 64692;
inline constexpr MessageId SLangDefault = 64693;
inline constexpr MessageId SLangCaption = 64694;
inline constexpr MessageId SLangErrorTitle = 64695;
inline constexpr MessageId SLangMoreProblems = 64696;
inline constexpr MessageId SLangUnreadable = 64697;
}  // namespace msg

// The built-in text of an id, or the loaded translation when one is installed and its
// placeholders are those of the built-in text (same kinds, same order).
std::string LoadResString(MessageId id);
// The built-in text alone, empty for an unknown id.
std::string BuiltInResString(MessageId id);
// Every id of the table, ascending.
std::vector<MessageId> MessageIds();
// The placeholders of a message text in order ("sd" for "%s ... %d"), so that a
// translation that would take other arguments can be told apart.
std::string PlaceholderKinds(const std::string& pattern);

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
