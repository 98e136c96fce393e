// A mail program for tests: its MAPISendMail writes what it was handed (flags, subject,
// body, recipients, attachments and whether each file is there) to the file that
// ORVANE_MAIL_RECORD names, and reports success.

#include <windows.h>
#include <mapi.h>

#include <cstdio>
#include <string>

namespace {

std::string Text(LPCSTR text) { return text ? text : "(null)"; }

}  // namespace

extern "C" __declspec(dllexport) ULONG WINAPI MAPISendMail(LHANDLE, ULONG_PTR, lpMapiMessage message,
                                                           FLAGS flags, ULONG) {
  char name[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("ORVANE_MAIL_RECORD", name, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || !message) return MAPI_E_FAILURE;
  FILE* out = std::fopen(name, "wb");
  if (!out) return MAPI_E_FAILURE;
  std::string record = "flags=" + std::to_string(flags) + "\n";
  record += "subject=" + Text(message->lpszSubject) + "\n";
  for (ULONG i = 0; i < message->nRecipCount; ++i)
    record += "recipient=" + std::to_string(message->lpRecips[i].ulRecipClass) + "|" +
              Text(message->lpRecips[i].lpszName) + "|" + Text(message->lpRecips[i].lpszAddress) +
              "\n";
  for (ULONG i = 0; i < message->nFileCount; ++i) {
    const MapiFileDesc& file = message->lpFiles[i];
    const bool there = file.lpszPathName &&
                       GetFileAttributesA(file.lpszPathName) != INVALID_FILE_ATTRIBUTES;
    record += "attachment=" + Text(file.lpszPathName) + "|" + Text(file.lpszFileName) + "|" +
              std::to_string(static_cast<long>(file.nPosition)) + "|" +
              (there ? "there" : "missing") + "\n";
  }
  record += "body=" + Text(message->lpszNoteText) + "\n";
  std::fwrite(record.data(), 1, record.size(), out);
  std::fclose(out);
  return SUCCESS_SUCCESS;
}
