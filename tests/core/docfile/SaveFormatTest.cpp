// SPDX-License-Identifier: MIT
// The kind of file a save writes, by the name the user chose.
#include "core/docfile/SaveFormat.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(SaveFormat, TxtInAnyCaseIsTheReportAndEverythingElseTheDocument) {
    for (const char* report : {"LIST.TXT", "a.TxT", "txt", "notestxt"})
        EXPECT_EQ(SaveFormatFor(report), SaveFormat::TextReport) << report;
    for (const char* document : {"x.dsc", "list.csv", "dir.txt/file", "old.txt/", "tx", ""})
        EXPECT_EQ(SaveFormatFor(document), SaveFormat::DocumentFile) << document;
}

} // namespace
} // namespace dirscribe
