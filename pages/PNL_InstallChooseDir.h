#pragma once

#include "pages/FolderPage.h"

class TPnlInstallChooseDir : public TFolderPage {
 public:
  TPnlInstallChooseDir();

 protected:
  std::string& Setting() const override;
  std::string ExplanationText() const override;
  std::string Proposal() const override;
  std::string TextForSelection(const std::string& selected) const override;
  void btnNextClick() override;
  void btnPreviousClick() override;
  void Edit1Exit() override;
};
