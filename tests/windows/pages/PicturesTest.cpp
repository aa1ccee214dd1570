#include "core/Exceptions.h"
#include "ui/Jpeg.h"
#include "pages/PNL_Welcome.h"
#include "resources/ResourceIds.h"
#include "tests/windows/pages/PageFixture.h"

namespace {

class PicturesTest : public PageFixture {
 protected:
  // The colour that the main window shows at a point of one of its controls.
  COLORREF Shown(const TControl& control, POINT at) {
    MapWindowPoints(control.Handle(), Form().Handle(), &at, 1);
    HDC window = GetDC(Form().Handle());
    COLORREF color = GetPixel(window, at.x, at.y);
    ReleaseDC(Form().Handle(), window);
    return color;
  }
  // The colour of the decoded picture at a point of the image control, scaled when stretched.
  static COLORREF TDecoded(const TImage& image, POINT at) {
    BITMAP info;
    GetObject(image.Bitmap(), sizeof info, &info);
    if (image.HasOption(kStretch)) {
      at.x = at.x * info.bmWidth / image.Width();
      at.y = at.y * info.bmHeight / image.Height();
    }
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, image.Bitmap());
    COLORREF color = GetPixel(memory, at.x, at.y);
    SelectObject(memory, old);
    DeleteDC(memory);
    return color;
  }
};

struct TPicture {
  const char* Page;
  const char* Image;
  SIZE Size;              // as shown
  std::vector<POINT> At;  // points of the image, clear of anything lying over it
};

const TPicture kPictures[] = {
    {"PnlWelcome", "Image2", {513, 390}, {{60, 60}, {300, 170}, {480, 20}, {10, 250}}},
    {"PnlDisclaimer", "Image1", {49, 57}, {{24, 28}, {24, 6}}},
    {"PnlInstall", "Image4", {329, 192}, {{40, 40}, {220, 120}, {5, 180}}},
    {"PNLInstallChooseConnection", "Image1", {177, 281}, {{30, 40}, {90, 250}, {170, 5}}},
    {"PNLInstallGo", "Image7", {193, 164}, {{30, 30}, {95, 80}, {180, 150}}},
    {"PNLInstallReady", "Image1", {209, 209}, {{104, 104}, {104, 30}}},
    // Below the panel that lies over the picture's upper part.
    {"PNLUpgradeReady", "Image8", {383, 302}, {{60, 260}, {200, 290}, {340, 270}}},
    {"PnlError", "Image1", {121, 122}, {{60, 61}, {60, 20}}},
};

TEST_F(PicturesTest, EveryPictureIsDecodedAndShownWhereThePageSays) {
  for (const TPicture& picture : kPictures) {
    ShowPage(picture.Page);
    if (std::string(picture.Page) == "PnlWelcome") {
      auto& welcome = static_cast<TPnlWelcome&>(Page("PnlWelcome"));
      welcome.Timer1.SetEnabled(false);
      for (int word = 1; word <= 8; ++word)
        Get<TControl>("PnlWelcome", "lblMove" + std::to_string(word)).SetPosition(400, 300);
    }
    Pump(100);
    auto& image = Get<TImage>(picture.Page, picture.Image);
    ASSERT_NE(image.Bitmap(), nullptr) << picture.Page << " " << picture.Image << ": no picture";
    EXPECT_EQ(image.Width(), picture.Size.cx) << picture.Page;
    EXPECT_EQ(image.Height(), picture.Size.cy) << picture.Page;
    for (POINT at : picture.At)
      EXPECT_TRUE(Near(Shown(image, at), TDecoded(image, at)))
          << picture.Page << " " << picture.Image << " at " << at.x << "," << at.y << ": shown "
          << std::hex << Shown(image, at) << ", picture " << TDecoded(image, at);
  }
}

// The wizard's first page comes up without waiting for the pictures of the others: each is
// decoded when its page is first shown, and takes its size from the picture before that.
TEST_F(PicturesTest, APictureIsDecodedWhenItsPageIsFirstShown) {
  auto& welcome = Get<TImage>("PnlWelcome", "Image2");
  EXPECT_TRUE(PumpUntil([&] { return welcome.Decoded(); })) << "the first page's picture is not drawn";
  for (const TPicture& picture : kPictures) {
    if (std::string(picture.Page) == "PnlWelcome") continue;
    auto& image = Get<TImage>(picture.Page, picture.Image);
    EXPECT_FALSE(image.Decoded()) << picture.Page << " " << picture.Image << " before its page is shown";
    EXPECT_EQ(image.Width(), picture.Size.cx) << picture.Page;
    EXPECT_EQ(image.Height(), picture.Size.cy) << picture.Page;
  }
  for (const TPicture& picture : kPictures) {
    ShowPage(picture.Page);
    auto& image = Get<TImage>(picture.Page, picture.Image);
    EXPECT_TRUE(PumpUntil([&] { return image.Decoded(); })) << picture.Page << " " << picture.Image;
  }
}

TEST_F(PicturesTest, TransparentPicturesLetTheBackgroundThrough) {
  // The bottom-left pixel's colour is the see-through one; a JPEG keeps it only roughly, so
  // the exact background colour on screen shows that the picture did not cover it.
  const std::pair<const char*, const char*> pictures[] = {
      {"PnlDisclaimer", "Image1"}, {"PNLInstallReady", "Image1"}, {"PnlError", "Image1"}};
  for (auto [page, name] : pictures) {
    ShowPage(page);
    Pump(100);
    auto& image = Get<TImage>(page, name);
    POINT corner{0, image.Height() - 1};
    EXPECT_EQ(Shown(image, corner), Colors::SkyBlue) << page;
  }
}

TEST(JpegTest, DamagedPicturesAreRefusedWithTheReason) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(kPictureWelcomeId), MAKEINTRESOURCEA(10));
  ASSERT_NE(resource, nullptr);
  auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, resource)));
  const size_t size = SizeofResource(module, resource);

  HBITMAP whole = DecodeJpeg(data, size, "welcome");
  BITMAP info;
  GetObject(whole, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 513);
  EXPECT_EQ(info.bmHeight, 390);
  EXPECT_EQ(info.bmBitsPixel, 24);
  DeleteObject(whole);

  struct Case {
    const char* What;
    size_t Size;
    const char* Reason;
  };
  const unsigned char text[] = "not a picture at all";
  const Case cases[] = {{"cut short", size / 2, "Premature end of JPEG file"},
                        {"empty", 0, "Empty input file"}};
  for (const Case& c : cases) {
    try {
      DecodeJpeg(data, c.Size, c.What);
      ADD_FAILURE() << c.What << " was decoded";
    } catch (const Exception& error) {
      EXPECT_EQ(std::string(error.what()),
                std::string("Cannot decode the picture ") + c.What + ": " + c.Reason);
    }
  }
  EXPECT_THROW(DecodeJpeg(text, sizeof text, "text"), Exception);
  EXPECT_THROW(LoadPictureResource(9999), Exception);

  const SIZE header = PictureResourceSize(kPictureWelcomeId);
  EXPECT_EQ(header.cx, 513);
  EXPECT_EQ(header.cy, 390);
  EXPECT_THROW(PictureResourceSize(9999), Exception);
}

}  // namespace
