#pragma once

#include <array>
#include <cstdint>

#include "app/Frame_Panel.h"
#include "ui/Timer.h"

class TPnlWelcome : public TFramePanel {
 public:
  static constexpr int kWords = 8;

  TPnlWelcome();

  // Moves every word one step; runs every 50 ms from construction until "&Next".
  void Timer1Timer();

  TTimer Timer1{50, false};

  // Motion state of the moving words, indexed 1 to 8 like lblMove1 to lblMove8 (0 is unused).
  std::array<bool, kWords + 1> MoveUp{};
  std::array<bool, kWords + 1> MoveLeft{};
  std::array<std::uint8_t, kWords + 1> SpeedY{};
  std::array<std::uint8_t, kWords + 1> SpeedX{};

 protected:
  void Loaded() override;

 private:
  static const TPageButton kButtons[];

  void MoveWord(int word);
  void btnNextClick();

  TImage* Image2 = nullptr;
  std::array<TLabel*, kWords + 1> lblMove{};
};
