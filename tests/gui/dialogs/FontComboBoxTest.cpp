// SPDX-License-Identifier: MIT
// The font list: which faces it offers, in which order, and which one it selects.
#include "gui/dialogs/FontComboBox.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

QStringList Items(const QComboBox& combo) {
    QStringList items;
    for (int index = 0; index < combo.count(); ++index)
        items.append(combo.itemText(index));
    return items;
}

FontComboBox::FamilySource Installed(QStringList families) {
    return [families] {
        return families;
    };
}

TEST(FontComboBox, OffersOnlyInstalledFacesOfItsEightSorted) {
    FontComboBox combo(nullptr, Installed({"Verdana", "DejaVu Sans", "Tahoma", "arial",
                                           "Comic Sans MS [Microsoft]", "Haettenschweiler",
                                           "Bookman Old Style", "Verdana"}));
    combo.FillFonts("Tahoma");
    // "arial" is not the offered name: the match of an installed name is exact.
    EXPECT_EQ(Items(combo), QStringList({"Bookman Old Style", "Comic Sans MS", "Haettenschweiler",
                                         "Tahoma", "Verdana"}));
    EXPECT_EQ(combo.currentText(), "Tahoma");

    FontComboBox none(nullptr, Installed({"DejaVu Sans", "DejaVu Serif", "Liberation Mono"}));
    none.FillFonts("Arial");
    EXPECT_EQ(none.count(), 0);
    EXPECT_EQ(none.currentIndex(), -1);
}

TEST(FontComboBox, MetricCompatibleFacesStandInForArialAndTimesNewRoman) {
    FontComboBox combo(nullptr, Installed({"Liberation Serif", "Liberation Sans", "Garamond"}));
    combo.FillFonts("Times New Roman");
    EXPECT_EQ(Items(combo), QStringList({"Arial", "Garamond", "Times New Roman"}));
    EXPECT_EQ(combo.currentText(), "Times New Roman");
    EXPECT_EQ(combo.itemData(0).toString(), "Liberation Sans");
    EXPECT_EQ(combo.itemData(1).toString(), "Garamond");
    EXPECT_EQ(combo.itemData(2).toString(), "Liberation Serif");

    FontComboBox both(nullptr, Installed({"Arial", "Liberation Sans"}));
    both.FillFonts("Arial");
    EXPECT_EQ(Items(both), QStringList({"Arial"})) << "one item per face";
    EXPECT_EQ(both.itemData(0).toString(), "Arial");
}

TEST(FontComboBox, SelectsTheNamedFaceInAnyCaseElseTheFirstWithoutAnnouncingIt) {
    QStringList installed{"Verdana", "Arial", "Tahoma"};
    FontComboBox combo(nullptr, [&installed] { return installed; });
    QSignalSpy picked(&combo, &QComboBox::activated);

    combo.FillFonts("vERDANA");
    EXPECT_EQ(combo.currentText(), "Verdana");
    combo.FillFonts("Garamond"); // not installed
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_EQ(combo.currentText(), "Arial");
    combo.FillFonts("Tah"); // the whole name has to match
    EXPECT_EQ(combo.currentText(), "Arial");
    EXPECT_EQ(picked.count(), 0) << "filling the list is not the user's choice";

    installed = {"Tahoma"};
    combo.FillFonts("Arial");
    EXPECT_EQ(Items(combo), QStringList({"Tahoma"})) << "each fill starts from an empty list";
}

} // namespace
} // namespace dirscribe
