// One visited cell of a path search.
#pragma once

namespace zrb::path {

struct Node {
  Node* parent = nullptr;  // the node this cell was reached from; null for the start
  int x = 0;
  int y = 0;
  float f = 0;           // ordering value: blend of cost so far and distance estimate
  float g = 0;           // cost from the start
  Node* next = nullptr;  // chain link inside the closed set's bucket
};

}  // namespace zrb::path
