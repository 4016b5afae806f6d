// SPDX-License-Identifier: MIT
// The options dialog shows every offered font name and date format whole, and the controls
// beside them make room.
#include "gui/dialogs/OptionsDialog.h"
#include "support/RecordingNotice.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(OptionsDialogLayout, ShowsEveryNameWholeAndTheControlsBesideMakeRoom) {
    test::RecordingNotice notice;
    OptionsDialog dialog(notice, nullptr, [] { return FontComboBox::OfferedFaces(); });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (const char* name : {"fontCombo", "dateCombo"}) {
        const auto* combo = dialog.findChild<QComboBox*>(QString::fromLatin1(name));
        ASSERT_NE(combo, nullptr);
        QLineEdit* field = combo->lineEdit();
        const auto cursorX = [field] {
            return field->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        };
        for (int item = 0; item < combo->count(); ++item) {
            // Whole when both ends of the text are in view at once: no scrolling between.
            field->setText(combo->itemText(item));
            field->setCursorPosition(0);
            const int start = cursorX();
            field->end(false);
            EXPECT_EQ(cursorX() - start, field->fontMetrics().horizontalAdvance(field->text()))
                << field->text().toStdString();
        }
    }
    // The labels beside the wider lists, and the column right of them, moved along.
    for (const QComboBox* combo : dialog.findChildren<QComboBox*>())
        for (const QWidget* other : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(other == combo || !other->geometry().intersects(combo->geometry()))
                << other->metaObject()->className();
}

} // namespace
} // namespace dirscribe
