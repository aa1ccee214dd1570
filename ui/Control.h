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

#include "ui/Accessible.h"
#include "ui/Design.h"

class TControl {
 public:
  explicit TControl(const TControlSpec& spec);
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;
  virtual ~TControl();

  HWND Handle() const { return FHandle; }
  const std::string& Name() const { return FName; }
  TControl* Parent() const { return FParent; }

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetBounds(int left, int top, int width, int height);
  void SetPosition(int left, int top) { SetBounds(left, top, FWidth, FHeight); }

  std::string Caption() const;
  void SetCaption(const std::string& caption);
  bool Visible() const;
  void SetVisible(bool visible);

  // The background shown behind the control: its own colour or, when unset, its parent's.
  COLORREF BackgroundColor() const;
  void SetColor(COLORREF color);
  COLORREF FontColor() const { return FFontColor; }
  void SetFontColor(COLORREF color);
  void SetFont(const TFontSpec& font);
  const TFontSpec& Font() const { return FFont; }
  bool HasOption(TControlOption option) const { return (FOptions & option) != 0; }
  // The design's description: what a reader calls a control without a caption of its own.
  const std::string& Description() const { return FDescription; }

  // What the control tells a screen reader about itself (ui/Accessible.h). By default a pane
  // named by its description or caption.
  virtual TAccessibleFacts AccessibleFacts() const;

  std::function<void(TControl& sender)> OnClick;

  // Creates the window as a child of parent; without one, a top-level window owned by owner.
  void CreateHandle(TControl* parent, HWND owner = nullptr);

  static TControl* FromHandle(HWND handle);

 protected:
  struct TWindowClass {
    const char* Name;        // a system class ("STATIC") or one of ours
    DWORD Style;
    DWORD ExStyle = 0;
    bool Own = false;        // ours: its messages come to HandleMessage
  };
  virtual TWindowClass GetWindowClass() const = 0;
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

  std::string FName;
  std::string FCaption;
  std::string FDescription;
  TControl* FParent = nullptr;
  int FLeft, FTop, FWidth, FHeight;
  COLORREF FColor;
  COLORREF FFontColor;
  TFontSpec FFont;
  std::uint32_t FOptions;
  HWND FHandle = nullptr;

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT RouteToChild(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
};
