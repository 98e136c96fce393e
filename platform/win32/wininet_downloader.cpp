#include "platform/win32/wininet_downloader.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>

#include "platform/exception.h"
#include "platform/messages.h"
#include "platform/win32/system_error.h"

namespace orvane {
namespace {

struct TInternetDeleter {
  void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
using TInternetHandle = std::unique_ptr<std::remove_pointer_t<HINTERNET>, TInternetDeleter>;

[[noreturn]] void RaiseLastError() {
  const DWORD code = GetLastError();
  throw EOSError(InternetErrorMessage(code), code);
}

bool IsHttps(const std::string& url) {
  return url.size() > 8 && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, url.c_str(), 8,
                                          "https://", 8) == CSTR_EQUAL;
}

// The system's own texts where its library carries none (Wine's has no message table).
const char* KnownInternetError(unsigned long code) {
  switch (code) {
    case ERROR_INTERNET_TIMEOUT: return "The operation timed out";
    case ERROR_INTERNET_NAME_NOT_RESOLVED: return "The server name or address could not be resolved";
    case ERROR_INTERNET_CANNOT_CONNECT: return "A connection with the server could not be established";
    case ERROR_INTERNET_CONNECTION_ABORTED: return "The connection with the server was terminated abnormally";
    case ERROR_INTERNET_CONNECTION_RESET: return "The connection with the server was reset";
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID: return "The certificate of the server has expired or is not yet valid";
    case ERROR_INTERNET_SEC_CERT_CN_INVALID: return "The certificate of the server names another host";
    case ERROR_INTERNET_INVALID_CA: return "The certificate of the server was issued by an authority that is not trusted";
    case ERROR_INTERNET_SEC_CERT_REV_FAILED: return "The revocation of the server's certificate could not be checked";
    case ERROR_INTERNET_SEC_CERT_REVOKED: return "The certificate of the server has been revoked";
    case ERROR_INTERNET_SEC_CERT_ERRORS: return "The certificate of the server is not valid";
    case ERROR_INTERNET_SECURITY_CHANNEL_ERROR: return "A secure connection with the server could not be established";
    case ERROR_HTTP_INVALID_SERVER_RESPONSE: return "The server response could not be parsed";
    default: return nullptr;
  }
}

}  // namespace

std::string InternetErrorMessage(unsigned long code) {
  if (code >= INTERNET_ERROR_BASE && code <= INTERNET_ERROR_LAST) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
        GetModuleHandleA("wininet.dll"), code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length && text ? std::string(text, length) : std::string();
    if (text) LocalFree(text);
    while (!message.empty() &&
           (static_cast<unsigned char>(message.back()) <= ' ' || message.back() == '.'))
      message.pop_back();
    if (message.empty() && KnownInternetError(code)) message = KnownInternetError(code);
    if (!message.empty()) return message + " (" + std::to_string(code) + ")";
  }
  return SystemErrorMessage(code) + " (" + std::to_string(code) + ")";
}

namespace {

// What the fetching thread leaves for the caller.
struct TFetch {
  std::mutex Lock;
  std::condition_variable Done;
  bool Finished = false;
  std::string Text;
  std::exception_ptr Error;
};

void Fetch(HINTERNET session, const std::string& url, const TDownloadLimits& limits,
           TFetch& fetch) {
  const ULONGLONG started = GetTickCount64();
  // No flag that lets a certificate the system does not trust pass, and no dialog that
  // would ask the user to.
  TInternetHandle request(InternetOpenUrlA(
      session, url.c_str(), nullptr, 0,
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
          INTERNET_FLAG_SECURE | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES |
          INTERNET_FLAG_NO_AUTH,
      0));
  if (!request) RaiseLastError();
  // A redirection may lead anywhere: only an https page is read.
  char finalUrl[2084] = {};
  DWORD finalLength = sizeof finalUrl;
  if (InternetQueryOptionA(request.get(), INTERNET_OPTION_URL, finalUrl, &finalLength) &&
      !IsHttps(finalUrl))
    throw EOSError(FormatRes(msg::SDownloadHttpsOnly, {std::string(finalUrl)}),
                   ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR);
  DWORD status = 0;
  DWORD statusLength = sizeof status;
  if (HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                     &statusLength, nullptr) &&
      status != HTTP_STATUS_OK)
    throw EOSError(FormatRes(msg::SDownloadHttpStatus, {static_cast<long long>(status)}),
                   ERROR_INTERNET_INVALID_URL);
  std::string text;
  std::size_t received = 0;
  char buffer[1025];
  while (received < limits.MaxBytes) {
    if (GetTickCount64() - started > limits.TotalTimeoutMs)
      throw EOSError(LoadResString(msg::SDownloadTimedOut), ERROR_INTERNET_TIMEOUT);
    ZeroMemory(buffer, sizeof buffer);
    DWORD read = 0;
    const DWORD wanted =
        static_cast<DWORD>(std::min<std::size_t>(sizeof buffer - 1, limits.MaxBytes - received));
    if (!InternetReadFile(request.get(), buffer, wanted, &read)) RaiseLastError();
    if (read == 0) break;
    received += read;
    // Each chunk as text, up to its first zero byte.
    text.append(buffer, strnlen(buffer, read));
  }
  std::lock_guard<std::mutex> lock(fetch.Lock);
  fetch.Text = std::move(text);
}

}  // namespace

std::string TWinINetDownloader::DownloadText(const std::string& url) {
  // The version file and the pages it names come over an authenticated connection only:
  // a plain one could be answered by anyone on the way.
  if (!IsHttps(url)) throw EOSError(FormatRes(msg::SDownloadHttpsOnly, {url}), ERROR_INVALID_PARAMETER);
  TInternetHandle session(
      InternetOpenA(agent_.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) RaiseLastError();
  for (auto [option, value] : {std::pair{INTERNET_OPTION_CONNECT_TIMEOUT, limits_.ConnectTimeoutMs},
                               {INTERNET_OPTION_RECEIVE_TIMEOUT, limits_.ReceiveTimeoutMs},
                               {INTERNET_OPTION_SEND_TIMEOUT, limits_.ReceiveTimeoutMs}}) {
    DWORD ms = value;
    InternetSetOptionA(session.get(), option, &ms, sizeof ms);
  }
  // WinINet does not keep every limit it is given (waiting for an answer's headers, Wine's
  // keeps none): the fetch runs on a thread of its own and is given up at the deadline.
  // Its state is shared: a stuck thread may outlive this call.
  auto fetch = std::make_shared<TFetch>();
  std::thread worker([handle = session.get(), fetch, url, limits = limits_] {
    try {
      Fetch(handle, url, limits, *fetch);
    } catch (...) {
      std::lock_guard<std::mutex> lock(fetch->Lock);
      fetch->Error = std::current_exception();
    }
    std::lock_guard<std::mutex> lock(fetch->Lock);
    fetch->Finished = true;
    fetch->Done.notify_all();
  });
  std::unique_lock<std::mutex> lock(fetch->Lock);
  if (!fetch->Done.wait_for(lock, std::chrono::milliseconds(limits_.TotalTimeoutMs),
                            [&] { return fetch->Finished; })) {
    lock.unlock();
    // Closing the session (as this call leaves) cancels what the thread waits for; it
    // finishes on its own.
    worker.detach();
    throw EOSError(LoadResString(msg::SDownloadTimedOut), ERROR_INTERNET_TIMEOUT);
  }
  lock.unlock();
  worker.join();
  if (fetch->Error) std::rethrow_exception(fetch->Error);
  return std::move(fetch->Text);
}

}  // namespace orvane
