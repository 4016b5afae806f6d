// SPDX-License-Identifier: MIT
// Fills the font list from the installed families.
#include "gui/dialogs/FontComboBox.h"

#include <QFontDatabase>
#include <QSet>
#include <algorithm>
#include <array>
#include <utility>

namespace dirscribe {
namespace {

// Faces that stock Linux systems do not ship but match by metrics, so text laid out for
// them keeps its widths. Font matching picks these up for the offered names.
constexpr std::array<std::pair<const char*, const char*>, 2> kSubstitutes{{
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
}};

// QFontDatabase writes "Family [Foundry]" when two foundries offer one family.
QString WithoutFoundry(const QString& family) {
    const qsizetype bracket = family.indexOf(QLatin1String(" ["));
    return bracket < 0 || !family.endsWith(QLatin1Char(']')) ? family : family.left(bracket);
}

} // namespace

FontComboBox::FontComboBox(QWidget* parent, FamilySource installedFamilies)
    : QComboBox(parent), m_installedFamilies(std::move(installedFamilies)) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

const QStringList& FontComboBox::OfferedFaces() {
    static const QStringList faces{QStringLiteral("Arial"),
                                   QStringLiteral("Comic Sans MS"),
                                   QStringLiteral("Times New Roman"),
                                   QStringLiteral("Garamond"),
                                   QStringLiteral("Bookman Old Style"),
                                   QStringLiteral("Tahoma"),
                                   QStringLiteral("Verdana"),
                                   QStringLiteral("Haettenschweiler")};
    return faces;
}

void FontComboBox::FillFonts(const QString& name) {
    const QStringList families =
        m_installedFamilies ? m_installedFamilies() : QFontDatabase::families();
    QSet<QString> installed;
    for (const QString& family : families)
        installed.insert(WithoutFoundry(family));

    QList<std::pair<QString, QString>> items; // offered face, family drawn for it
    for (const QString& face : OfferedFaces()) {
        if (installed.contains(face)) {
            items.append({face, face});
            continue;
        }
        for (const auto& [offered, substitute] : kSubstitutes) {
            if (face == QLatin1String(offered) && installed.contains(QLatin1String(substitute)))
                items.append({face, QString::fromLatin1(substitute)});
        }
    }
    std::sort(items.begin(), items.end(), [](const auto& a, const auto& b) {
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });

    const QSignalBlocker blocker(this);
    clear();
    for (const auto& [face, family] : items)
        addItem(face, family);
    const int found = findText(name, Qt::MatchFixedString); // whole text, any case
    setCurrentIndex(found >= 0 ? found : (count() > 0 ? 0 : -1));
}

} // namespace dirscribe
