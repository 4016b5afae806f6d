// SPDX-License-Identifier: MIT
// The About box's texts and how it closes.
#include "gui/dialogs/AboutBox.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(AboutBox, ShowsTheVersionAndClosesWithOkOrEscape) {
    AboutBox box;
    EXPECT_EQ(box.windowTitle(), "About Dirscribe");
    const auto* version = box.findChild<QLabel*>("version");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), "Dirscribe Version 5.11");
    const auto* icon = box.findChild<QLabel*>("icon");
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());

    auto* ok = box.findChild<QPushButton*>("okButton");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(box.findChildren<QPushButton*>().size(), 1);

    box.open();
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);

    box.open();
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_FALSE(box.isVisible());
}

} // namespace
} // namespace dirscribe
