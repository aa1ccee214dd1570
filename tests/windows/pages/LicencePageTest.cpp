#include <sstream>

#include "tests/windows/pages/PageFixture.h"

namespace {

class LicencePageTest : public PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    ShowPage("PnlDisclaimer");
  }
  TMemo& Memo() { return Get<TMemo>("PnlDisclaimer", "MemoDisclaimer"); }
  TCheckBox& Box() { return Get<TCheckBox>("PnlDisclaimer", "CheckBox1"); }

  // The memo's lines as the window holds them.
  std::vector<std::string> ShownLines() {
    LRESULT length = SendMessageA(Memo().Handle(), WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(Memo().Handle(), WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
      lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
  }
};

TEST_F(LicencePageTest, AgreementFollowsTheFixedLineLayout) {
  std::vector<std::string> lines = ShownLines();
  ASSERT_GT(lines.size(), 20u);
  EXPECT_EQ(lines, Memo().Lines()) << "the window shows the lines as added";
  EXPECT_EQ(lines[0], "PELMORA P2P LICENSE AGREEMENT");
  EXPECT_EQ(lines[1], std::string(43, '-'));
  EXPECT_EQ(lines[2], "");
  EXPECT_FALSE(lines[3].empty()) << "the preamble starts right after the empty line";
  EXPECT_EQ(lines.back(), "BY USING THIS SOFTWARE YOU AGREE TO BE BOUND BY THESE CONDITIONS.")
      << "no empty line follows the last one";

  // Blocks of lines between single empty lines: the title block, the preamble's four
  // paragraphs, then each heading with its paragraphs (DISTRIBUTION's two in one block).
  std::vector<std::vector<std::string>> blocks(1);
  for (const std::string& line : lines) {
    if (!line.empty()) {
      blocks.back().push_back(line);
      continue;
    }
    EXPECT_FALSE(blocks.back().empty()) << "two empty lines in a row";
    blocks.emplace_back();
  }
  std::vector<size_t> sizes;
  for (const auto& block : blocks) sizes.push_back(block.size());
  EXPECT_EQ(sizes, (std::vector<size_t>{2,                    // title and separator
                                        1, 1, 1, 1,           // preamble
                                        1, 2,                 // DISTRIBUTION
                                        1, 1, 1, 1, 1, 1,     // DISCLAIMER
                                        1, 1, 1, 1, 1,        // USAGE RESTRICTIONS
                                        1, 1, 1, 1,           // the fourth section
                                        1}));                 // the last line
  ASSERT_EQ(blocks.size(), 23u);
  EXPECT_EQ(blocks[5][0], "DISTRIBUTION");
  EXPECT_EQ(blocks[7][0], "DISCLAIMER");
  EXPECT_EQ(blocks[13][0], "USAGE RESTRICTIONS");
  const std::string& fourth = blocks[18][0];
  EXPECT_EQ(fourth.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos)
      << "the fourth heading is upper case: " << fourth;
}

TEST_F(LicencePageTest, EveryShowRefillsTheMemoAndShowsItsTop) {
  SendMessageA(Memo().Handle(), EM_LINESCROLL, 0, 40);
  ASSERT_GT(Memo().FirstVisibleLine(), 0);
  size_t count = Memo().Lines().size();
  ShowPage("PnlWelcome");
  ShowPage("PnlDisclaimer");
  EXPECT_EQ(Memo().FirstVisibleLine(), 0);
  EXPECT_EQ(Memo().Lines().size(), count) << "refilled, not appended to";
  EXPECT_EQ(ShownLines().size(), count);
}

TEST_F(LicencePageTest, BoxMustBeTickedAgainOnEveryVisit) {
  MessageBoxWatcher watcher;
  EXPECT_FALSE(Box().Checked());
  SendMessageA(Box().Handle(), BM_CLICK, 0, 0);
  ASSERT_TRUE(Box().Checked());
  ClickAndSettle("&Previous");
  ASSERT_EQ(Header(), "Welcome");
  ClickAndSettle("&Next");
  ASSERT_EQ(Header(), "License agreement and disclaimer");
  EXPECT_FALSE(Box().Checked()) << "unticked after going back and forth";

  Click("&Next");
  std::vector<MessageBoxWatcher::Seen> boxes = watcher.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text,
            "You can only install Pelmora P2P in case you agree to this statement.\r"
            "Check the checkbox to confirm.\rOtherwise please press Exit");
  EXPECT_EQ(boxes[0].Owner, Form().Handle());
  EXPECT_EQ(Header(), "License agreement and disclaimer") << "the page stays";

  SendMessageA(Box().Handle(), BM_CLICK, 0, 0);
  ClickAndSettle("&Next");
  EXPECT_EQ(Header(), "Install or upgrade?");
  EXPECT_EQ(watcher.Boxes().size(), 1u);
}


TEST_F(LicencePageTest, PrivacySectionTellsWhatTheFailureReportSends) {
  std::string text;
  for (const std::string& line : ShownLines()) text += line + "\n";
  // One phrase for each field of the report (TReportFields), and the warning that folder names
  // hold the user's name.
  for (const char* phrase : {"the title of the page on which the error happened", "the error message",
                             "the installation folder", "the download folder", "the data folder",
                             "the per-user data folder", "can contain your Windows user name"})
    EXPECT_NE(text.find(phrase), std::string::npos) << phrase;
  EXPECT_EQ(text.find("no personal information"), std::string::npos) << "the folders can name the user";
  EXPECT_TRUE(GetWindowLongA(Memo().Handle(), GWL_STYLE) & WS_VSCROLL) << "the memo scrolls to the whole text";
}

}  // namespace
