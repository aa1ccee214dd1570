#include "app/Form_Main.h"

#include "app/Appl_Globals.h"
#include "app/AutomationIds.h"
#include "core/CommandLine.h"
#include "core/Text.h"
#include "ui/Application.h"
#include "pages/PNL_Error.h"
#include "resources/ResourceIds.h"
#include "web/LIB_GetMemStreamFromTheWeb.h"
#include "web/ReportURL.h"

namespace {

const ControlSpec kFormDesign[] = {
    {.Kind = ControlKind::Image, .Name = "ImgIcon", .Left = 5, .Top = 6, .Width = 41,
     .Height = 41, .Options = kTransparent, .Resource = kProductIconId},
    {.Kind = ControlKind::Panel, .Name = "PnlHeader", .Left = 40, .Top = 31, .Width = 712,
     .Height = 41, .Caption = "Header", .Color = Colors::Navy, .FontColor = Colors::White,
     .Font = {.Height = 19}},
    {.Kind = ControlKind::PageControl, .Name = "PageControl", .Left = 40, .Top = 72,
     .Width = 712, .Height = 377},
};

const ControlSpec kButtonBarDesign{
    .Name = "PnlButtons", .Left = 40, .Top = 451, .Width = 713, .Height = 32};

}  // namespace

// Puts header, page area and bar back in place when a page change that slid them out of view
// is left by an exception, so that the error page which follows can be seen and used.
class SlideRecovery {
 public:
  SlideRecovery(TFormMain& form, bool active)
      : form_(form), active_(active), exceptions_(std::uncaught_exceptions()) {}
  ~SlideRecovery() {
    if (active_ && std::uncaught_exceptions() > exceptions_) form_.PutFramesHome();
  }
  void Dismiss() { active_ = false; }

 private:
  TFormMain& form_;
  bool active_;
  int exceptions_;
};

TFormMain::TFormMain()
    : Control(ControlSpec{.Name = "FormMain", .Caption = "FormMain", .Color = Colors::Blue}) {
  Timer1.OnTimer = [this](TTimer&) { Timer1Timer(); };
  AlphaBlendTimer.OnTimer = [this](TTimer&) { AlphaBlendTimerTimer(); };
}

TFormMain::~TFormMain() {
  // There is one main window at a time; its handlers must not outlive it.
  Application& application = Application::Instance();
  application.OnException = nullptr;
  application.OnShortcut = nullptr;
  if (application.MainWindow == handle_) application.MainWindow = nullptr;
}

Control::WindowClass TFormMain::GetWindowClass() const {
  return {"PmFormMain", WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN,
          WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, true};
}

void TFormMain::Create() {
  WindowClass windowClass = GetWindowClass();
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, windowClass.Style, FALSE, windowClass.ExStyle);
  width_ = frame.right - frame.left;
  height_ = frame.bottom - frame.top;
  left_ = (GetSystemMetrics(SM_CXSCREEN) - width_) / 2;
  top_ = (GetSystemMetrics(SM_CYSCREEN) - height_) / 2;
  CreateHandle(nullptr, Application::Instance().Handle());
}

void TFormMain::AfterCreate() {
  CreateControls(*this, kFormDesign, controls_);
  ImgIcon = &controls_.Get<TImage>("ImgIcon");
  PnlHeader = &controls_.Get<TPanel>("PnlHeader");
  PageControl = &controls_.Get<TPageControl>("PageControl");
  SetWindowLongPtrA(PnlHeader->Handle(), GWLP_ID, kHeaderControlId);
  auto bar = std::make_unique<tPmButtonBar>(kButtonBarDesign);
  bar->CreateHandle(this);
  PnlButtons = bar.get();
  controls_.Add(std::move(bar));
  FormCreate();
}

void TFormMain::FormCreate() {
  SetCaption("Install Pelmora P2P 4.44");
  SetColor(Colors::Blue);
  PnlHeader->SetColor(Colors::Navy);
  PnlHeader->SetFontColor(Colors::White);
  PnlButtons->SetColors(Colors::White, Colors::Lime, Colors::Navy, Colors::Blue, Colors::Cream);
  CreatePanels(*this);

  AutoUpdateRequest request = ParseAutoUpdate([] {
    std::vector<std::string> parameters = SplitCommandLine(GetCommandLineA());
    if (!parameters.empty()) parameters.erase(parameters.begin());
    return parameters;
  }());
  if (request.AutoUpdate) {
    InstallDir = request.InstallDir;
    AutoUpdate = true;
  }

  Sliding = false;
  Application& application = Application::Instance();
  application.OnException = [this](HWND sender, const std::exception& error) {
    AppException(sender, error);
  };
  application.OnShortcut = [this](MSG& message) { return HandleShortcut(message); };
  ShowPanel("PnlWelcome", false);
}

