#pragma once
// The button bar under the page area: 24 slots for flat buttons, twelve for the left group and
// twelve for the right group, which every page fills with its own buttons when it is shown. A
// slot's button is made, hidden, the first time the slot is filled or asked for: the wizard's
// window shows sooner without twenty buttons that no page may ever use.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/Control.h"

// A flat, owner-drawn button with a bold caption whose "&" marks the access key.
class TLbSpeedButton : public TControl {
 public:
  explicit TLbSpeedButton(const TControlSpec& spec) : TControl(spec) {}

  int Tag = 0;  // the ButtonID
  COLORREF FaceColor = Colors::Black;
  COLORREF LightColor = Colors::Black;
  COLORREF ShadowColor = Colors::Black;

  // The access key of the caption, in upper case; 0 without one.
  char AccessKey() const;
  void Click();
  TAccessibleFacts AccessibleFacts() const override;

 protected:
  TWindowClass GetWindowClass() const override;
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
  bool CaptionRoom(HDC dc, RECT& room, UINT& format) const override;
};

class tPmButtonBar : public TControl {
 public:
  static constexpr int kGroupSize = 12;
  using TClickHandler = std::function<void(TLbSpeedButton& sender)>;

  explicit tPmButtonBar(const TControlSpec& spec);

  void Clear();
  void AddLeftButton(const std::string& caption, int buttonId, TClickHandler onClick,
                     std::uint8_t widthKind);
  void AddRightButton(const std::string& caption, int buttonId, TClickHandler onClick,
                      std::uint8_t widthKind);
  void SetColors(COLORREF caption, COLORREF shadow, COLORREF button, COLORREF light, COLORREF bar);

  int LeftCount() const { return FLeftCount; }
  int RightCount() const { return FRightCount; }
  // Slot 1 to 24: 1 to 12 the left group, 13 to 24 the right group.
  TLbSpeedButton& Button(int slot);

  // Clicks the visible button whose access key is key; false when there is none.
  bool ClickAccessKey(char key);
  // The button that Enter presses, as a dialog's default button: the page's forward action,
  // the outermost button of the right group; null while the right group is empty.
  TLbSpeedButton* DefaultButton() const;
  TAccessibleFacts AccessibleFacts() const override;

 protected:
  TWindowClass GetWindowClass() const override;

 private:
  void AddButton(bool rightGroup, const std::string& caption, int buttonId, TClickHandler onClick,
                 std::uint8_t widthKind);
  void Paint(TLbSpeedButton& button) const;
  // Tab goes through the buttons as they stand, from left to right.
  void OrderForTab() const;

  // Null for a slot whose button is not made yet, which acts as a hidden one.
  std::array<std::unique_ptr<TLbSpeedButton>, 2 * kGroupSize> FButtons;
  int FLeftCount = 0;
  int FRightCount = 0;
  COLORREF FCaptionColor = Colors::Black;
  COLORREF FShadowColor = Colors::Black;
  COLORREF FButtonColor = Colors::Black;
  COLORREF FLightColor = Colors::Black;
};
