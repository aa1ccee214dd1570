#pragma once
// The wizard's pages by identity. Page changes name their target by TPageId, so that a misspelt
// target does not build; the table pairs each identity once with the name its page is found
// under, by which ShowPanel still finds a page (without regard to case) for callers that hold a
// name.

#include <array>
#include <cstddef>

enum class TPageId {
  Welcome,
  Disclaimer,
  Install,
  InstallChooseDir,
  InstallChooseDownloadDir,
  InstallChooseConnection,
  InstallGo,
  InstallInstalling,
  InstallReady,
  UpgradeFindDir,
  UpgradeStart,
  UpgradeUpgrading,
  UpgradeReady,
  Error,
};

struct TPageName {
  TPageId Id;
  const char* Name;
};

inline constexpr std::array<TPageName, 14> kPageNames{{
    {TPageId::Welcome, "PnlWelcome"},
    {TPageId::Disclaimer, "PnlDisclaimer"},
    {TPageId::Install, "PnlInstall"},
    {TPageId::InstallChooseDir, "PnlInstallChooseDir"},
    {TPageId::InstallChooseDownloadDir, "PNLInstallChooseDownloadDir"},
    {TPageId::InstallChooseConnection, "PNLInstallChooseConnection"},
    {TPageId::InstallGo, "PNLInstallGo"},
    {TPageId::InstallInstalling, "PNLInstallInstalling"},
    {TPageId::InstallReady, "PNLInstallReady"},
    {TPageId::UpgradeFindDir, "PnlUpgradeFindDir"},
    {TPageId::UpgradeStart, "PNLUpgradeStart"},
    {TPageId::UpgradeUpgrading, "PNLUpgradeUpgrading"},
    {TPageId::UpgradeReady, "PNLUpgradeReady"},
    {TPageId::Error, "PnlError"},
}};

namespace page_names_detail {
constexpr bool EveryIdentityInItsPlace() {
  for (std::size_t index = 0; index < kPageNames.size(); ++index)
    if (static_cast<std::size_t>(kPageNames[index].Id) != index) return false;
  return kPageNames.size() == static_cast<std::size_t>(TPageId::Error) + 1;
}
}  // namespace page_names_detail
static_assert(page_names_detail::EveryIdentityInItsPlace(),
              "kPageNames holds every page once, in the order of TPageId");

constexpr const char* PageName(TPageId page) { return kPageNames[static_cast<std::size_t>(page)].Name; }
