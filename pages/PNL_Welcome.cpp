#include "pages/PNL_Welcome.h"

#include <string>

#include "app/Form_Main.h"
#include "core/Random.h"
#include "resources/ResourceIds.h"

namespace {

constexpr TFontSpec kWordFont{.Height = 21, .Bold = true};

const TControlSpec kDesign[] = {
    {.Kind = TControlKind::Image, .Name = "Image2", .Width = 513, .Height = 390,
     .Options = kStretch, .Resource = kPictureWelcomeId,
     .Description = "Computers linked in a network"},
    {.Kind = TControlKind::Label, .Name = "Label1", .Left = 515, .Top = 6,
     .Caption = "Thanks for installing Pelmora P2P", .Font = {.Bold = true}},
    {.Kind = TControlKind::StaticText, .Name = "StaticText5", .Left = 515, .Top = 30, .Width = 177,
     .Height = 65,
     .Caption = "Pelmora P2P is a modern p2p file sharing tool allowing you to share, search and "
                "download files over an encrypted network.",
     .FontColor = Colors::Black, .Options = kWordWrap},
    // 8 pixels wider than first designed: at 178 the text takes a sixth line, below the box.
    {.Kind = TControlKind::StaticText, .Name = "StaticText6", .Left = 515, .Top = 94, .Width = 186,
     .Height = 65,
     .Caption = "With this installation you install Pelmora P2P and nothing else. We are not "
                "putting any crap on your PC, change no settings, put no DLL's, show no banners "
                "and install no spyware.",
     .FontColor = Colors::White, .Options = kWordWrap},
    // Static texts that size themselves to their one line.
    {.Kind = TControlKind::Label, .Name = "StaticText7", .Left = 519, .Top = 310,
     .Caption = "We wish you a lot of pleasure ", .FontColor = Colors::Black},
    {.Kind = TControlKind::Label, .Name = "Label2", .Left = 520, .Top = 328,
     .Caption = "with Pelmora P2P. "},
    {.Kind = TControlKind::Label, .Name = "StaticText8", .Left = 584, .Top = 342,
     .Caption = "The Pelmora team.", .FontColor = Colors::Black},
    {.Kind = TControlKind::Label, .Name = "lblMove1", .Left = 32, .Top = 16, .Caption = "Download",
     .FontColor = Colors::Red, .Font = kWordFont, .Options = kTransparent},
    {.Kind = TControlKind::Label, .Name = "lblMove2", .Left = 64, .Top = 88, .Caption = "Search",
     .FontColor = Colors::Red, .Font = kWordFont, .Options = kTransparent},
    {.Kind = TControlKind::Label, .Name = "lblMove3", .Left = 136, .Top = 304, .Caption = "Share",
     .FontColor = Colors::Red, .Font = kWordFont, .Options = kTransparent},
    {.Kind = TControlKind::Label, .Name = "lblMove4", .Left = 88, .Top = 192, .Caption = "P2P",
     .FontColor = Colors::Yellow, .Font = kWordFont, .Options = kTransparent},
    {.Kind = TControlKind::Label, .Name = "lblMove5", .Left = 248, .Top = 112, .Caption = "Easy",
     .FontColor = Colors::Maroon, .Font = kWordFont, .Options = kTransparent},
    {.Kind = TControlKind::Label, .Name = "lblMove6", .Left = 232, .Top = 200, .Caption = "Secure",
     .FontColor = Colors::White, .Font = kWordFont, .Options = kTransparent},
    {.Kind = TControlKind::Label, .Name = "lblMove7", .Left = 256, .Top = 328,
     .Caption = "Encryption", .FontColor = Colors::Yellow, .Font = kWordFont,
     .Options = kTransparent},
    {.Kind = TControlKind::Label, .Name = "lblMove8", .Left = 264, .Top = 24, .Caption = "Fast",
     .FontColor = Colors::Maroon, .Font = kWordFont, .Options = kTransparent},
};

}  // namespace

const TPageButton TPnlWelcome::kButtons[] = {
    kExitButton,
    {.Caption = "&Next", .ButtonID = 2, .Handler = Handler(&TPnlWelcome::btnNextClick)},
};

TPnlWelcome::TPnlWelcome() : TFramePanel(TPageId::Welcome, kDesign, kButtons) {
  Title = "Welcome";
  for (int word = 1; word <= kWords; ++word) {
    MoveUp[word] = Random(2) == 1;
    MoveLeft[word] = Random(2) == 1;
    SpeedY[word] = static_cast<std::uint8_t>(Random(5) + 1);
    SpeedX[word] = static_cast<std::uint8_t>(Random(5) + 1);
  }
  Timer1.OnTimer = [this](TTimer&) { Timer1Timer(); };
  Timer1.SetEnabled(true);
}

void TPnlWelcome::Loaded() {
  Bind(Image2, "Image2");
  for (int word = 1; word <= kWords; ++word) Bind(lblMove[word], "lblMove" + std::to_string(word));
}

void TPnlWelcome::Timer1Timer() {
  for (int word = 1; word <= kWords; ++word) MoveWord(word);
}

void TPnlWelcome::MoveWord(int word) {
  TControl& label = *lblMove[word];
  const int right = Image2->Width();
  const int bottom = Height();
  int top = MoveUp[word] ? label.Top() - SpeedY[word] : label.Top() + SpeedY[word];
  int left = MoveLeft[word] ? label.Left() - SpeedX[word] : label.Left() + SpeedX[word];

  // At each bounce the axis that hit the edge turns round; the other axis's direction and both
  // speeds are drawn anew. The tests run in this order, each on what the one before left.
  auto drawSpeeds = [&] {
    SpeedY[word] = static_cast<std::uint8_t>(Random(5) + 1);
    SpeedX[word] = static_cast<std::uint8_t>(Random(5) + 1);
  };
  if (left < 0) {
    left = 0;
    MoveLeft[word] = false;
    MoveUp[word] = Random(2) == 0;
    drawSpeeds();
  }
  if (left + label.Width() > right) {
    left = right - label.Width();
    MoveLeft[word] = true;
    MoveUp[word] = Random(2) == 0;
    drawSpeeds();
  }
  if (top < 0) {
    top = 0;
    MoveUp[word] = false;
    MoveLeft[word] = Random(2) == 0;
    drawSpeeds();
  }
  if (top + label.Height() > bottom) {
    top = bottom - label.Height();
    MoveUp[word] = true;
    MoveLeft[word] = Random(2) == 0;
    drawSpeeds();
  }
  if (SpeedY[word] + SpeedX[word] < 3) {
    ++SpeedY[word];
    ++SpeedX[word];
  }
  label.SetPosition(left, top);
}

void TPnlWelcome::btnNextClick() {
  Timer1.SetEnabled(false);
  GoTo(TPageId::Disclaimer);
}
