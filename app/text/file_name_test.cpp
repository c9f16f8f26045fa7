#include "app/text/file_name.h"

#include <gtest/gtest.h>

namespace vondal {
namespace {

TEST(CompleteFileName, OnlyTheLastPartOfThePathDecides) {
  EXPECT_EQ(CompleteFileName("mylog", "VD"), "mylog.VD");
  EXPECT_EQ(CompleteFileName("mylog.", "VD"), "mylog.VD");
  EXPECT_EQ(CompleteFileName("mylog.TXT", "VD"), "mylog.TXT");
  EXPECT_EQ(CompleteFileName("sub.d/new", "VD"), "sub.d/new.VD");
  EXPECT_EQ(CompleteFileName("sub.d/new.", "VD"), "sub.d/new.VD");
  EXPECT_EQ(CompleteFileName("./.config/mylog", "VDS"), "./.config/mylog.VDS");
  EXPECT_EQ(CompleteFileName("移動/ﾛｸﾞ", "VD"), "移動/ﾛｸﾞ.VD");
  EXPECT_EQ(CompleteFileName("C:\\logs\\mylog", "VD"), "C:\\logs\\mylog.VD");  // just a name here
}

}  // namespace
}  // namespace vondal
