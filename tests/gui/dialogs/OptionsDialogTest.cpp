// SPDX-License-Identifier: MIT
// The options dialog driven with real key and mouse events.
#include "gui/dialogs/OptionsDialog.h"

#include "support/RecordingNotice.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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

TEST(OptionsDialog, CarriesEveryTextOfTheTemplate) {
    test::RecordingNotice notice;
    OptionsDialog dialog(notice);
    EXPECT_EQ(dialog.windowTitle(), "Dirscribe: Advanced options");

    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts.append(label->text());
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        texts.append(button->text());
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>())
        texts.append(group->title());
    for (const char* text : {"Select Font", "Format Date", "Cutom Tree Depth", "Larger Font",
                             "Print Foledr/Disk Title", "Print Folder/Disk Summary", "File",
                             "Upper case ", "Size in Bytes only", "Removable Media: No grid",
                             "Output", "Directories only", "Files only", "Both",
                             "Print Line Number", "Standard (8  x 11)", "CD/ZIP100/LS-120", "OK"})
        EXPECT_EQ(texts.count(QString::fromUtf8(text)), 1) << text;
    EXPECT_EQ(texts.size(), 18) << texts.join('|').toStdString();

    const auto buttons = dialog.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1) << "OK only: cancelling is Escape or the close box";
    EXPECT_TRUE(buttons.front()->isDefault());

    const auto* dates = Child<QComboBox>(dialog, "dateCombo");
    EXPECT_TRUE(dates->isEditable());
    const QStringList expected{"Regional Setting", "12/18/2002",  "18 Dec 2002",
                               "18/12/2002",       "Dec 18 2002", "18 Dec, 2002",
                               "Dec 18, 2002",     "10/18, 2002", "18/12, 2002"};
    ASSERT_EQ(dates->count(), expected.size());
    for (int index = 0; index < dates->count(); ++index)
        EXPECT_EQ(dates->itemText(index), expected[index]) << index;
}

TEST(OptionsDialog, ShowsTheSettingsAndGivesThemBackUnchangedOnOk) {
    test::RecordingNotice notice;
    OptionsDialog dialog(notice, nullptr, Installed({"Liberation Sans", "Verdana", "Tahoma"}));
    ListingOptions options;
    options.currentFont = "Verdana";
    options.filesAndFolders = 1;
    options.numberCdLines = 1;
    options.addSizeInBytes = 1;
    options.dateFormat = 4;
    options.printTitle = 0;
    options.customDepth = 37;
    dialog.LoadFrom(options);
    const AdvancedOptions before = dialog.values;

    dialog.open();
    EXPECT_EQ(Child<QComboBox>(dialog, "fontCombo")->currentText(), "Verdana");
    EXPECT_EQ(Child<QComboBox>(dialog, "dateCombo")->currentText(), "Dec 18 2002");
    EXPECT_EQ(DepthField(dialog)->text(), "37");
    EXPECT_TRUE(Child<QRadioButton>(dialog, "filesAndFolders1")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>(dialog, "filesAndFolders0")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(dialog, "numberCdLines")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(dialog, "numberStdLines")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(dialog, "numberFileLines")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(dialog, "addSizeInBytes")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(dialog, "summary")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(dialog, "printTitle")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(dialog, "largeFont")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(dialog, "doNotDrawGrid")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(dialog, "allInUpperCase")->isChecked());

    ClickOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.values, before);
    ListingOptions after = options;
    EXPECT_FALSE(dialog.ApplyTo(after));
    EXPECT_EQ(after, options);
}

