#pragma once
// A real main window with all its pages, created and shown on the test run's display.

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"
#include "app/Frame_Panel.h"
#include "core/Text.h"
#include "ui/Application.h"
#include "tests/driver/MessageBoxes.h"
#include "tests/driver/TestScale.h"
#include "tests/driver/Waiting.h"
#include "tests/windows/PumpUntil.h"

struct ShownButton {
  std::string Caption;
  int Left;
  int Top;
  int Width;
  bool operator==(const ShownButton&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const ShownButton& button) {
  return out << button.Caption << "@" << button.Left << "," << button.Top << " w" << button.Width;
}

// Buttons of a design (places and widths in design pixels) where they show at the test's scale.
inline std::vector<ShownButton> AtTestScale(const std::vector<ShownButton>& design) {
  std::vector<ShownButton> shown;
  for (const ShownButton& button : design) {
    const TPixelSpan across = ScaleSpan(button.Left, button.Width, TestDpi());
    shown.push_back({button.Caption, across.Start, ScaleToDpi(button.Top, TestDpi()), across.Length});
  }
  return shown;
}

class WizardFixture : public testing::Test {
 protected:
  void SetUp() override {
    ResetSettings();
    FForm = std::make_unique<TFormMain>();
    FForm->Create();
    FForm->Show();
    Pump();
  }

  void TearDown() override { FForm.reset(); }

  TFormMain& Form() { return *FForm; }

  // The page of that name, as the form's page names go (without regard to case).
  TFramePanel& Page(const std::string& name) {
    for (const auto& sheet : Form().PageControl->Sheets())
      if (LowerCase(sheet->Name()) == LowerCase(name)) return static_cast<TFramePanel&>(*sheet->Content());
    throw std::runtime_error("no page " + name);
  }

  static void Pump(double milliseconds = 0) {
    TApplication::Instance().ProcessMessagesUntil(GetTickCount64(), milliseconds);
  }

  // The buttons of the bar that a person sees, left group first, each group in the order added.
  std::vector<ShownButton> ShownButtons() const {
    std::vector<ShownButton> shown;
    for (int slot = 1; slot <= 2 * tPmButtonBar::kGroupSize; ++slot) {
      TLbSpeedButton& button = FForm->PnlButtons->Button(slot);
      if (!IsWindowVisible(button.Handle())) continue;
      RECT bounds;
      GetWindowRect(button.Handle(), &bounds);
      MapWindowPoints(nullptr, FForm->PnlButtons->Handle(), reinterpret_cast<POINT*>(&bounds), 2);
      shown.push_back({button.Caption(), bounds.left, bounds.top, bounds.right - bounds.left});
    }
    return shown;
  }

  TLbSpeedButton& ButtonCaptioned(const std::string& caption) {
    for (int slot = 1; slot <= 2 * tPmButtonBar::kGroupSize; ++slot) {
      TLbSpeedButton& button = FForm->PnlButtons->Button(slot);
      if (IsWindowVisible(button.Handle()) && button.Caption() == caption) return button;
    }
    throw std::runtime_error("no visible button " + caption);
  }

  // Clicks as the mouse does: the button gets its press and release and tells the bar.
  void Click(const std::string& caption) {
    SendMessageA(ButtonCaptioned(caption).Handle(), BM_CLICK, 0, 0);
  }

  std::string Header() const {
    char text[256] = "";
    GetWindowTextA(FForm->PnlHeader->Handle(), text, sizeof text);
    return text;
  }

  // Where a control really is, in its parent's client coordinates.
  static POINT PositionOf(const TControl& control) {
    RECT bounds;
    GetWindowRect(control.Handle(), &bounds);
    MapWindowPoints(nullptr, GetParent(control.Handle()), reinterpret_cast<POINT*>(&bounds), 2);
    return {bounds.left, bounds.top};
  }

  std::unique_ptr<TFormMain> FForm;
};
