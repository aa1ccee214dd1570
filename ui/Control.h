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
#include <vector>

#include "core/DisplayScale.h"
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

  // Place and size in pixels of the design (at 96 dots per inch), as the pages give them; the
  // window stands there multiplied by the control's scale. A window without a parent is placed
  // in pixels of the screen.
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetBounds(int left, int top, int width, int height);
  void SetPosition(int left, int top) { SetBounds(left, top, FWidth, FHeight); }
  // Where the window stands in its parent's client area, in pixels of the display.
  RECT DisplayBounds() const;

  // The dots per inch the control is laid out at; a child takes its parent's when it is made.
  int Dpi() const { return FDpi; }
  // Lays the control and every control inside it out anew at another scale: places, sizes,
  // fonts and what each kind keeps at its scale.
  void ChangeDpi(int dpi);

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
  // The controls whose window is a child of parent's, in no particular order; found without
  // asking the window system.
  static std::vector<TControl*> ControlsInside(const TControl& parent);

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
  // Runs when the control has been laid out at another scale, for what a kind keeps at it.
  virtual void AfterDpiChange() {}

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
  // A length of the design at the control's scale, for what a kind draws itself.
  int Scaled(int designPixels) const { return ScaleToDpi(designPixels, FDpi); }
  // The control's font at its scale.
  HFONT FontHandle() const;
  // Where the control sets its caption in its client area and the DrawText format of that
  // layout, measured in dc with the caption's font; false for a control whose text the user
  // scrolls, or that shows none.
  virtual bool CaptionRoom(HDC dc, RECT& room, UINT& format) const;

  std::string FName;
  std::string FCaption;
  std::string FDescription;
  TControl* FParent = nullptr;
  int FLeft, FTop, FWidth, FHeight;
  COLORREF FColor;
  COLORREF FFontColor;
  TFontSpec FFont;
  std::uint32_t FOptions;
  int FDpi = kDesignDpi;
  HWND FHandle = nullptr;

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  // Runs before the system's own procedure of a control of a system window class (a button,
  // an edit box): it answers WM_GETOBJECT with the control's facts, as WindowProc does.
  static LRESULT CALLBACK SystemClassProc(HWND, UINT, WPARAM, LPARAM);
  // The window is going: its control, if any, no longer has it.
  static void WindowDestroyed(HWND handle);
  LRESULT RouteToChild(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  // Sets the caption's font at the control's scale: the design height times the scale or, where
  // the caption would not fit its room at that height (at a scale other than the designs'), the
  // largest height down to the design's at which it fits. Fonts do not grow evenly with a scale,
  // so a text that fills its box in the design can need more than its box times the scale.
  void FitCaptionFont(bool force);
  // Takes from an area of the control what the panel or page holding it does not show.
  void ClipToParent(RECT& area) const;
  int FFontPixels = 0;
};
