// SPDX-License-Identifier: MIT
// The kind of file a save writes, by the name the user chose.
#include "core/docfile/SaveFormat.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(SaveFormat, TxtInAnyCaseIsTheReportAndEverythingElseTheDocument) {
    EXPECT_EQ(SaveFormatFor("list.txt"), SaveFormat::TextReport);
    EXPECT_EQ(SaveFormatFor("LIST.TXT"), SaveFormat::TextReport);
    EXPECT_EQ(SaveFormatFor("a.TxT"), SaveFormat::TextReport);
    EXPECT_EQ(SaveFormatFor("txt"), SaveFormat::TextReport);
    EXPECT_EQ(SaveFormatFor("/home/ann/CD LIST.TXT"), SaveFormat::TextReport);
    EXPECT_EQ(SaveFormatFor("notestxt"), SaveFormat::TextReport) << "the last three characters";

    EXPECT_EQ(SaveFormatFor("disk.DSC"), SaveFormat::DocumentFile);
    EXPECT_EQ(SaveFormatFor("x.dsc"), SaveFormat::DocumentFile);
    EXPECT_EQ(SaveFormatFor("noext"), SaveFormat::DocumentFile);
    EXPECT_EQ(SaveFormatFor("list.csv"), SaveFormat::DocumentFile);
    EXPECT_EQ(SaveFormatFor("dir.txt/file"), SaveFormat::DocumentFile) << "the folder's name";
    EXPECT_EQ(SaveFormatFor("old.txt/"), SaveFormat::DocumentFile);
    EXPECT_EQ(SaveFormatFor("tx"), SaveFormat::DocumentFile);
    EXPECT_EQ(SaveFormatFor(""), SaveFormat::DocumentFile);
    EXPECT_EQ(SaveFormatFor("list.txt.dsc"), SaveFormat::DocumentFile);
}

} // namespace
} // namespace dirscribe
