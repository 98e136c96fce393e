#pragma once
// The mail program through Simple MAPI: MAPISendMail of "MAPI32.DLL", looked up when a
// mail is sent, so that a system without a mail program only fails that mail.

#include <windows.h>

#include "services/error_report.h"

namespace orvane {

class TMapiControl : public IMailSender {
public:
  // The window the mail program's dialog belongs to; none: the desktop.
  explicit TMapiControl(HWND owner = nullptr) : owner_(owner) {}

  // A library or entry point that is missing fails with MAPI_E_FAILURE.
  TMailResult Send(const TMailMessage& message, bool showDialog, std::uint32_t& error) override;

private:
  HWND owner_;
};

}  // namespace orvane
