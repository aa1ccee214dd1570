#pragma once
// The main window: product icon, header with the current page's title, the page area and the
// button bar. It shows pages by name with a slide animation, fades in when first shown, starts
// the unattended upgrade from its one-shot timer, and receives every unexpected failure.

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "app/Frame_Panel.h"
#include "app/PMI_ButtonBar.h"
#include "core/CommandLine.h"
#include "ui/Controls.h"
#include "ui/Keyboard.h"
#include "ui/Timer.h"

class TFormMain : public TControl {
 public:
  // The client area in the design; the window's is this times the display's scale.
  static constexpr int kClientWidth = 780;
  static constexpr int kClientHeight = 509;
  static constexpr int kSlideSteps = 11;
  static constexpr int kSlideStepPixels = 70;
  static constexpr double kSlideOutWaitMs = 1000.0 / 25;
  static constexpr double kSlideInWaitMs = 1000.0 / 15;

  TFormMain();
  ~TFormMain() override;

  // Creates the window, hidden, at the display's scale and in the middle of the screen (inside
  // its work area), and runs FormCreate, which takes up the unattended upgrade the command line
  // asked for; Show then fades it in. Once the first page is on the screen, Show runs
  // afterFirstPaint, if given, and makes the other pages.
  void Create(const TAutoUpdateRequest& autoUpdate = {});
  void Show(const std::function<void()>& afterFirstPaint = nullptr);
  // Closes the main window; the program ends when it was the application's main window.
  void Close();

  TImage* ImgIcon = nullptr;
  TPanel* PnlHeader = nullptr;
  TPageControl* PageControl = nullptr;
  tPmButtonBar* PnlButtons = nullptr;
  TTimer Timer1{150, true};
  TTimer AlphaBlendTimer{100, false};

  // True while a page change slides; every button handler does nothing then.
  bool Sliding = false;

  void AddPanel(std::unique_ptr<TFramePanel> page);
  void ShowPanel(TPageId page, bool animate);
  // Shows the page found under name, compared without regard to case; an unknown name ends the
  // fade-in and changes nothing else.
  void ShowPanel(const std::string& name, bool animate);
  TFramePanel* ActivePanel() const;

  // Window translucency of the fade-in.
  bool AlphaBlend() const;
  void SetAlphaBlend(bool on);
  BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(BYTE value);

  // The window has come onto a display of another scale (displayDpi); suggested is where the
  // system proposes it to stand. The window and everything in it are laid out anew.
  void DisplayDpiChanged(int displayDpi, const RECT& suggested);

  // The application's failure handler: reports the failure and shows the error page.
  virtual void AppException(HWND sender, const std::exception& error);

  // The client area of the wizard is a dialog named by the window's caption.
  TAccessibleFacts AccessibleFacts() const override;

  void FormCreate();
  void FormShow();
  void FormClose();
  void Timer1Timer();
  void AlphaBlendTimerTimer();

 protected:
  TWindowClass GetWindowClass() const override;
  void AfterCreate() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  friend class TSlideRecovery;
  // Sets the scale the window is laid out at and its size for a display of displayDpi whose
  // work area is workArea: the display's scale or the largest that fits.
  void FitTo(int displayDpi, const RECT& workArea);
  // Places the window at left, top, or as near to it as keeps it inside the work area.
  void PlaceInside(const RECT& workArea, int left, int top);
  TTabSheet* FindSheet(const std::string& name) const;
  // Makes the pages after the first, once: Show does after the first paint, and ShowPanel
  // before, for a page that is not there yet.
  void MakeOtherPanels();
  void SlideOut();
  void SlideIn();
  // Sets Sliding and tells outside tools through the window (kPageChangeProperty).
  void SetSliding(bool sliding);
  void MoveFrames(int offset, double waitMs);
  void PutFramesHome();
  bool HandleShortcut(const MSG& message);
  // Puts the focus on the page's first input, else on its forward button, else on the window.
  void FocusOnPage(TFramePanel& page);

  TControlSet FControls;
  TAutoUpdateRequest FAutoUpdateRequest;
  BYTE FAlphaBlendValue = 255;
  bool FOtherPanelsMade = false;
  TFocusKeeper FFocus;
};
