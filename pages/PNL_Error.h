#pragma once
// The error page: every unexpected failure ends here, with its message, advice, a copy button,
// the support mail link, "&Exit" and "&Restart".

#include <string>

#include "app/Frame_Panel.h"

class TPnlError : public TFramePanel {
 public:
  TPnlError();
  ~TPnlError() override;
  // Shows the failure message; the operating system's disk-full error reads "Disk Full".
  void SetErrorText(const std::string& text);
  std::string ErrorText() const;

 protected:
  void Loaded() override;

 private:
  static const TPageButton kButtons[];

  // Puts the shown message on the clipboard as plain text.
  void btnClipboardClick();
  // Opens a new mail to the support address in the user's mail program.
  void Label5Click();
  void btnRestartClick();

  TStaticText* StaticText1 = nullptr;
  TButton* btnClipboard = nullptr;
  TLabel* Label5 = nullptr;
};

// The error page, through which the failure handler reaches it.
extern TPnlError* ErrorPanel;
