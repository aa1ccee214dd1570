#include <algorithm>
#include <cstdlib>
#include <ostream>

#include "pages/PNL_Error.h"
#include "pages/PNL_Welcome.h"
#include "tests/windows/pages/PageFixture.h"

// Rectangles compared and shown by the assertions; RECT lives in the global namespace.
inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b); }
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << r.left << "," << r.top << " - " << r.right << "," << r.bottom;
}

namespace {

// A text that does not fit the room its control draws it in.
struct Misfit {
  std::string Text;
  std::string Class;
  SIZE Room;
  SIZE Needed;
};

std::ostream& operator<<(std::ostream& out, const Misfit& misfit) {
  return out << misfit.Class << " \"" << misfit.Text << "\" needs " << misfit.Needed.cx << " x "
             << misfit.Needed.cy << " and has " << misfit.Room.cx << " x " << misfit.Room.cy;
}

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  char text[1024] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool IsClass(const std::string& windowClass, const char* name) {
  return lstrcmpiA(windowClass.c_str(), name) == 0;
}

// What a push button draws around its caption: its raised edge and the focus rectangle.
constexpr int kButtonBorder = 3;
// The bar's flat buttons: a one-pixel edge, and the caption moves by one pixel while pressed.
constexpr int kFlatButtonBorder = 2;
// A group box's caption stands indented in its frame line, which shows again after it: 8
// pixels of the design.
constexpr int kGroupCaptionIndent = 8;

// The scale the window holding a control is laid out at.
int LayoutDpiOf(HWND window) {
  const TControl* control = TControl::FromHandle(window);
  return control ? control->Dpi() : kDesignDpi;
}

// The check box or radio glyph and the gap to the caption, as the system lays them out: 13
// pixels at 96 dots per inch, then half a digit of the control's font.
int GlyphRoom(HDC dc) {
  SIZE digit;
  GetTextExtentPoint32A(dc, "0", 1, &digit);
  return 12 * GetDeviceCaps(dc, LOGPIXELSX) / 96 + 1 + digit.cx / 2;
}

// Where a control draws its caption (its client area less what it draws around the caption)
// and the DrawText format of its layout. False for windows without a caption of that kind:
// edit boxes, lists and trees, whose text the user scrolls, and pictures.
bool CaptionLayout(HWND window, HDC dc, RECT& room, UINT& format) {
  GetClientRect(window, &room);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  const std::string windowClass = ClassOf(window);
  format = DT_EXPANDTABS;
  if (IsClass(windowClass, "Static")) {
    switch (style & SS_TYPEMASK) {
      case SS_LEFT:
      case SS_CENTER:
      case SS_RIGHT:
        format |= DT_WORDBREAK;
        break;
      case SS_LEFTNOWORDWRAP:
      case SS_SIMPLE:
        break;
      default:
        return false;
    }
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    return true;
  }
  if (IsClass(windowClass, "Button")) {
    switch (style & BS_TYPEMASK) {
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON:
        InflateRect(&room, -kButtonBorder, -kButtonBorder);
        break;
      case BS_OWNERDRAW:
        InflateRect(&room, -kFlatButtonBorder, -kFlatButtonBorder);
        break;
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        room.left += GlyphRoom(dc);
        break;
      case BS_GROUPBOX:
        InflateRect(&room, -ScaleToDpi(kGroupCaptionIndent, LayoutDpiOf(window)), 0);
        break;
      default:
        return false;
    }
    format |= (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    return true;
  }
  // The toolkit's own windows (labels over pictures, panels, the header, the caption of a radio
  // group in its frame) draw one line.
  if (windowClass.rfind("Pm", 0) == 0) {
    if (IsClass(windowClass, "PmRadioGroup"))
      InflateRect(&room, -ScaleToDpi(kGroupCaptionIndent, LayoutDpiOf(window)), 0);
    format |= DT_SINGLELINE;
    return true;
  }
  return false;
}

// Takes from room what the control's parent cuts off: the part that reaches out of the
// parent's client area is not seen.
void ClipToParent(HWND control, RECT& room) {
  RECT client;
  GetClientRect(control, &client);
  MapWindowPoints(control, GetParent(control), reinterpret_cast<POINT*>(&client), 2);
  RECT parent;
  GetClientRect(GetParent(control), &parent);
  room.left += std::max(0L, parent.left - client.left);
  room.top += std::max(0L, parent.top - client.top);
  room.right -= std::max(0L, client.right - parent.right);
  room.bottom -= std::max(0L, client.bottom - parent.bottom);
}

// Measures the caption of every visible control inside window in the control's own font,
// laid out as the control lays it out, against the room the control has for it where its
// parent shows it.
std::vector<Misfit> MisfitsIn(HWND window) {
  std::vector<Misfit> misfits;
  EnumChildWindows(
      window,
      [](HWND control, LPARAM found) -> BOOL {
        const std::string text = TextOf(control);
        if (text.empty() || !IsWindowVisible(control)) return TRUE;
        HDC dc = GetDC(control);
        auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
        HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
        RECT room;
        UINT format;
        if (CaptionLayout(control, dc, room, format)) {
          ClipToParent(control, room);
          // Lines that the design breaks itself are meant to stand whole, each on one line.
          if (text.find_first_of("\r\n") != std::string::npos) format &= ~DT_WORDBREAK;
          const SIZE roomSize{room.right - room.left, room.bottom - room.top};
          RECT needed{0, 0, roomSize.cx, 0};
          DrawTextA(dc, text.c_str(), -1, &needed, format | DT_CALCRECT);
          const SIZE neededSize{needed.right - needed.left, needed.bottom - needed.top};
          if (neededSize.cx > roomSize.cx || neededSize.cy > roomSize.cy)
            reinterpret_cast<std::vector<Misfit>*>(found)->push_back(
                {text, ClassOf(control), roomSize, neededSize});
        }
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&misfits));
  return misfits;
}

// The height of a font's characters (its em) as set in a window.
int CharacterHeight(HWND window) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
  TEXTMETRICA metrics;
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return metrics.tmHeight - metrics.tmInternalLeading;
}

// Every window inside window, in the order of the window tree.
std::vector<HWND> Descendants(HWND window) {
  std::vector<HWND> found;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

RECT BoundsInParent(HWND window) {
  RECT bounds;
  GetWindowRect(window, &bounds);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

class PageTextsTest : public PageFixture {
 protected:
  // Shows a page as ShowPanel does, short of AfterShow: the runs and the search stay unstarted.
  void Present(TTabSheet& sheet) {
    auto& page = static_cast<TFramePanel&>(*sheet.Content());
    Form().PageControl->SetActivePage(sheet);
    Form().PnlHeader->SetCaption(page.Title);
    Form().PnlButtons->Clear();
    page.InitButtons(*Form().PnlButtons);
    page.BeforeShow();
    Pump();
  }

  // Texts as long as the pages show them: the folders they propose and a failure message of
  // three lines, one of the longest the runs raise.
  void FillInLongTexts() {
    InstallDir = "C:\\Program Files\\Pelmora P2P\\";
    DownloadDir = "C:\\users\\Public\\Downloads\\";
    FoundInstallations = {"C:\\Program Files\\Pelmora P2P\\Pelmora.Exe"};
    ErrorPanel->SetErrorText(
        "Cannot create file \"C:\\users\\pelmora\\AppData\\Roaming\\Microsoft\\Windows\\Start "
        "Menu\\Programs\\Pelmora P2P\\Uninstall Pelmora P2P.lnk\". Access denied. The folder is "
        "read-only, or another program holds the file open.");
  }

  // Shows every page in turn and reports each text that does not fit its control; returns the
  // number of pages shown.
  int ExpectEveryCaptionToFit(const std::string& when) {
    int pages = 0;
    for (const auto& sheet : Form().PageControl->Sheets()) {
      Present(*sheet);
      for (const Misfit& misfit : MisfitsIn(Form().Handle()))
        ADD_FAILURE() << when << "on " << sheet->Name() << ": " << misfit;
      ++pages;
    }
    return pages;
  }

  // Where every control of the window stands, as a person sees it, and the height of its
  // characters.
  struct TPlace {
    HWND Window;
    RECT Bounds;
    int CharacterHeight;
  };
  std::vector<TPlace> Layout() {
    std::vector<TPlace> layout;
    for (HWND window : Descendants(Form().Handle()))
      layout.push_back({window, BoundsInParent(window), CharacterHeight(window)});
    return layout;
  }

  // Tells the window that it has come onto a display of another scale, as the system does: with
  // the place it proposes, where the window stands now.
  void MoveToADisplayOf(int dpi) {
    RECT suggested;
    GetWindowRect(Form().Handle(), &suggested);
    SendMessageA(Form().Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    Pump();
  }
};

TEST_F(PageTextsTest, TheDesignFontsAreSetInFacesThatMeasureAsDesigned) {
  for (const char* face : {"MS Sans Serif", "Tahoma"}) {
    HDC dc = GetDC(Form().Handle());
    HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH, face);
    HGDIOBJ old = SelectObject(dc, font);
    char used[LF_FACESIZE] = "";
    GetTextFaceA(dc, sizeof used, used);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(Form().Handle(), dc);
    EXPECT_STREQ(used, face) << "the prefix lacks Wine's own fonts in C:\\windows\\Fonts";
  }
}

TEST_F(PageTextsTest, EveryCaptionFitsItsControlOnEveryPage) {
  ASSERT_EQ(DisplayDpiReported(), TestDpi()) << "the test's prefix lacks its display scale";
  FillInLongTexts();
  EXPECT_EQ(ExpectEveryCaptionToFit(""), 14);
}

TEST_F(PageTextsTest, EveryControlStandsAtItsDesignTimesTheDisplaysScale) {
  RECT client;
  GetClientRect(Form().Handle(), &client);
  EXPECT_EQ(client.right, ScaleToDpi(780, TestDpi()));
  EXPECT_EQ(client.bottom, ScaleToDpi(509, TestDpi()));
  int controls = 0;
  for (const auto& sheet : Form().PageControl->Sheets()) {
    Present(*sheet);
    for (HWND window : Descendants(sheet->Handle())) {
      const TControl* control = TControl::FromHandle(window);
      if (!control || !IsWindowVisible(window)) continue;
      const RECT design{control->Left(), control->Top(), control->Left() + control->Width(),
                        control->Top() + control->Height()};
      RECT shown = BoundsInParent(window);
      RECT expected = AtTestScale(design);
      // A drop-down list is as high as its font makes it; its design height is its list's.
      if (ClassOf(window) == "ComboBox") expected.bottom = shown.bottom;
      EXPECT_EQ(shown, expected) << sheet->Name() << " " << control->Name();
      ++controls;
    }
  }
  EXPECT_GT(controls, 100);
}

TEST_F(PageTextsTest, TextsKeepTheirSizeInPointsUnlessTheirBoxWantsThemSmaller) {
  if (TestDpi() == kDesignDpi) GTEST_SKIP() << "at the designs' scale the designs' faces are set as they are";
  FillInLongTexts();
  int texts = 0, atFullSize = 0;
  for (const auto& sheet : Form().PageControl->Sheets()) {
    Present(*sheet);
    for (HWND window : Descendants(Form().Handle())) {
      const TControl* control = TControl::FromHandle(window);
      if (!control || !IsWindowVisible(window) || control->Caption().empty()) continue;
      // A scalable face's characters come out up to a pixel off the height asked for.
      const int design = control->Font().Height;
      const int full = ScaleToDpi(design, TestDpi());
      const int height = CharacterHeight(window);
      EXPECT_LE(height, full + 1) << sheet->Name() << " " << control->Caption();
      EXPECT_GE(height, design) << sheet->Name() << " " << control->Caption();
      ++texts;
      atFullSize += std::abs(height - full) <= 1;
    }
    EXPECT_NEAR(CharacterHeight(Form().PnlHeader->Handle()), ScaleToDpi(19, TestDpi()), 1) << sheet->Name();
  }
  EXPECT_GE(atFullSize * 4, texts * 3) << "most texts keep their size: " << atFullSize << " of " << texts;
}

TEST_F(PageTextsTest, OnADisplayOfAnotherScaleEverythingIsLaidOutAnewAndFits) {
  static_cast<TPnlWelcome&>(Page("PnlWelcome")).Timer1.SetEnabled(false);
  FillInLongTexts();
  // Every page once, so that what a page makes on its first show is there.
  ExpectEveryCaptionToFit("at first ");
  Present(*Form().PageControl->Sheets().front());
  const std::vector<TPlace> before = Layout();
  for (int dpi : {120, 144, 192}) {
    MoveToADisplayOf(dpi);
    const std::string when = "at " + std::to_string(dpi) + " dots per inch ";
    EXPECT_EQ(Form().Dpi(), dpi);
    RECT client;
    GetClientRect(Form().Handle(), &client);
    EXPECT_EQ(client.right, ScaleToDpi(780, dpi)) << when;
    EXPECT_EQ(client.bottom, ScaleToDpi(509, dpi)) << when;
    EXPECT_EQ(BoundsInParent(Form().PnlButtons->Handle()), (RECT{ScaleToDpi(40, dpi), ScaleToDpi(451, dpi),
                                                                 ScaleToDpi(753, dpi), ScaleToDpi(483, dpi)}))
        << when;
    EXPECT_NEAR(CharacterHeight(Form().PnlHeader->Handle()), ScaleToDpi(19, dpi), 1) << when;
    ExpectEveryCaptionToFit(when);
  }
  // Back on a display of its first scale the window is as it was.
  MoveToADisplayOf(TestDpi());
  Present(*Form().PageControl->Sheets().front());
  const std::vector<TPlace> after = Layout();
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i].Bounds, before[i].Bounds) << ClassOf(after[i].Window) << " \"" << TextOf(after[i].Window) << "\"";
    EXPECT_EQ(after[i].CharacterHeight, before[i].CharacterHeight)
        << ClassOf(after[i].Window) << " \"" << TextOf(after[i].Window) << "\"";
  }
}

}  // namespace
