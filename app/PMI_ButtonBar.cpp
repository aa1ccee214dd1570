#include "app/PMI_ButtonBar.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "app/AutomationIds.h"
#include "core/ButtonLayout.h"
#include "ui/Fonts.h"

namespace {

const TFontSpec kCaptionFont{.Bold = true};
// How far inside the button's edge the focus mark runs at the designs' scale, as on the
// system's push buttons.
constexpr int kFocusMarkInset = 3;

}  // namespace

char TLbSpeedButton::AccessKey() const { return AccessKeyOf(FCaption); }

void TLbSpeedButton::Click() {
  if (OnClick) OnClick(*this);
}

TControl::TWindowClass TLbSpeedButton::GetWindowClass() const {
  return {"BUTTON", WS_TABSTOP | BS_OWNERDRAW};
}

TAccessibleFacts TLbSpeedButton::AccessibleFacts() const {
  auto* bar = dynamic_cast<const tPmButtonBar*>(FParent);
  return {.Role = ROLE_SYSTEM_PUSHBUTTON,
          .Name = SpokenCaption(FCaption),
          .State = bar && bar->DefaultButton() == this ? STATE_SYSTEM_DEFAULT : 0,
          .KeyboardShortcut = AccessKeyShortcut(FCaption),
          .DefaultAction = "Press"};
}

bool TLbSpeedButton::OnDrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT area = item.rcItem;
  FillRect(dc, &area, GetSolidBrush(FaceColor));

  // Flat look: a light edge at the top and left and a shadow at the bottom and right,
  // exchanged while the button is pressed.
  bool pressed = (item.itemState & ODS_SELECTED) != 0;
  HPEN light = CreatePen(PS_SOLID, 1, pressed ? ShadowColor : LightColor);
  HPEN shadow = CreatePen(PS_SOLID, 1, pressed ? LightColor : ShadowColor);
  HGDIOBJ oldPen = SelectObject(dc, light);
  MoveToEx(dc, area.left, area.bottom - 1, nullptr);
  LineTo(dc, area.left, area.top);
  LineTo(dc, area.right - 1, area.top);
  SelectObject(dc, shadow);
  LineTo(dc, area.right - 1, area.bottom - 1);
  LineTo(dc, area.left - 1, area.bottom - 1);
  SelectObject(dc, oldPen);
  DeleteObject(light);
  DeleteObject(shadow);

  HGDIOBJ oldFont = SelectObject(dc, FontHandle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, FFontColor);
  if (pressed) OffsetRect(&area, 1, 1);
  UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  if (item.itemState & ODS_NOACCEL) format |= DT_HIDEPREFIX;
  DrawTextA(dc, FCaption.c_str(), -1, &area, format);
  SelectObject(dc, oldFont);
  // The system's focus mark inside the edges, shown whether or not the keyboard was used yet.
  if (item.itemState & ODS_FOCUS) {
    RECT mark = item.rcItem;
    InflateRect(&mark, -Scaled(kFocusMarkInset), -Scaled(kFocusMarkInset));
    DrawFocusRect(dc, &mark);
  }
  return true;
}

bool TLbSpeedButton::CaptionRoom(HDC, RECT& room, UINT& format) const {
  // Inside the one-pixel edge, with a pixel for the caption's move while pressed.
  GetClientRect(FHandle, &room);
  InflateRect(&room, -2, -2);
  format = DT_SINGLELINE;
  return true;
}

tPmButtonBar::tPmButtonBar(const TControlSpec& spec) : TControl(spec) {}

TControl::TWindowClass tPmButtonBar::GetWindowClass() const {
  return {"PmButtonBar", WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, true};
}

TLbSpeedButton& tPmButtonBar::Button(int slot) {
  std::unique_ptr<TLbSpeedButton>& button = FButtons.at(static_cast<std::size_t>(slot - 1));
  if (button) return *button;
  TControlSpec spec{.Name = "", .Width = ButtonWidth(1), .Height = kButtonHeight, .Font = kCaptionFont};
  button = std::make_unique<TLbSpeedButton>(spec);
  button->CreateHandle(this);
  SetWindowLongPtrA(button->Handle(), GWLP_ID, kFirstBarButtonId + slot - 1);
  return *button;
}

