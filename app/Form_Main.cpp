#include "app/Form_Main.h"

#include <algorithm>
#include <utility>

#include "app/Appl_Globals.h"
#include "app/AutomationIds.h"
#include "engine/ClientProcess.h"
#include "core/Text.h"
#include "platform/MessagePump.h"
#include "ui/Application.h"
#include "ui/Display.h"
#include "pages/PNL_Error.h"
#include "resources/ResourceIds.h"
#include "web/LIB_GetMemStreamFromTheWeb.h"
#include "web/ReportURL.h"

namespace {

const TControlSpec kFormDesign[] = {
    {.Kind = TControlKind::Image, .Name = "ImgIcon", .Left = 5, .Top = 6, .Width = 41,
     .Height = 41, .Options = kTransparent, .Resource = kProductIconId,
     .Description = "Pelmora P2P icon"},
    {.Kind = TControlKind::Panel, .Name = "PnlHeader", .Left = 40, .Top = 31, .Width = 712,
     .Height = 41, .Caption = "Header", .Color = Colors::Navy, .FontColor = Colors::White,
     .Font = {.Height = 19}},
    {.Kind = TControlKind::PageControl, .Name = "PageControl", .Left = 40, .Top = 72,
     .Width = 712, .Height = 377},
};

const TControlSpec kButtonBarDesign{
    .Name = "PnlButtons", .Left = 40, .Top = 451, .Width = 713, .Height = 32};

}  // namespace

// Puts header, page area and bar back in place when a page change that slid them out of view
// is left by an exception, so that the error page which follows can be seen and used.
class TSlideRecovery {
 public:
  TSlideRecovery(TFormMain& form, bool active)
      : FForm(form), FActive(active), FExceptions(std::uncaught_exceptions()) {}
  ~TSlideRecovery() {
    if (FActive && std::uncaught_exceptions() > FExceptions) FForm.PutFramesHome();
  }
  void Dismiss() { FActive = false; }

 private:
  TFormMain& FForm;
  bool FActive;
  int FExceptions;
};

TFormMain::TFormMain()
    : TControl(TControlSpec{.Name = "FormMain", .Caption = "FormMain", .Color = Colors::Blue}) {
  Timer1.OnTimer = [this](TTimer&) { Timer1Timer(); };
  AlphaBlendTimer.OnTimer = [this](TTimer&) { AlphaBlendTimerTimer(); };
}

TFormMain::~TFormMain() {
  // There is one main window at a time; its handlers must not outlive it.
  TApplication& application = TApplication::Instance();
  application.OnException = nullptr;
  application.OnShortcut = nullptr;
  application.KeyboardHeld = nullptr;
  if (application.MainWindow == FHandle) application.MainWindow = nullptr;
}

TControl::TWindowClass TFormMain::GetWindowClass() const {
  return {"PmFormMain", WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN,
          WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, true};
}

void TFormMain::Create(const TAutoUpdateRequest& autoUpdate) {
  FAutoUpdateRequest = autoUpdate;
  const TDisplayArea display = DisplayAreaNear({});
  FitTo(SystemDpi(), display.Work);
  PlaceInside(display.Work, display.Screen.left + (display.Screen.right - display.Screen.left - FWidth) / 2,
              display.Screen.top + (display.Screen.bottom - display.Screen.top - FHeight) / 2);
  CreateHandle(nullptr, TApplication::Instance().Handle());
}

void TFormMain::FitTo(int displayDpi, const RECT& workArea) {
  const TWindowClass windowClass = GetWindowClass();
  const TPixelSize frame = FrameSize(windowClass.Style, windowClass.ExStyle, displayDpi);
  FDpi = LayoutDpi(displayDpi, {kClientWidth, kClientHeight}, frame,
                   {workArea.right - workArea.left, workArea.bottom - workArea.top});
  FWidth = ScaleToDpi(kClientWidth, FDpi) + frame.Width;
  FHeight = ScaleToDpi(kClientHeight, FDpi) + frame.Height;
}

void TFormMain::PlaceInside(const RECT& workArea, int left, int top) {
  FLeft = std::max<int>(workArea.left, std::min<int>(left, workArea.right - FWidth));
  FTop = std::max<int>(workArea.top, std::min<int>(top, workArea.bottom - FHeight));
}

