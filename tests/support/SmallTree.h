// SPDX-License-Identifier: MIT
// The small tree the folder reading tests list in every way.
#pragma once

#include "support/TempTree.h"

#include <string>

namespace dirscribe::test {

// root: A/{a1 (10 bytes), Deep/{d1 (100 bytes)}}, B/ (empty), x (1 byte), y (2 bytes)
inline void FillSmallTree(TempTree& tree) {
    tree.File("A/a1", std::string(10, 'a'));
    tree.File("A/Deep/d1", std::string(100, 'd'));
    tree.Folder("B");
    tree.File("x", "x");
    tree.File("y", "yy");
}

} // namespace dirscribe::test
