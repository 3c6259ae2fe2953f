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
  // Guides: the container's inside (0, 0 to its size) and the controls beside, in the
  // same scale; an edge or a centre within `reach` of one of theirs comes to it.
  QRectF container;
  std::vector<QRectF> siblings;
  double reach = 0;
};

// The grid alone.
inline SnapRequest onGridOnly(const QRectF& rect, double grid, int edges = EdgesAll) {
  SnapRequest r;
  r.rect = rect;
  r.edges = edges;
  r.grid = grid;
  return r;
}

struct SnapResult {
  QRectF rect;
  std::vector<QLineF> guides;  // in the container's scale, each across both rectangles it joins
};

// A move keeps the size; its left, right and centre each look for a guide, and failing
// one the top left corner goes on the grid. A resize does the same for the edges that
// move, never closer than a step (or one unit with no grid) to the edge across.
SnapResult snap(const SnapRequest& request);

}  // namespace designer
