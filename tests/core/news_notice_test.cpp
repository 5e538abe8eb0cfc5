// The notification's title and text.
#include <gtest/gtest.h>

#include "engine/news_notice.h"

namespace ls {
namespace {

TEST(NewsNotice, CountNewestThreeAndTheFailure) {
  NewsNotice n = makeNewsNotice(5, {{"台風が接近", "速報"}, {"新駅が開業", "地方"}, {"祭りの日程", "地方"}, {"四つ目", "x"}},
                                "故障B", "タイムアウトしました。");
  EXPECT_EQ(n.title, "新着ニュース 5件");
  EXPECT_EQ(n.text,
            "【速報】台風が接近\n【地方】新駅が開業\n【地方】祭りの日程\nほか 2件\n※故障B: タイムアウトしました。");
  n = makeNewsNotice(1, {{"一つだけ", "s"}}, "", "");
  EXPECT_EQ(n.text, "【s】一つだけ");
}

TEST(NewsNotice, LongTextsAreCutAtCharactersWithAnEllipsis) {
  std::string wide(100, 'x');
  for (int i = 0; i < 100; ++i) wide += "あ";  // 200 bytes, 100 characters
  EXPECT_EQ(cutToChars(wide, 300), wide);
  EXPECT_EQ(cutToChars(wide, 150), wide.substr(0, 100 + 49 * 2) + "…");
  EXPECT_EQ(cutToChars("ab", 2), "ab");
  EXPECT_EQ(cutToChars("abc", 2), "a…");
  // A lone lead byte at the end counts as one character and is never split.
  EXPECT_EQ(cutToChars("a\x82", 2), "a\x82");
  NewsNotice n = makeNewsNotice(3, {{wide, "s"}, {wide, "s"}, {wide, "s"}}, "site", wide);
  EXPECT_EQ(n.text.substr(0, n.text.find('\n')), "【s】" + wide.substr(0, 59) + "…");
  // 255 characters at most: the last line is cut.
  std::size_t chars = 0;
  for (std::size_t i = 0; i < n.text.size(); i += (static_cast<unsigned char>(n.text[i]) >= 0x81 ? 2 : 1)) ++chars;
  EXPECT_EQ(chars, kNoticeTextChars);
  EXPECT_EQ(n.text.substr(n.text.size() - 2), "…");
}

}  // namespace
}  // namespace ls
