// Built only by the page target tests: a page that names the page after it in its button table
// and in a handler, once as the wizard's pages do and once in each way that must not build.

#include "app/Frame_Panel.h"

class TProbePage : public TFramePanel {
 public:
  TProbePage() : TFramePanel(TPageId::Welcome, {}, kButtons) {}

  void btnNextClick() const {
#if defined(PROBE_MISSPELT_IDENTITY)
    GoTo(TPageId::Welcom);
#elif defined(PROBE_NAME_AS_TEXT)
    GoTo("PnlWelcome");
#else
    GoTo(TPageId::Welcome);
#endif
  }

 private:
  static constexpr TPageButton kButtons[] = {
#if defined(PROBE_TABLE_NAME_AS_TEXT)
      {.Caption = "&Previous", .ButtonID = 3, .Target = "PnlDisclaimer"},
#else
      {.Caption = "&Previous", .ButtonID = 3, .Target = TPageId::Disclaimer},
#endif
  };
};

TProbePage& ProbePage() {
  static TProbePage page;
  return page;
}
