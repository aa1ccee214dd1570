#pragma once

#include <string>

#include "app/Frame_Panel.h"

class TPnlError : public TFramePanel {
 public:
  TPnlError();
  ~TPnlError() override;
  void InitButtons(tPmButtonBar& bar) override;
  // Shows the failure message; the operating system's disk-full error reads "Disk Full".
  void SetErrorText(const std::string& text);
  std::string ErrorText() const;

 private:
  void btnRestartClick();
};

// The error page, through which the failure handler reaches it.
extern TPnlError* ErrorPanel;