void TFormMain::Show() {
  FormShow();
  Application::Instance().ShowTaskBarButton();
  ShowWindow(handle_, SW_SHOWNORMAL);
  UpdateWindow(handle_);
}

void TFormMain::FormShow() {
  SetAlphaBlendValue(0);
  SetAlphaBlend(true);
  AlphaBlendTimer.SetEnabled(true);
}

void TFormMain::FormClose() {}

void TFormMain::Close() {
  FormClose();
  if (handle_) DestroyWindow(handle_);
}

void TFormMain::AlphaBlendTimerTimer() {
  if (alphaBlendValue_ > 235) SetAlphaBlendValue(255);
  if (alphaBlendValue_ == 255)
    AlphaBlendTimer.SetEnabled(false);
  else
    SetAlphaBlendValue(static_cast<BYTE>(alphaBlendValue_ + 16));
}

void TFormMain::Timer1Timer() {
  Timer1.SetEnabled(false);
  if (AutoUpdate) ShowPanel("PNLUpgradeUpgrading", true);
}

bool TFormMain::AlphaBlend() const {
  return handle_ && (GetWindowLongA(handle_, GWL_EXSTYLE) & WS_EX_LAYERED);
}

void TFormMain::SetAlphaBlend(bool on) {
  if (!handle_) return;
  LONG exStyle = GetWindowLongA(handle_, GWL_EXSTYLE);
  if (on) {
    SetWindowLongA(handle_, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    SetLayeredWindowAttributes(handle_, 0, alphaBlendValue_, LWA_ALPHA);
  } else if (exStyle & WS_EX_LAYERED) {
    SetWindowLongA(handle_, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    RedrawWindow(handle_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

void TFormMain::SetAlphaBlendValue(BYTE value) {
  alphaBlendValue_ = value;
  if (AlphaBlend()) SetLayeredWindowAttributes(handle_, 0, value, LWA_ALPHA);
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

void TFormMain::ShowPanel(const std::string& name, bool animate) {
  SetAlphaBlend(false);
  AlphaBlendTimer.SetEnabled(false);

  TTabSheet* sheet = FindSheet(name);
  if (!sheet) return;
  auto& page = static_cast<TFramePanel&>(*sheet->Content());

  if (animate) SlideOut();
  SlideRecovery recovery(*this, animate);
  PageControl->SetActivePage(*sheet);
  PnlHeader->SetCaption(page.Title);
  PnlButtons->Clear();
  page.InitButtons(*PnlButtons);
  page.BeforeShow();
  recovery.Dismiss();
  if (animate) SlideIn();
  page.AfterShow();
}

void TFormMain::MoveFrames(int offset, double waitMs) {
  PnlHeader->SetPosition(PnlHeader->Left() + offset, PnlHeader->Top());
  PnlButtons->SetPosition(PnlButtons->Left() + offset, PnlButtons->Top());
  PageControl->SetPosition(PageControl->Left() - offset, PageControl->Top());
  Application::Instance().ProcessMessagesUntil(GetTickCount64(), waitMs);
}

void TFormMain::SlideOut() {
  Sliding = true;
  for (int step = 0; step < kSlideSteps; ++step) MoveFrames(kSlideStepPixels, kSlideOutWaitMs);
}

void TFormMain::SlideIn() {
  for (int step = 0; step < kSlideSteps; ++step) MoveFrames(-kSlideStepPixels, kSlideInWaitMs);
  Sliding = false;
}

void TFormMain::PutFramesHome() {
  for (const ControlSpec& spec : kFormDesign) {
    Control& control = controls_.Get(spec.Name);
    control.SetPosition(spec.Left, spec.Top);
  }
  PnlButtons->SetPosition(kButtonBarDesign.Left, kButtonBarDesign.Top);
  Sliding = false;
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
  if (ErrorPanel) ErrorPanel->SetErrorText(message);
  ShowPanel("PnlError", true);
}

bool TFormMain::HandleShortcut(const MSG& message) {
  return message.message == WM_SYSCHAR && PnlButtons->ClickAccessKey(static_cast<char>(message.wParam));
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
    case WM_DESTROY:
      if (Application::Instance().MainWindow == handle_) PostQuitMessage(0);
      return 0;
  }
  return Control::HandleMessage(message, wParam, lParam);
}