TEST(OptionsDialog, ClickedChoicesComeOutOnOk) {
    test::RecordingNotice notice;
    OptionsDialog dialog(notice, nullptr, Installed({"Arial", "Verdana"}));
    ListingOptions options; // the defaults of an empty profile
    dialog.LoadFrom(options);
    dialog.open();

    QTest::mouseClick(Child<QRadioButton>(dialog, "filesAndFolders0"), Qt::LeftButton);
    for (const char* name :
         {"largeFont", "printTitle", "summary", "numberFileLines", "allInUpperCase",
          "addSizeInBytes", "doNotDrawGrid", "numberStdLines", "numberCdLines"})
        QTest::mouseClick(Child<QCheckBox>(dialog, name), Qt::LeftButton);
    auto* dates = Child<QComboBox>(dialog, "dateCombo");
    dates->setFocus();
    QTest::keyClick(dates, Qt::Key_Down); // opens the list
    ASSERT_TRUE(dates->view()->isVisible());
    QTest::keyClick(dates->view(), Qt::Key_Down);
    QTest::keyClick(dates->view(), Qt::Key_Down);
    QTest::keyClick(dates->view(), Qt::Key_Return);
    EXPECT_EQ(dates->currentText(), "18 Dec 2002");
    auto* fonts = Child<QComboBox>(dialog, "fontCombo");
    QTest::keyClick(fonts, Qt::Key_Down); // Arial to Verdana
    TypeInto(DepthField(dialog), "2");
    QTest::keyClick(DepthField(dialog), Qt::Key_Return); // the default button

    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.ApplyTo(options));
    EXPECT_EQ(options.currentFont, "Verdana");
    EXPECT_EQ(options.filesAndFolders, 0);
    EXPECT_EQ(options.largeFont, 1);
    EXPECT_EQ(options.printTitle, 0);
    EXPECT_EQ(options.summary, 0);
    EXPECT_EQ(options.numberFileLines, 0);
    EXPECT_EQ(options.allInUpperCase, 1);
    EXPECT_EQ(options.addSizeInBytes, 1);
    EXPECT_EQ(options.doNotDrawGrid, 1);
    EXPECT_EQ(options.numberStdLines, 0);
    EXPECT_EQ(options.numberCdLines, 1);
    EXPECT_EQ(options.dateFormat, 2);
    EXPECT_EQ(options.customDepth, 2);
    EXPECT_TRUE(notice.shown.empty());
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
    TypeInto(depth, "0");
    ClickOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.values.customDepth, 0u) << "the dialog takes 0; storing it is refused";
    EXPECT_FALSE(dialog.ApplyTo(options));
    EXPECT_EQ(options.customDepth, 20);
    EXPECT_EQ(notice.shown.size(), 4u);
}

TEST(OptionsDialog, EscapeLeavesTheValuesAsTheyWere) {
    test::RecordingNotice notice;
    OptionsDialog dialog(notice, nullptr, Installed({"Arial", "Tahoma"}));
    ListingOptions options;
    dialog.LoadFrom(options);
    const AdvancedOptions before = dialog.values;
    dialog.open();

    QTest::mouseClick(Child<QCheckBox>(dialog, "largeFont"), Qt::LeftButton);
    QTest::mouseClick(Child<QRadioButton>(dialog, "filesAndFolders1"), Qt::LeftButton);
    QTest::keyClick(Child<QComboBox>(dialog, "fontCombo"), Qt::Key_Down); // picks Tahoma
    TypeInto(DepthField(dialog), "7");
    QTest::keyClick(DepthField(dialog), Qt::Key_Escape);

    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.values, before);

    dialog.open(); // shows the old values again, not the abandoned ones
    EXPECT_FALSE(Child<QCheckBox>(dialog, "largeFont")->isChecked());
    EXPECT_EQ(Child<QComboBox>(dialog, "fontCombo")->currentText(), "Arial");
    EXPECT_EQ(DepthField(dialog)->text(), "20");
    ClickOk(dialog);
    EXPECT_EQ(dialog.values, before) << "a pick that was cancelled is forgotten";
}

TEST(OptionsDialog, TypedDateTextChoosesNoFormat) {
    test::RecordingNotice notice;
    OptionsDialog dialog(notice);
    ListingOptions options;
    options.dateFormat = 3;
    dialog.LoadFrom(options);
    dialog.open();

    QComboBox* dates = Child<QComboBox>(dialog, "dateCombo");
    dates->lineEdit()->selectAll();
    QTest::keyClicks(dates, "2002-12-18");
    ClickOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.values.dateFormat, -1);
    dialog.ApplyTo(options);
    EXPECT_EQ(options.dateFormat, 3) << "a format no list entry has is not stored";
}

TEST(OptionsDialog, StoredFontThatIsNotInstalledSurvivesOk) {
    test::RecordingNotice notice;
    OptionsDialog dialog(notice, nullptr, Installed({"Liberation Sans", "Liberation Serif"}));
    ListingOptions options;
    options.currentFont = "Garamond";
    dialog.LoadFrom(options);
    dialog.open();
    EXPECT_EQ(Child<QComboBox>(dialog, "fontCombo")->currentText(), "Arial");
    ClickOk(dialog);
    dialog.ApplyTo(options);
    EXPECT_EQ(options.currentFont, "Garamond");

    OptionsDialog empty(notice, nullptr, Installed({"DejaVu Sans"}));
    empty.LoadFrom(options);
    empty.open();
    EXPECT_EQ(Child<QComboBox>(empty, "fontCombo")->count(), 0);
    ClickOk(empty);
    EXPECT_EQ(empty.values.fontName, "Garamond");
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

} // namespace
} // namespace dirscribe
