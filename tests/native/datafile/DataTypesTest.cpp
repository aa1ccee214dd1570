#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "datafile/LIB_DataTypes.h"

namespace {

TEST(PeerAddress, FieldsAreSecondFourthPortFirstThird) {
  EXPECT_EQ(offsetof(PeerAddress, Second), 0u);
  EXPECT_EQ(offsetof(PeerAddress, Fourth), 1u);
  EXPECT_EQ(offsetof(PeerAddress, Port), 2u);
  EXPECT_EQ(offsetof(PeerAddress, First), 4u);
  EXPECT_EQ(offsetof(PeerAddress, Third), 5u);
}

struct TAddressCase {
  std::string text;
  int first, second, third, fourth;
};

TEST(ParseAddress, NeverFailsAndKeepsTheLow8Bits) {
  const TAddressCase cases[] = {
      {"192.168.1.20", 192, 168, 1, 20},
      {"1.2", 1, 0, 0, 2},
      {"10.0.0.300", 10, 0, 0, 44},
      {"a.b.c.d", 0, 0, 0, 0},
      {"", 0, 0, 0, 0},
      {"7", 0, 0, 0, 7},
      {"1.2.3.4.5", 1, 2, 3, 0},
      {"-1.256.0.7", 255, 0, 0, 7},
      {"+5.6.7.8", 5, 6, 7, 8},
      {"+-5.6.7.8", 0, 6, 7, 8},
      {" 1.2.3.4", 0, 2, 3, 4},
      {"99999999999.1.1.1", 0, 1, 1, 1},
      {"1..3.4", 1, 0, 3, 4},
      // Only 200 bytes after the first dot are kept: the ".45" falls off.
      {"1." + std::string(197, '0') + "2.3.45", 1, 2, 0, 3},
  };
  for (const TAddressCase& c : cases) {
    const PeerAddress address = ParseAddress(c.text, 80);
    EXPECT_EQ(address.First, c.first) << c.text;
    EXPECT_EQ(address.Second, c.second) << c.text;
    EXPECT_EQ(address.Third, c.third) << c.text;
    EXPECT_EQ(address.Fourth, c.fourth) << c.text;
    EXPECT_EQ(address.Port, 80) << c.text;
  }
}

}  // namespace
