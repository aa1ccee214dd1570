#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/Exceptions.h"
#include "ui/Jpeg.h"
#include "pages/PNL_Welcome.h"
#include "resources/ResourceIds.h"
#include "tests/windows/pages/PageFixture.h"

namespace {

class PicturesTest : public PageFixture {
 protected:
  // The colour that the main window shows at a point of one of its controls, given in pixels of
  // the design.
  COLORREF Shown(const TControl& control, POINT at) {
    at = {ScaleToDpi(at.x, TestDpi()), ScaleToDpi(at.y, TestDpi())};
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
    {"PnlDisclaimer", "Image1", {49, 57}, {{24, 28}, {24, 11}}},
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
    auto& image = Get<TImage>(picture.Page, picture.Image);
    // Scaled smoothly, a picture blends each point with its neighbours a little.
    const int tolerance = TestDpi() == kDesignDpi ? 6 : 16;
    // The page's first paint decodes and scales its picture: on a loaded machine that comes late.
    PumpUntil([&] {
      return image.Decoded() && std::all_of(picture.At.begin(), picture.At.end(), [&](POINT at) {
               return Near(Shown(image, at), TDecoded(image, at), tolerance);
             });
    });
    ASSERT_NE(image.Bitmap(), nullptr) << picture.Page << " " << picture.Image << ": no picture";
    EXPECT_EQ(image.Width(), picture.Size.cx) << picture.Page;
    EXPECT_EQ(image.Height(), picture.Size.cy) << picture.Page;
    for (POINT at : picture.At)
      EXPECT_TRUE(Near(Shown(image, at), TDecoded(image, at), tolerance))
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
    auto& image = Get<TImage>(page, name);
    RECT shown;
    GetClientRect(image.Handle(), &shown);
    POINT corner{0, shown.bottom - 1};
    MapWindowPoints(image.Handle(), Form().Handle(), &corner, 1);
    const auto cornerColour = [&] {
      HDC window = GetDC(Form().Handle());
      const COLORREF colour = GetPixel(window, corner.x, corner.y);
      ReleaseDC(Form().Handle(), window);
      return colour;
    };
    PumpUntil([&] { return image.Decoded() && cornerColour() == Colors::SkyBlue; });
    EXPECT_EQ(cornerColour(), Colors::SkyBlue) << page;
  }
}

// The pixels a window shows, blue, green, red and a byte unused, rows from the top.
std::vector<std::uint8_t> PixelsOf(HWND window, int width, int height) {
  BITMAPINFO format{};
  format.bmiHeader = {sizeof format.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = GetDC(window);
  HBITMAP copy = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, copy);
  BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
  GdiFlush();
  std::vector<std::uint8_t> pixels(static_cast<const std::uint8_t*>(bits),
                                   static_cast<const std::uint8_t*>(bits) + 4 * width * height);
  SelectObject(memory, old);
  DeleteObject(copy);
  DeleteDC(memory);
  ReleaseDC(window, dc);
  return pixels;
}

TEST_F(PicturesTest, AtADisplayScalePicturesAreSmoothedNotMadeOfLargerPixels) {
  if (TestDpi() == kDesignDpi) GTEST_SKIP() << "at the designs' scale a picture is shown as it is";
  ShowPage("PNLUpgradeReady");
  auto& image = Get<TImage>("PNLUpgradeReady", "Image8");
  // Read once the page's first paint, which decodes and scales the picture, is done.
  PumpUntil([&] { return image.Decoded() && !GetUpdateRect(image.Handle(), nullptr, FALSE); });
  RECT area;
  GetClientRect(image.Handle(), &area);
  // Below the panel that lies over the picture's upper part.
  const int top = ScaleToDpi(260, TestDpi());
  ASSERT_EQ(area.right, ScaleToDpi(383, TestDpi()));
  ASSERT_EQ(area.bottom, ScaleToDpi(302, TestDpi()));
  const std::vector<std::uint8_t> shown = PixelsOf(image.Handle(), area.right, area.bottom);

  // Against the picture's nearest pixel: the same picture, and the same colours on its even
  // areas, but blends of neighbouring colours along its lines and edges.
  HDC decoded = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(decoded, image.Bitmap());
  long long pixels = 0, difference = 0, blended = 0;
  for (int y = top; y < area.bottom; ++y) {
    for (int x = 0; x < area.right; ++x) {
      const COLORREF nearest = GetPixel(decoded, x * kDesignDpi / TestDpi(), y * kDesignDpi / TestDpi());
      const std::uint8_t* pixel = &shown[4 * (static_cast<std::size_t>(y) * area.right + x)];
      const int apart = std::max({std::abs(pixel[2] - GetRValue(nearest)), std::abs(pixel[1] - GetGValue(nearest)),
                                  std::abs(pixel[0] - GetBValue(nearest))});
      ++pixels;
      difference += apart;
      blended += apart > 24;
    }
  }
  SelectObject(decoded, old);
  DeleteDC(decoded);
  EXPECT_LT(difference, pixels * 8) << "the picture shown is the picture";
  EXPECT_GT(blended * 100, pixels) << "along the picture's lines the colours blend: " << blended << " of " << pixels;
}

TEST_F(PicturesTest, TheIconIsShownInTheSizeOfTheScaleFromTheImageNearestToIt) {
  // The icon's group lists an image for each scale from 100 % to 200 %.
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(kProductIconId), MAKEINTRESOURCEA(14));
  ASSERT_NE(group, nullptr);
  const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
  const int count = directory[4] | directory[5] << 8;
  std::vector<int> sizes;
  for (int i = 0; i < count; ++i) sizes.push_back(directory[6 + 14 * i]);
  std::sort(sizes.begin(), sizes.end());
  EXPECT_EQ(sizes, (std::vector<int>{32, 40, 48, 64}));

  // Shown at 32 design pixels: the navy tile reaches its 31st design pixel and no further.
  const TImage& icon = *Form().ImgIcon;
  RECT area;
  GetClientRect(icon.Handle(), &area);
  const std::vector<std::uint8_t> shown = PixelsOf(icon.Handle(), area.right, area.bottom);
  const int row = ScaleToDpi(5, TestDpi());
  int navyUpTo = -1;
  for (int x = 0; x < area.right; ++x) {
    const std::uint8_t* pixel = &shown[4 * (static_cast<std::size_t>(row) * area.right + x)];
    if (pixel[0] == 128 && pixel[1] == 0 && pixel[2] == 0) navyUpTo = x;
  }
  EXPECT_NEAR(navyUpTo, ScaleToDpi(31, TestDpi()) - 1, 1);
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
