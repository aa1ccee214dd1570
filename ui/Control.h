#pragma once
// Base of every control of the wizard. Each control is a real child window whose window text
// is its caption, so screen readers and UI automation can read it. Windows of our own classes
// run through one window procedure that calls the member for each message; notifications of
// the system's controls (colours, clicks, owner drawing) reach the control they concern through
// its parent.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/Design.h"

class Control {
 public:
  explicit Control(const ControlSpec& spec);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  HWND Handle() const { return handle_; }
  const std::string& Name() const { return name_; }
  Control* Parent() const { return parent_; }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetBounds(int left, int top, int width, int height);
  void SetPosition(int left, int top) { SetBounds(left, top, width_, height_); }

  std::string Caption() const;
  void SetCaption(const std::string& caption);
  bool Visible() const;
  void SetVisible(bool visible);

  // The background shown behind the control: its own colour or, when unset, its parent's.
  COLORREF BackgroundColor() const;
  void SetColor(COLORREF color);
  COLORREF FontColor() const { return fontColor_; }
  void SetFontColor(COLORREF color);
  void SetFont(const FontSpec& font);
  const FontSpec& Font() const { return font_; }
  bool HasOption(ControlOption option) const { return (options_ & option) != 0; }

  std::function<void(Control& sender)> OnClick;

  // Creates the window as a child of parent; without one, a top-level window owned by owner.
  void CreateHandle(Control* parent, HWND owner = nullptr);

  static Control* FromHandle(HWND handle);

 protected:
  struct WindowClass {
    const char* Name;        // a system class ("STATIC") or one of ours
    DWORD Style;
    DWORD ExStyle = 0;
    bool Own = false;        // ours: its messages come to HandleMessage
  };
  virtual WindowClass GetWindowClass() const = 0;
  // Runs after the window exists (children of a page, pictures, ...).
  virtual void AfterCreate() {}

  // Messages of our own window classes.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Notifications of a system control, delivered by its parent.
  virtual HBRUSH OnCtlColor(HDC dc);
  virtual void OnCommand(WORD code);
  virtual bool OnDrawItem(const DRAWITEMSTRUCT&) { return false; }
  virtual LRESULT OnNotify(const NMHDR&) { return 0; }

 public:
  // Offered a keyboard message meant for this control before dialog navigation sees it
  // (Tab, Enter); true when the control consumed it.
  virtual bool PreProcessKey(MSG&) { return false; }

 protected:

  LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);
  void FillBackground(HDC dc, const RECT& area) const;

  std::string name_;
  std::string caption_;
  Control* parent_ = nullptr;
  int left_, top_, width_, height_;
  COLORREF color_;
  COLORREF fontColor_;
  FontSpec font_;
  std::uint32_t options_;
  HWND handle_ = nullptr;

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT RouteToChild(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
};
