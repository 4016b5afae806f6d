// SPDX-License-Identifier: MIT
// The options and About dialogs and the font list, driven with real key and mouse events.
#include "gui/dialogs/OptionsDialog.h"

#include "core/format/DateFormat.h"
#include "gui/dialogs/AboutBox.h"
#include "gui/dialogs/FontComboBox.h"
#include "support/RecordingNotice.h"
#include "support/RunProgram.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

FontComboBox::FamilySource Installed(QStringList families) {
    return [families] {
        return families;
    };
}

template <typename T> T* Child(const QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void TypeInto(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

QLineEdit* DepthField(const QWidget& dialog) {
    return Child<QLineEdit>(dialog, "customDepth");
}

void ClickOk(const QWidget& dialog) {
    QTest::mouseClick(Child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
}

// Every control says what it is, none covers another, and OK is the default button; Cancel,
// where there is one, rejects.
void ExpectLabelledApartWithOk(QDialog& dialog) {
    dialog.open();
    EXPECT_FALSE(dialog.windowTitle().isEmpty());
    QList<QWidget*> controls;
    for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const auto* label = qobject_cast<QLabel*>(child);
        const auto* button = qobject_cast<QAbstractButton*>(child);
        const auto* group = qobject_cast<QGroupBox*>(child);
        EXPECT_FALSE(label && label->text().isEmpty() && label->pixmap().isNull());
        EXPECT_FALSE(button && button->text().isEmpty()) << child->objectName().toStdString();
        EXPECT_FALSE(group && group->title().isEmpty());
        if (!group)
            controls << child;
    }
    for (int i = 0; i < controls.size(); ++i)
        for (int j = i + 1; j < controls.size(); ++j) {
            const QRect both = controls[i]->geometry() & controls[j]->geometry();
            EXPECT_TRUE(both.width() <= 1 || both.height() <= 1) // the rounding of dialog units
                << controls[i]->metaObject()->className() << " " << i << " covers " << j;
        }
    const auto buttons = dialog.findChildren<QPushButton*>();
    ASSERT_FALSE(buttons.isEmpty());
    EXPECT_EQ(buttons.front()->text(), "OK");
    EXPECT_TRUE(buttons.front()->isDefault());
    if (buttons.size() > 1) {
        EXPECT_EQ(buttons[1]->text(), "Cancel");
        QTest::mouseClick(buttons[1], Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        dialog.open();
    }
    QTest::mouseClick(buttons.front(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(Dialogs, LabelEveryControlApartAndCloseWithOk) {
    test::RecordingNotice notice;
    OptionsDialog options(notice);
    options.LoadFrom({});
    ExpectLabelledApartWithOk(options);
    EXPECT_EQ(Child<QComboBox>(options, "dateCombo")->count(), kDateFormatCount);
    AboutBox about;
    ExpectLabelledApartWithOk(about);
    // "Dirscribe Version 1.2.3": the version the command line gives.
    const QString shown = Child<QLabel>(about, "version")->text();
    EXPECT_EQ("dirscribe " + shown.section(' ', 2).toStdString() + "\n",
              test::RunDirscribe({"--version"}).out);
}

TEST(OptionsDialog, EachCheckBoxShowsAndChangesItsOwnSetting) {
    using A = AdvancedOptions;
    const std::pair<const char*, std::int32_t A::*> boxes[] = {
        {"largeFont", &A::largeFont},
        {"printTitle", &A::printTitle},
        {"summary", &A::summary},
        {"numberFileLines", &A::numberFileLines},
        {"allInUpperCase", &A::allInUpperCase},
        {"addSizeInBytes", &A::addSizeInBytes},
        {"doNotDrawGrid", &A::doNotDrawGrid},
        {"numberStdLines", &A::numberStdLines},
        {"numberCdLines", &A::numberCdLines}};
    test::RecordingNotice notice;
    OptionsDialog dialog(notice);
    EXPECT_EQ(dialog.findChildren<QCheckBox*>().size(), std::size(boxes));
    for (const auto& [name, setting] : boxes) {
        dialog.LoadFrom(ListingOptions{}); // flags on and off
        const AdvancedOptions before = dialog.values;
        dialog.open();
        auto* box = Child<QCheckBox>(dialog, name);
        EXPECT_EQ(box->isChecked(), before.*setting != 0) << name;
        QTest::mouseClick(box, Qt::LeftButton);
        ClickOk(dialog);
        AdvancedOptions expected = before;
        expected.*setting = 1 - before.*setting;
        EXPECT_EQ(dialog.values, expected) << name;
    }
}

// OK gives back what the dialog showed, Escape after changes what it was given, which it
// shows again; a stored font that is not installed survives OK, with or without a list.
TEST(OptionsDialog, OkGivesBackWhatItShowedAndEscapeWhatItWasGiven) {
    test::RecordingNotice notice;
    OptionsDialog dialog(notice, nullptr, Installed({"Liberation Sans", "Verdana", "Tahoma"}));
    ListingOptions options;
    options.currentFont = "Verdana";
    options.filesAndFolders = ListingContent::FilesOnly;
    options.dateFormat = 4;
    options.customDepth = 37;
    dialog.LoadFrom(options);
    const AdvancedOptions before = dialog.values;

    dialog.open();
    EXPECT_EQ(Child<QComboBox>(dialog, "fontCombo")->currentText(), "Verdana");
    EXPECT_EQ(Child<QComboBox>(dialog, "dateCombo")->currentText(), "Dec 18 2002");
    EXPECT_EQ(DepthField(dialog)->text(), "37");
    EXPECT_TRUE(Child<QRadioButton>(dialog, "filesAndFolders1")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>(dialog, "filesAndFolders0")->isChecked());
    ClickOk(dialog);
    EXPECT_EQ(dialog.values, before);
    ListingOptions after = options;
    EXPECT_FALSE(dialog.ApplyTo(after));
    EXPECT_EQ(after, options);

    dialog.open();
    QTest::mouseClick(Child<QCheckBox>(dialog, "largeFont"), Qt::LeftButton);
    QTest::mouseClick(Child<QRadioButton>(dialog, "filesAndFolders0"), Qt::LeftButton);
    QTest::keyClick(Child<QComboBox>(dialog, "fontCombo"), Qt::Key_Up); // picks Tahoma
    TypeInto(DepthField(dialog), "7");
    QTest::keyClick(DepthField(dialog), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.values, before);
    dialog.open();
    EXPECT_FALSE(Child<QCheckBox>(dialog, "largeFont")->isChecked());
    EXPECT_EQ(Child<QComboBox>(dialog, "fontCombo")->currentText(), "Verdana");
    EXPECT_EQ(DepthField(dialog)->text(), "37");
    ClickOk(dialog);
    EXPECT_EQ(dialog.values, before) << "a pick that was cancelled is forgotten";

    options.currentFont = "Garamond";
    for (const char* installed : {"Liberation Sans", "DejaVu Sans"}) { // one offered face, none
        OptionsDialog other(notice, nullptr, Installed({installed}));
        other.LoadFrom(options);
        other.open();
        ClickOk(other);
        EXPECT_EQ(other.values.fontName, "Garamond") << installed;
    }
}

TEST(OptionsDialog, ChosenListItemsComeOutOnOk) {
    test::RecordingNotice notice;
    OptionsDialog dialog(notice, nullptr, Installed({"Arial", "Verdana"}));
    ListingOptions options; // the defaults of an empty profile
    dialog.LoadFrom(options);
    dialog.open();

    QTest::mouseClick(Child<QRadioButton>(dialog, "filesAndFolders0"), Qt::LeftButton);
    auto* dates = Child<QComboBox>(dialog, "dateCombo");
    dates->setFocus();
    QTest::keyClick(dates, Qt::Key_Down); // opens the list
    ASSERT_TRUE(dates->view()->isVisible());
    QTest::keyClick(dates->view(), Qt::Key_Down);
    QTest::keyClick(dates->view(), Qt::Key_Down);
    QTest::keyClick(dates->view(), Qt::Key_Return);
    EXPECT_EQ(dates->currentText(), "18 Dec 2002");
    QTest::keyClick(Child<QComboBox>(dialog, "fontCombo"), Qt::Key_Down); // Arial to Verdana
    TypeInto(DepthField(dialog), "2");
    QTest::keyClick(DepthField(dialog), Qt::Key_Return); // the default button

    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.ApplyTo(options));
    EXPECT_EQ(options.currentFont, "Verdana");
    EXPECT_EQ(options.filesAndFolders, ListingContent::FoldersOnly);
    EXPECT_EQ(options.dateFormat, 2);
    EXPECT_EQ(options.customDepth, 2);
    EXPECT_TRUE(notice.shown.empty());

    // A date typed over the list chooses no format, and none is stored.
    dialog.open();
    dates->lineEdit()->selectAll();
    QTest::keyClicks(dates, "2002-12-18");
    ClickOk(dialog);
    EXPECT_EQ(dialog.values.dateFormat, -1);
    dialog.ApplyTo(options);
    EXPECT_EQ(options.dateFormat, 2);
}

TEST(OptionsDialog, CustomDepthAboveAThousandKeepsTheDialogOpen) {
    test::RecordingNotice notice;
    OptionsDialog dialog(notice);
    ListingOptions options;
    dialog.LoadFrom(options);
    dialog.open();
    QLineEdit* depth = DepthField(dialog);

    for (const char* refused : {"1001", "", "-1", "ten"}) {
        TypeInto(depth, refused);
        Child<QPushButton>(dialog, "okButton")->setFocus(); // the focus has left the field
        ClickOk(dialog);
        EXPECT_TRUE(dialog.isVisible()) << refused;
        EXPECT_EQ(dialog.focusWidget(), depth) << refused;
        EXPECT_EQ(dialog.values.customDepth, 20u) << "nothing is taken: " << refused;
    }
    ASSERT_EQ(notice.shown.size(), 4u);
    EXPECT_EQ(notice.shown[0].caption, "Dirscribe");
    EXPECT_NE(notice.shown[0].text.find("1000"), std::string::npos) << notice.shown[0].text;

    TypeInto(depth, "1000");
    ClickOk(dialog);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.values.customDepth, 1000u);
    dialog.open();
    EXPECT_EQ(depth->text(), "1000") << "the values are shown again";
}

TEST(OptionsDialog, ShowsEveryFontNameAndDateFormatWholeAndMakesRoomBeside) {
    test::RecordingNotice notice;
    OptionsDialog dialog(notice, nullptr, Installed(FontComboBox::OfferedFaces()));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (const char* name : {"fontCombo", "dateCombo"}) {
        const QComboBox* combo = Child<QComboBox>(dialog, name);
        QLineEdit* field = combo->lineEdit();
        const auto cursorX = [field] {
            return field->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
        };
        for (int item = 0; item < combo->count(); ++item) {
            field->setText(combo->itemText(item)); // whole: both ends in view at once
            field->setCursorPosition(0);
            const int start = cursorX();
            field->end(false);
            EXPECT_EQ(cursorX() - start, field->fontMetrics().horizontalAdvance(field->text()));
        }
        for (const QWidget* other : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(other == combo || !other->geometry().intersects(combo->geometry()));
    }
}

QStringList Items(const QComboBox& combo) {
    QStringList items;
    for (int index = 0; index < combo.count(); ++index)
        items.append(combo.itemText(index));
    return items;
}

// One list refilled again and again: only the installed faces of its eight, sorted, with
// metric-compatible faces standing in for Arial and Times New Roman (one item per face); the
// named face in any case selected, else the first, and no fill taken for the user's choice.
TEST(FontComboBox, OffersItsInstalledFacesSortedAndSelectsTheNamedOneElseTheFirst) {
    QStringList installed;
    FontComboBox combo(nullptr, [&installed] { return installed; });
    QSignalSpy picked(&combo, &QComboBox::activated);
    struct Case {
        QStringList installed;
        const char* named;
        QStringList items;
        int current;
        QStringList faces = {}; // the face each item is drawn with, where checked
    };
    const QStringList three = {"Verdana", "Arial", "Tahoma"};
    const std::vector<Case> cases = {
        // "arial" is not the offered name: the match of an installed name is exact.
        {{"Verdana", "DejaVu Sans", "Tahoma", "arial", "Comic Sans MS [Microsoft]",
          "Haettenschweiler", "Bookman Old Style", "Verdana"},
         "Tahoma",
         {"Bookman Old Style", "Comic Sans MS", "Haettenschweiler", "Tahoma", "Verdana"},
         3},
        {{"DejaVu Sans", "DejaVu Serif", "Liberation Mono"}, "Arial", {}, -1},
        {{"Liberation Serif", "Liberation Sans", "Garamond"},
         "Times New Roman",
         {"Arial", "Garamond", "Times New Roman"},
         2,
         {"Liberation Sans", "Garamond", "Liberation Serif"}},
        {{"Arial", "Liberation Sans"}, "Arial", {"Arial"}, 0, {"Arial"}},
        {three, "vERDANA", {"Arial", "Tahoma", "Verdana"}, 2},
        {three, "Garamond", {"Arial", "Tahoma", "Verdana"}, 0},
        {three, "Tah", {"Arial", "Tahoma", "Verdana"}, 0}, // the whole name has to match
    };
    for (const Case& c : cases) {
        installed = c.installed;
        combo.FillFonts(c.named);
        EXPECT_EQ(Items(combo), c.items) << c.named;
        EXPECT_EQ(combo.currentIndex(), c.current) << c.named;
        for (int item = 0; item < c.faces.size(); ++item)
            EXPECT_EQ(combo.itemData(item).toString(), c.faces[item]) << c.named;
    }
    EXPECT_EQ(picked.count(), 0) << "filling the list is not the user's choice";
}

} // namespace
} // namespace dirscribe