void tPmButtonBar::Clear() {
  for (auto& button : FButtons)
    if (button) button->SetVisible(false);
  FLeftCount = 0;
  FRightCount = 0;
}

void tPmButtonBar::AddLeftButton(const std::string& caption, int buttonId, TClickHandler onClick,
                                 std::uint8_t widthKind) {
  AddButton(false, caption, buttonId, std::move(onClick), widthKind);
}

void tPmButtonBar::AddRightButton(const std::string& caption, int buttonId, TClickHandler onClick,
                                  std::uint8_t widthKind) {
  AddButton(true, caption, buttonId, std::move(onClick), widthKind);
}

void tPmButtonBar::AddButton(bool rightGroup, const std::string& caption, int buttonId,
                             TClickHandler onClick, std::uint8_t widthKind) {
  int& count = rightGroup ? FRightCount : FLeftCount;
  if (count >= kGroupSize) return;
  int firstSlot = rightGroup ? kGroupSize + 1 : 1;

  std::vector<int> placedWidths;
  for (int slot = firstSlot; slot < firstSlot + count; ++slot)
    placedWidths.push_back(Button(slot).Width());
  TLbSpeedButton& button = Button(firstSlot + count);
  ++count;

  int width = ButtonWidth(widthKind);
  int left = rightGroup ? NextRightGroupLeft(FWidth, width, placedWidths)
                        : NextLeftGroupLeft(placedWidths);
  button.SetBounds(left, ButtonTop(FHeight), width, kButtonHeight);
  button.OnClick = [onClick = std::move(onClick)](TControl& sender) {
    if (onClick) onClick(static_cast<TLbSpeedButton&>(sender));
  };
  button.Tag = buttonId;
  button.SetCaption(caption);
  Paint(button);
  button.SetVisible(true);
  OrderForTab();
}

void tPmButtonBar::OrderForTab() const {
  std::vector<TLbSpeedButton*> shown;
  for (const auto& button : FButtons)
    if (button && button->Visible()) shown.push_back(button.get());
  std::sort(shown.begin(), shown.end(),
            [](const TLbSpeedButton* a, const TLbSpeedButton* b) { return a->Left() < b->Left(); });
  // Each goes to the end of the bar's children in turn: they end up in the order of the list.
  for (TLbSpeedButton* button : shown)
    SetWindowPos(button->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TLbSpeedButton* tPmButtonBar::DefaultButton() const {
  if (FRightCount == 0) return nullptr;
  TLbSpeedButton* outermost = FButtons[kGroupSize].get();
  return outermost && outermost->Visible() ? outermost : nullptr;
}

TAccessibleFacts tPmButtonBar::AccessibleFacts() const {
  return {.Role = ROLE_SYSTEM_GROUPING, .Name = "Buttons"};
}

void tPmButtonBar::Paint(TLbSpeedButton& button) const {
  button.LightColor = FLightColor;
  button.ShadowColor = FShadowColor;
  button.FaceColor = FButtonColor;
  button.SetFontColor(FCaptionColor);
  button.SetFont(kCaptionFont);
}

void tPmButtonBar::SetColors(COLORREF caption, COLORREF shadow, COLORREF button, COLORREF light,
                             COLORREF bar) {
  FCaptionColor = caption;
  FShadowColor = shadow;
  FButtonColor = button;
  FLightColor = light;
  SetColor(bar);
  for (int slot = 1; slot <= FLeftCount; ++slot) Paint(Button(slot));
  for (int slot = kGroupSize + 1; slot <= kGroupSize + FRightCount; ++slot) Paint(Button(slot));
}

bool tPmButtonBar::ClickAccessKey(char key) {
  key = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
  for (auto& button : FButtons) {
    if (button && button->Visible() && button->AccessKey() == key) {
      button->Click();
      return true;
    }
  }
  return false;
}
