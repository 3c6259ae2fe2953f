// Where a move or a resize comes to rest on the grid.
#include <gtest/gtest.h>

#include "designer_fixture.h"
#include "snapper.h"

using namespace designer;


TEST(SnapperTest, MovesAndResizesComeToRestOnTheGrid) {
  struct Case {
    const char* what;
    QRectF asked;
    int edges;
    double grid;
    QRectF given;
  };
  const Case cases[] = {
      {"a move keeps the size", {130, 250, 1000, 300}, EdgesAll, 120, {120, 240, 1000, 300}},
      {"halfway goes on", {180, 60, 50, 50}, EdgesAll, 120, {240, 120, 50, 50}},
      {"left of the origin", {-70, -130, 100, 100}, EdgesAll, 120, {-120, -120, 100, 100}},
      {"no grid: free", {133, 251, 10, 10}, EdgesAll, 0, {133, 251, 10, 10}},
      {"the right edge", {120, 120, 1000, 300}, EdgeRight, 120, {120, 120, 960, 300}},
      {"the bottom left corner", {125, 120, 1000, 305}, EdgeLeft | EdgeBottom, 120, {120, 120, 1005, 360}},
      {"never past the edge across", {600, 120, 10, 300}, EdgeRight, 120, {600, 120, 120, 300}},
      {"nor the top past the bottom", {120, 500, 300, 20}, EdgeTop, 120, {120, 400, 300, 120}},
      {"free sizing keeps a unit", {100, 100, -30, 50}, EdgeRight, 0, {100, 100, 1, 50}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const SnapResult r = snap({c.asked, c.edges, c.grid});
    EXPECT_EQ(r.rect, c.given);
  }
}
