#pragma once
// The button bar under the page area: 24 flat buttons created hidden, twelve for the left group
// and twelve for the right group, which every page fills with its own buttons when it is shown.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/Control.h"

// A flat, owner-drawn button with a bold caption whose "&" marks the access key.
class TLbSpeedButton : public Control {
 public:
  explicit TLbSpeedButton(const ControlSpec& spec) : Control(spec) {}

  int Tag = 0;  // the ButtonID
  COLORREF FaceColor = Colors::Black;
  COLORREF LightColor = Colors::Black;
  COLORREF ShadowColor = Colors::Black;

  // The access key of the caption, in upper case; 0 without one.
  char AccessKey() const;
  void Click();

 protected:
  WindowClass GetWindowClass() const override;
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
};

class tPmButtonBar : public Control {
 public:
  static constexpr int kGroupSize = 12;
  using ClickHandler = std::function<void(TLbSpeedButton& sender)>;

  explicit tPmButtonBar(const ControlSpec& spec);

  void Clear();
  void AddLeftButton(const std::string& caption, int buttonId, ClickHandler onClick,
                     std::uint8_t widthKind);
  void AddRightButton(const std::string& caption, int buttonId, ClickHandler onClick,
                      std::uint8_t widthKind);
  void SetColors(COLORREF caption, COLORREF shadow, COLORREF button, COLORREF light, COLORREF bar);

  int LeftCount() const { return leftCount_; }
  int RightCount() const { return rightCount_; }
  // Slot 1 to 24: 1 to 12 the left group, 13 to 24 the right group.
  TLbSpeedButton& Button(int slot) const { return *buttons_.at(slot - 1); }

  // Clicks the visible button whose access key is key; false when there is none.
  bool ClickAccessKey(char key);

 protected:
  WindowClass GetWindowClass() const override;
  void AfterCreate() override;

 private:
  void AddButton(bool rightGroup, const std::string& caption, int buttonId, ClickHandler onClick,
                 std::uint8_t widthKind);
  void Paint(TLbSpeedButton& button) const;

  std::array<std::unique_ptr<TLbSpeedButton>, 2 * kGroupSize> buttons_;
  int leftCount_ = 0;
  int rightCount_ = 0;
  COLORREF captionColor_ = Colors::Black;
  COLORREF shadowColor_ = Colors::Black;
  COLORREF buttonColor_ = Colors::Black;
  COLORREF lightColor_ = Colors::Black;
};