void TFormMain::DisplayDpiChanged(int displayDpi, const RECT& suggested) {
  const RECT workArea = DisplayAreaNear(suggested).Work;
  FitTo(displayDpi, workArea);
  PlaceInside(workArea, suggested.left, suggested.top);
  ChangeDpi(FDpi);
  SetWindowPos(FHandle, nullptr, FLeft, FTop, FWidth, FHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  // A system that draws the frame at another scale than the one it announced leaves the client
  // area off by the difference; the window takes it up.
  RECT client;
  GetClientRect(FHandle, &client);
  const int wrongWidth = client.right - ScaleToDpi(kClientWidth, FDpi);
  const int wrongHeight = client.bottom - ScaleToDpi(kClientHeight, FDpi);
  if (wrongWidth != 0 || wrongHeight != 0) {
    FWidth -= wrongWidth;
    FHeight -= wrongHeight;
    PlaceInside(workArea, FLeft, FTop);
    SetWindowPos(FHandle, nullptr, FLeft, FTop, FWidth, FHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RedrawWindow(FHandle, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TFormMain::AfterCreate() {
  CreateControls(*this, kFormDesign, FControls);
  ImgIcon = &FControls.Get<TImage>("ImgIcon");
  PnlHeader = &FControls.Get<TPanel>("PnlHeader");
  PageControl = &FControls.Get<TPageControl>("PageControl");
  SetWindowLongPtrA(PnlHeader->Handle(), GWLP_ID, kHeaderControlId);
  auto bar = std::make_unique<tPmButtonBar>(kButtonBarDesign);
  bar->CreateHandle(this);
  PnlButtons = bar.get();
  FControls.Add(std::move(bar));
  FormCreate();
}

void TFormMain::FormCreate() {
  SetCaption("Install Pelmora P2P 4.44");
  SetColor(Colors::Blue);
  PnlHeader->SetColor(Colors::Navy);
  PnlHeader->SetFontColor(Colors::White);
  PnlButtons->SetColors(Colors::White, Colors::Lime, Colors::Navy, Colors::Blue, Colors::Cream);
  // The other pages are not seen before the first page change, and making them would hold up
  // the window's first picture: Show makes them once it has painted the welcome page.
  CreateFirstPanel(*this);

  // Only an installation is upgraded unattended; any other folder starts the wizard.
  if (FAutoUpdateRequest.AutoUpdate && HoldsInstallation(FAutoUpdateRequest.InstallDir)) {
    InstallDir = FAutoUpdateRequest.InstallDir;
    AutoUpdate = true;
  }

  SetSliding(false);
  TApplication& application = TApplication::Instance();
  application.OnException = [this](HWND sender, const std::exception& error) {
    AppException(sender, error);
  };
  application.OnShortcut = [this](MSG& message) { return HandleShortcut(message); };
  // Keys typed while a page slides are dropped, as clicks are: they would act on the page that
  // leaves, or on the next one before it is in place and has its focus.
  application.KeyboardHeld = [this] { return Sliding; };
  ShowPanel(TPageId::Welcome, false);
}

void TFormMain::Show(const std::function<void()>& afterFirstPaint) {
  FormShow();
  TApplication::Instance().ShowTaskBarButton();
  ShowWindow(FHandle, SW_SHOWNORMAL);
  // The page's controls paint now with the window, not when their queued paint messages come
  // up after the other pages are made.
  RedrawWindow(FHandle, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  TMessagePump::Instance().PresentPainting();
  if (afterFirstPaint) afterFirstPaint();
  MakeOtherPanels();
}

void TFormMain::MakeOtherPanels() {
  if (std::exchange(FOtherPanelsMade, true)) return;
  CreateOtherPanels(*this);
}

void TFormMain::FormShow() {
  SetAlphaBlendValue(0);
  SetAlphaBlend(true);
  AlphaBlendTimer.SetEnabled(true);
}

void TFormMain::FormClose() {}

void TFormMain::Close() {
  FormClose();
  if (FHandle) DestroyWindow(FHandle);
}

void TFormMain::AlphaBlendTimerTimer() {
  if (FAlphaBlendValue > 235) SetAlphaBlendValue(255);
  if (FAlphaBlendValue == 255)
    AlphaBlendTimer.SetEnabled(false);
  else
    SetAlphaBlendValue(static_cast<BYTE>(FAlphaBlendValue + 16));
}

void TFormMain::Timer1Timer() {
  Timer1.SetEnabled(false);
  if (AutoUpdate) ShowPanel(TPageId::UpgradeUpgrading, true);
}

bool TFormMain::AlphaBlend() const {
  return FHandle && (GetWindowLongA(FHandle, GWL_EXSTYLE) & WS_EX_LAYERED);
}

void TFormMain::SetAlphaBlend(bool on) {
  if (!FHandle) return;
  LONG exStyle = GetWindowLongA(FHandle, GWL_EXSTYLE);
  if (on) {
    SetWindowLongA(FHandle, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    SetLayeredWindowAttributes(FHandle, 0, FAlphaBlendValue, LWA_ALPHA);
  } else if (exStyle & WS_EX_LAYERED) {
    // Without the layered style the system no longer draws the frame from the layered picture:
    // the window takes its new style and draws its frame and content anew at once, or the title
    // bar and border stay black until something else redraws them.
    SetWindowLongA(FHandle, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(FHandle, nullptr, nullptr,
                 RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
}

void TFormMain::SetAlphaBlendValue(BYTE value) {
  FAlphaBlendValue = value;
  if (AlphaBlend()) SetLayeredWindowAttributes(FHandle, 0, value, LWA_ALPHA);
}

void TFormMain::AddPanel(std::unique_ptr<TFramePanel> page) {
  TTabSheet& sheet = PageControl->AddSheet(page->Name());
  page->AttachTo(*this);
  sheet.SetContent(std::move(page));
}

TTabSheet* TFormMain::FindSheet(const std::string& name) const {
  std::string wanted = LowerCase(name);
  TTabSheet* found = nullptr;
  for (const auto& sheet : PageControl->Sheets())
    if (LowerCase(sheet->Name()) == wanted) found = sheet.get();
  return found;
}

TFramePanel* TFormMain::ActivePanel() const {
  TTabSheet* sheet = PageControl->ActivePage();
  return sheet ? static_cast<TFramePanel*>(sheet->Content()) : nullptr;
}

void TFormMain::ShowPanel(TPageId page, bool animate) { ShowPanel(PageName(page), animate); }

void TFormMain::ShowPanel(const std::string& name, bool animate) {
  SetAlphaBlend(false);
  AlphaBlendTimer.SetEnabled(false);

  TTabSheet* sheet = FindSheet(name);
  if (!sheet) {
    MakeOtherPanels();
    sheet = FindSheet(name);
  }
  if (!sheet) return;
  auto& page = static_cast<TFramePanel&>(*sheet->Content());

  if (animate) SlideOut();
  TSlideRecovery recovery(*this, animate);
  PageControl->SetActivePage(*sheet);
  PnlHeader->SetCaption(page.Title);
  PnlButtons->Clear();
  page.InitButtons(*PnlButtons);
  page.BeforeShow();
  recovery.Dismiss();
  if (animate) SlideIn();
  FocusOnPage(page);
  page.AfterShow();
}

void TFormMain::MoveFrames(int offset, double waitMs) {
  PnlHeader->SetPosition(PnlHeader->Left() + offset, PnlHeader->Top());
  PnlButtons->SetPosition(PnlButtons->Left() + offset, PnlButtons->Top());
  PageControl->SetPosition(PageControl->Left() - offset, PageControl->Top());
  TApplication::Instance().ProcessMessagesUntil(GetTickCount64(), waitMs);
}

void TFormMain::SetSliding(bool sliding) {
  Sliding = sliding;
  if (!FHandle) return;
  if (sliding)
    SetPropA(FHandle, kPageChangeProperty, reinterpret_cast<HANDLE>(1));
  else
    RemovePropA(FHandle, kPageChangeProperty);
}

void TFormMain::SlideOut() {
  SetSliding(true);
  for (int step = 0; step < kSlideSteps; ++step) MoveFrames(kSlideStepPixels, kSlideOutWaitMs);
}

void TFormMain::SlideIn() {
  for (int step = 0; step < kSlideSteps; ++step) MoveFrames(-kSlideStepPixels, kSlideInWaitMs);
  SetSliding(false);
}

void TFormMain::PutFramesHome() {
  for (const TControlSpec& spec : kFormDesign) {
    TControl& control = FControls.Get(spec.Name);
    control.SetPosition(spec.Left, spec.Top);
  }
  PnlButtons->SetPosition(kButtonBarDesign.Left, kButtonBarDesign.Top);
  SetSliding(false);
}

void TFormMain::AppException(HWND, const std::exception& error) {
  const std::string message = ExceptionMessage(error);
  const std::string url = ReportURL(
      ReportAddress(),
      {PnlHeader->Caption(), InstallDir, DownloadDir, ClientDataDir, AppDataDir, message});
  // The report is best effort: a fetch that cannot even start must not keep the error page away.
  try {
    tLibGetMemStreamFromTheWeb::Start(url);
  } catch (const std::exception&) {
  }
  MakeOtherPanels();
  if (ErrorPanel) ErrorPanel->SetErrorText(message);
  ShowPanel(TPageId::Error, true);
}

void TFormMain::FocusOnPage(TFramePanel& page) {
  HWND control = FirstInput(page.Handle());
  if (!control && PnlButtons->DefaultButton()) control = PnlButtons->DefaultButton()->Handle();
  FFocus.Focus(FHandle, control ? control : FHandle);
}

bool TFormMain::HandleShortcut(const MSG& message) {
  if (message.message == WM_SYSCHAR) return PnlButtons->ClickAccessKey(static_cast<char>(message.wParam));
  // Enter is the page's forward action, as a dialog's default button; held down, it acts once.
  if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN || ControlTakesEnter(GetFocus()))
    return false;
  TLbSpeedButton* forward = PnlButtons->DefaultButton();
  if (!forward) return false;
  if (!(message.lParam & (1 << 30))) forward->Click();
  return true;
}

TAccessibleFacts TFormMain::AccessibleFacts() const {
  return {.Role = ROLE_SYSTEM_DIALOG, .Name = Caption()};
}

LRESULT TFormMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      // No close box: the wizard is left through its own buttons only, so that nothing can
      // interrupt a run half-way.
      if ((wParam & 0xFFF0) == SC_CLOSE) return 0;
      break;
    case WM_CLOSE:
      return 0;
    case WM_ACTIVATE:
    case WM_SETFOCUS:
      if (FFocus.HandleMessage(FHandle, message, wParam)) return 0;
      break;
    case WM_DPICHANGED:
      DisplayDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DESTROY:
      if (TApplication::Instance().MainWindow == FHandle) PostQuitMessage(0);
      return 0;
  }
  return TControl::HandleMessage(message, wParam, lParam);
}
