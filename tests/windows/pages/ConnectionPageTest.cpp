// The connection page: its nine kinds, the stored choice and the refusal without one.
#include "tests/windows/pages/PageFixture.h"

namespace {

class ConnectionPageTest : public PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    FGo = &StandIn("PNLInstallGo");
    FDownloads = &StandIn("PNLInstallChooseDownloadDir");
    ShowPage("PNLInstallChooseConnection");
  }
  TRadioGroup& Group() { return Get<TRadioGroup>("PNLInstallChooseConnection", "rgConnection"); }
  RecordingPage* FGo = nullptr;
  RecordingPage* FDownloads = nullptr;
};

TEST_F(ConnectionPageTest, EveryShowFillsTheNineChoicesAndTheExplanation) {
  const char* captions[] = {"Dial-up &Modem < 56KBS", "Dial-up M&odem 56K", "&ISDN",
                            "&ADSL / DSL",           "&Cable",            "&T1",
                            "T&2",                    "ADSL 2",            "I &don't know"};
  ShowPage("PNLInstallChooseConnection");
  ASSERT_EQ(Group().Count(), 9) << "refilled, not appended to";
  for (int i = 0; i < 9; ++i) EXPECT_EQ(Group().Button(i).Caption(), captions[i]);
  EXPECT_EQ(Group().ItemIndex(), 8);
  EXPECT_EQ(Get<TStaticText>("PNLInstallChooseConnection", "StaticText1").Caption(),
            "Choose the kind of internet-connection that\ryou use. Pelmora P2P uses this "
            "information to \roptimize its performance dependend on the\rkind of connection you "
            "have. After installation\ryou can always select to the item \"Settings\"\rof "
            "Pelmora P2P to finetune this settings further.");
}

TEST_F(ConnectionPageTest, FirstVisitStoresIDontKnowAndPreviousForgetsAChange) {
  ClickAndSettle("&Next");
  EXPECT_EQ(FGo->Shows, 1);
  EXPECT_EQ(ConnectionKind, 8);

  ShowPage("PNLInstallChooseConnection");
  SendMessageA(Group().Button(2).Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(Group().ItemIndex(), 2) << "&ISDN picked";
  ClickAndSettle("&Previous");
  EXPECT_EQ(FDownloads->Shows, 1);
  EXPECT_EQ(ConnectionKind, 8);
  ShowPage("PNLInstallChooseConnection");
  EXPECT_EQ(Group().ItemIndex(), 8) << "the stored choice, not &ISDN";

  SendMessageA(Group().Button(4).Handle(), BM_CLICK, 0, 0);
  ClickAndSettle("&Next");
  EXPECT_EQ(ConnectionKind, 4);
  ShowPage("PNLInstallChooseConnection");
  EXPECT_EQ(Group().ItemIndex(), 4) << "later visits select the last accepted choice";
}

TEST_F(ConnectionPageTest, NextWithoutASelectionIsRefused) {
  MessageBoxWatcher watcher;
  Group().SetItemIndex(-1);
  ConnectionKind = 3;
  Click("&Next");
  std::vector<MessageBoxWatcher::Seen> boxes = watcher.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, "Choose a connection first");
  EXPECT_EQ(boxes[0].Owner, Form().Handle());
  EXPECT_EQ(Header(), "Select your internet-connection");
  EXPECT_EQ(FGo->Shows, 0);
  EXPECT_EQ(ConnectionKind, 3);
}

}  // namespace
