// Where a move or a resize comes to rest: on the grid, or on a guide to the container's
// sides and the controls beside.
#include <gtest/gtest.h>

#include "designer_fixture.h"
#include "snapper.h"

using namespace designer;

TEST(SnapperTest, MovesAndResizesComeToRestOnTheGridOrAGuide) {
  const QRectF area(0, 0, 6000, 4500);
  const std::vector<QRectF> beside{{1000, 500, 1200, 300}};
  struct Case {
    const char* what;
    QRectF asked;
    int edges;
    double reach;  // 0: the grid alone
    QRectF given;
    std::vector<QLineF> guides;
  };
  const Case cases[] = {
      {"a move keeps the size", {130, 250, 1000, 300}, EdgesAll, 0, {120, 240, 1000, 300}, {}},
      {"halfway goes on", {180, 60, 50, 50}, EdgesAll, 0, {240, 120, 50, 50}, {}},
      {"left of the origin", {-70, -130, 100, 100}, EdgesAll, 0, {-120, -120, 100, 100}, {}},
      {"the right edge", {120, 120, 1000, 300}, EdgeRight, 0, {120, 120, 960, 300}, {}},
      {"the bottom left corner", {125, 120, 1000, 305}, EdgeLeft | EdgeBottom, 0, {120, 120, 1005, 360}, {}},
      {"never past the edge across", {600, 120, 10, 300}, EdgeRight, 0, {600, 120, 120, 300}, {}},
      {"nor the top past the bottom", {120, 500, 300, 20}, EdgeTop, 0, {120, 400, 300, 120}, {}},
      // A left edge near the sibling's: to it, the guide across both; the top on the grid.
      {"a left edge to a sibling's", {1030, 2000, 600, 300}, EdgesAll, 60, {1000, 2040, 600, 300}, {{1000, 500, 1000, 2340}}},
      {"a centre to a sibling's", {1290, 3000, 600, 300}, EdgesAll, 60, {1300, 3000, 600, 300}, {{1600, 500, 1600, 3300}}},
      {"a right edge to the container's side", {5330, 3000, 630, 300}, EdgesAll, 60, {5370, 3000, 630, 300}, {{6000, 0, 6000, 4500}}},
      {"beyond reach: the grid", {1100, 2000, 600, 300}, EdgesAll, 60, {1080, 2040, 600, 300}, {}},
      {"a sized edge to a sibling's", {120, 900, 2060, 300}, EdgeRight, 60, {120, 900, 2080, 300}, {{2200, 500, 2200, 1200}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const SnapResult r = snap({c.asked, c.edges, 120, area, beside, c.reach});
    EXPECT_EQ(r.rect, c.given);
    EXPECT_EQ(r.guides, c.guides);
  }
  // No grid at all: free.
  EXPECT_EQ(snap(onGridOnly({133, 251, 10, 10}, 0)).rect, QRectF(133, 251, 10, 10));
  EXPECT_EQ(snap(onGridOnly({100, 100, -30, 50}, 0, EdgeRight)).rect, QRectF(100, 100, 1, 50)) << "a unit kept";
}
