#include <gtest/gtest.h>
#include <windows.h>

#include "app/ProgramStart.h"

namespace {

TEST(ProgramStartTest, LibrariesBesideTheProgramAreNotLoadedOnceRestricted) {
  HMODULE beside = LoadLibraryA("pelmora_planted.dll");
  ASSERT_NE(beside, nullptr) << "the probe library must lie beside the test program";
  FreeLibrary(beside);

  RestrictDllSearchToSystemFolder();

  SetLastError(0);
  EXPECT_EQ(LoadLibraryA("pelmora_planted.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  HMODULE system = LoadLibraryA("wininet.dll");
  EXPECT_NE(system, nullptr) << "system libraries still load";
  if (system) FreeLibrary(system);
}

}  // namespace
