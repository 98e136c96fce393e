#include "platform/win32/mapi_mail.h"

#include <mapi.h>

#include <vector>

#include "platform/win32/win32_handles.h"

namespace orvane {
namespace {

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

TMailResult TMapiControl::Send(const TMailMessage& message, bool showDialog,
                               std::uint32_t& error) {
  error = MAPI_E_FAILURE;
  TModuleHandle library(LoadLibraryA("MAPI32.DLL"));
  if (!library) return TMailResult::Failed;
  auto sendMail =
      reinterpret_cast<LPMAPISENDMAIL>(
      reinterpret_cast<void (*)()>(GetProcAddress(library.get(), "MAPISendMail")));
  if (!sendMail) return TMailResult::Failed;

  // The texts live in these strings until the call is over; MAPI takes them as LPSTR.
  std::string subject = message.Subject;
  std::string body = message.Body;
  std::vector<std::string> names(message.Recipients);
  std::vector<std::string> addresses;
  for (const std::string& recipient : message.Recipients) addresses.push_back("SMTP:" + recipient);
  std::vector<MapiRecipDesc> recipients(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    recipients[i] = MapiRecipDesc{};
    recipients[i].ulRecipClass = MAPI_TO;
    recipients[i].lpszName = names[i].data();
    recipients[i].lpszAddress = addresses[i].data();
  }
  std::vector<std::string> paths(message.Attachments);
  std::vector<std::string> shown;
  for (const std::string& path : paths) shown.push_back(FileNameOf(path));
  std::vector<MapiFileDesc> files(paths.size());
  for (std::size_t i = 0; i < paths.size(); ++i) {
    files[i] = MapiFileDesc{};
    files[i].nPosition = static_cast<ULONG>(-1);  // not in the text
    files[i].lpszPathName = paths[i].data();
    files[i].lpszFileName = shown[i].data();
  }
  MapiRecipDesc originator{};
  MapiMessage mail{};
  mail.lpszSubject = subject.data();
  mail.lpszNoteText = body.data();
  mail.lpOriginator = &originator;
  mail.nRecipCount = static_cast<ULONG>(recipients.size());
  mail.lpRecips = recipients.empty() ? nullptr : recipients.data();
  mail.nFileCount = static_cast<ULONG>(files.size());
  mail.lpFiles = files.empty() ? nullptr : files.data();
  const FLAGS flags = showDialog ? MAPI_LOGON_UI | MAPI_NEW_SESSION | MAPI_DIALOG : 0;
  const ULONG result = sendMail(0, reinterpret_cast<ULONG_PTR>(owner_), &mail, flags, 0);
  error = result;
  if (result == SUCCESS_SUCCESS) return TMailResult::Sent;
  if (result == MAPI_USER_ABORT) return TMailResult::Cancelled;
  return TMailResult::Failed;
}

}  // namespace orvane
