// SPDX-License-Identifier: MIT
// The parts of a window a test reaches, found as a user's tools find them: by objectName,
// and the editor and menu by being open.
#pragma once

#include "gui/table/CellEdit.h"

#include <QMenu>
#include <QObject>
#include <QString>
#include <stdexcept>

namespace dirscribe::test {

// The child of parent named name; a part that is not there fails the test.
template <typename Part> Part& PartNamed(const QObject& parent, const char* name) {
    Part* part = parent.findChild<Part*>(QString::fromLatin1(name));
    if (part == nullptr)
        throw std::runtime_error(std::string("no part named ") + name);
    return *part;
}

// The cell editor open below parent; null when none is (a finished one is hidden at once).
inline CellEdit* OpenEditor(const QObject& parent) {
    for (CellEdit* editor : parent.findChildren<CellEdit*>())
        if (!editor->isHidden())
            return editor;
    return nullptr;
}

// The row menu open below parent; null when none is.
inline QMenu* OpenRowMenu(const QObject& parent) {
    for (QMenu* menu : parent.findChildren<QMenu*>(QStringLiteral("rowMenu")))
        if (menu->isVisible())
            return menu;
    return nullptr;
}

} // namespace dirscribe::test
