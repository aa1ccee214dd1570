#include "app/PMI_ButtonBar.h"

#include <cctype>
#include <vector>

#include "app/AutomationIds.h"
#include "core/ButtonLayout.h"
#include "ui/Fonts.h"

namespace {

const TFontSpec kCaptionFont{.Bold = true};

}  // namespace

char TLbSpeedButton::AccessKey() const {
  for (size_t i = 0; i + 1 < FCaption.size(); ++i) {
    if (FCaption[i] != '&') continue;
    if (FCaption[i + 1] != '&')
      return static_cast<char>(std::toupper(static_cast<unsigned char>(FCaption[i + 1])));
    ++i;  // "&&" is a literal ampersand
  }
  return 0;
}

void TLbSpeedButton::Click() {
  if (OnClick) OnClick(*this);
}

TControl::TWindowClass TLbSpeedButton::GetWindowClass() const {
  return {"BUTTON", BS_OWNERDRAW};
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
  return {"PmButtonBar", WS_VISIBLE | WS_CLIPCHILDREN, 0, true};
}

void tPmButtonBar::AfterCreate() {
  for (size_t i = 0; i < FButtons.size(); ++i) {
    TControlSpec spec{.Name = "", .Width = ButtonWidth(1), .Height = kButtonHeight,
                     .Font = kCaptionFont};
    FButtons[i] = std::make_unique<TLbSpeedButton>(spec);
    FButtons[i]->CreateHandle(this);
    SetWindowLongPtrA(FButtons[i]->Handle(), GWLP_ID, kFirstBarButtonId + static_cast<int>(i));
  }
}

void tPmButtonBar::Clear() {
  for (auto& button : FButtons) button->SetVisible(false);
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
    if (button->Visible() && button->AccessKey() == key) {
      button->Click();
      return true;
    }
  }
  return false;
}
