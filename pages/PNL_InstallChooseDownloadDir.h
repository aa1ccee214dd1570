#pragma once

#include "pages/FolderPage.h"

class TPNLInstallChooseDownloadDir : public TFolderPage {
 public:
  TPNLInstallChooseDownloadDir();

 protected:
  std::string& Setting() const override;
  std::string ExplanationText() const override;
  std::string Proposal() const override;
  std::string TextForSelection(const std::string& selected) const override;
  void btnNextClick() override;
  void btnPreviousClick() override;
};
