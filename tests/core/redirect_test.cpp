// Where a Location header points and which hops a fetch takes.
#include <gtest/gtest.h>

#include "net/redirect.h"

namespace ls {
namespace {

TEST(ResolveLocation, EveryFormAgainstTheRequestedUrl) {
  const char* base = "http://h:8080/news/today/index.html?x=1#top";
  struct Row {
    const char* location;
    const char* resolved;
  } rows[] = {
      {"https://other.example/a", "https://other.example/a"},
      {"HTTP://Other.example", "HTTP://Other.example/"},
      {"//cdn.example/p?q", "http://cdn.example/p?q"},
      {"/root.html", "http://h:8080/root.html"},
      {"page2.html", "http://h:8080/news/today/page2.html"},
      {"./page2.html", "http://h:8080/news/today/page2.html"},
      {"../archive/", "http://h:8080/news/archive/"},
      {"../../../../up.html", "http://h:8080/up.html"},
      {"sub/./x/../y.html", "http://h:8080/news/today/sub/y.html"},
      {"?page=2", "http://h:8080/news/today/index.html?page=2"},
      {"  spaced.html \r", "http://h:8080/news/today/spaced.html"},
      {"b.html#frag", "http://h:8080/news/today/b.html"},
      {"..", "http://h:8080/news/"},
      {"/a/b/..", "http://h:8080/a/"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(resolveLocation(base, row.location), row.resolved) << row.location;
  }
  EXPECT_EQ(resolveLocation("https://h", "x.html"), "https://h/x.html");
  EXPECT_EQ(resolveLocation("https://h?q", "x.html"), "https://h/x.html");
  EXPECT_EQ(resolveLocation("http://h/dir/", "/"), "http://h/");
}

TEST(RedirectTrail, FollowsUpToFiveHopsAndRefusesTheSixth) {
  RedirectTrail five("http://h/chain/5");
  for (int k = 4; k >= 0; --k) {
    Hop hop = five.decide(302, "/chain/" + std::to_string(k));
    ASSERT_EQ(hop.verdict, HopVerdict::kFollow) << k;
  }
  EXPECT_EQ(five.current(), "http://h/chain/0");
  EXPECT_EQ(five.decide(200, "").verdict, HopVerdict::kFinal);
  EXPECT_EQ(five.hops(), 5);

  RedirectTrail six("http://h/chain/6");
  for (int k = 5; k >= 1; --k) ASSERT_EQ(six.decide(302, "/chain/" + std::to_string(k)).verdict, HopVerdict::kFollow);
  EXPECT_EQ(six.decide(302, "/chain/0").verdict, HopVerdict::kTooMany);
}

TEST(RedirectTrail, ALoopEndsAtTheFirstRepeatedUrl) {
  RedirectTrail trail("http://h/loop-a");
  EXPECT_EQ(trail.decide(302, "/loop-b").verdict, HopVerdict::kFollow);
  EXPECT_EQ(trail.decide(302, "/loop-a").verdict, HopVerdict::kTooMany);
  // The same place written another way is the same place.
  RedirectTrail self("http://h");
  EXPECT_EQ(self.decide(301, "http://H:80/").verdict, HopVerdict::kFollow) << "host names differ in case";
  RedirectTrail same("http://h");
  EXPECT_EQ(same.decide(301, "http://h:80/").verdict, HopVerdict::kTooMany);
}

TEST(RedirectTrail, OnlyRedirectStatusesWithALocationAreFollowed) {
  for (int status : {301, 302, 303, 307, 308}) {
    RedirectTrail trail("http://h/");
    EXPECT_EQ(trail.decide(status, "/x").verdict, HopVerdict::kFollow) << status;
  }
  for (int status : {0, 200, 300, 304, 305, 404, 500}) {
    RedirectTrail trail("http://h/");
    EXPECT_EQ(trail.decide(status, "/x").verdict, HopVerdict::kFinal) << status;
  }
  RedirectTrail noLocation("http://h/");
  EXPECT_EQ(noLocation.decide(302, "  ").verdict, HopVerdict::kFinal);
}

TEST(RedirectTrail, HttpToHttpsIsFollowedButNeverBack) {
  RedirectTrail up("http://h/");
  EXPECT_EQ(up.decide(301, "https://h/").verdict, HopVerdict::kFollow);
  Hop down = up.decide(302, "http://h/plain");
  EXPECT_EQ(down.verdict, HopVerdict::kDowngrade);
  EXPECT_EQ(down.next, "http://h/plain");
  EXPECT_EQ(up.current(), "https://h/");

  RedirectTrail bad("http://h/");
  EXPECT_EQ(bad.decide(302, "ftp://h/file").verdict, HopVerdict::kBadTarget);
  RedirectTrail colon("http://h/");
  EXPECT_EQ(colon.decide(302, "a/b:c").verdict, HopVerdict::kFollow) << "a ':' after a '/' is no scheme";
  RedirectTrail control("http://h/");
  EXPECT_EQ(control.decide(302, "http://h/a\x01" "b").verdict, HopVerdict::kBadTarget);
}

TEST(RedirectTrail, MovedForGoodOnlyThroughPermanentHops) {
  RedirectTrail permanent("http://old.example/news/");
  permanent.decide(301, "https://old.example/news/");
  permanent.decide(308, "https://new.example/news/");
  permanent.decide(302, "https://new.example/news/today");
  EXPECT_EQ(permanent.movedTo(), "https://new.example/news/");
  EXPECT_EQ(permanent.current(), "https://new.example/news/today");

  RedirectTrail temporary("http://h/");
  temporary.decide(302, "/a");
  temporary.decide(301, "/b");
  EXPECT_FALSE(temporary.movedTo());
}

}  // namespace
}  // namespace ls
