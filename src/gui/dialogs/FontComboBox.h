// SPDX-License-Identifier: MIT
// The font list of the options dialog: the offered faces that this system can show.
#pragma once

#include <QComboBox>
#include <QStringList>
#include <functional>

namespace dirscribe {

class FontComboBox : public QComboBox {
    Q_OBJECT
public:
    // Gives the font families installed on the system, as QFontDatabase::families() does.
    using FamilySource = std::function<QStringList()>;

    // An empty source asks QFontDatabase each time the list is filled.
    explicit FontComboBox(QWidget* parent = nullptr, FamilySource installedFamilies = {});

    // The faces the list offers, whichever are installed.
    static const QStringList& OfferedFaces();

    // Refills the list with the offered faces that are installed, sorted alphabetically, and
    // selects the one whose name equals `name` ignoring case, else the first item (none when
    // the list is empty). Selecting here emits no activated(): a caller that follows the
    // user's choice keeps its own name until the user picks an item. A face counts as
    // installed when the system has it, or has its metric-compatible substitute (Liberation
    // Sans for Arial, Liberation Serif for Times New Roman), which font matching then
    // uses in its place; the item's data (Qt::UserRole) is the family that will be drawn.
    void FillFonts(const QString& name);

private:
    FamilySource m_installedFamilies;
};

} // namespace dirscribe
