#pragma once
// Where a control being moved or sized comes to rest: one function from the rectangle
// asked for to the rectangle given, with the lines that guided it.
#include <QLineF>
#include <QRectF>
#include <vector>

namespace designer {

enum Edge { EdgeLeft = 1, EdgeTop = 2, EdgeRight = 4, EdgeBottom = 8, EdgesAll = 15 };

struct SnapRequest {
  QRectF rect;            // asked for, in the container's scale
  int edges = EdgesAll;   // the edges that move: all of them for a move
  double grid = 0;        // the grid's step in the container's scale; 0 moves freely
};

struct SnapResult {
  QRectF rect;
  std::vector<QLineF> guides;
};

// A move keeps the size and puts the top left corner on the grid; a resize puts the
// edges that move on it, never closer than a step (or one unit with no grid) to the
// edge across.
SnapResult snap(const SnapRequest& request);

}  // namespace designer
