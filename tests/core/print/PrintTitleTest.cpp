// SPDX-License-Identifier: MIT
// How a folder path is split over the two lines of the title box.
#include "core/print/PrintTitle.h"

#include "core/format/Utf8.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace dirscribe {
namespace {

constexpr std::time_t kDec18 = 1040220309; // 2002-12-18 14:05:09 UTC, a Wednesday

struct Lines {
    std::string first;
    std::string second;
    friend bool operator==(const Lines&, const Lines&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Lines& l) {
        return out << '"' << l.first << "\" / \"" << l.second << '"';
    }
};

Lines Split(std::string_view path, bool cutOut) {
    const PrintTitle title = ComposePrintTitle(path, cutOut, kDec18);
    return {title.firstLine, title.secondLine};
}

TEST(PrintTitle, SplitsLongPathsAfterTheFirstSeparatorFarEnoughIn) {
    constexpr bool kLetter = false;
    constexpr bool kCutOut = true;
    // Letter pages: up to 25 characters on one line; longer paths break after the first
    // "/" at character 21 or later.
    EXPECT_EQ(Split("/srv/archive/music/albums", kLetter),
              (Lines{"/srv/archive/music/albums", ""}));
    EXPECT_EQ(Split("/srv/archive/music/ab/cdef", kLetter),
              (Lines{"/srv/archive/music/ab/", "cdef"}));
    // The last "/" stands at character 20: too early, so the whole path goes below.
    EXPECT_EQ(Split("/srv/archive/music/a/bcdef", kLetter),
              (Lines{"", "/srv/archive/music/a/bcdef"}));
    EXPECT_EQ(Split("/", kLetter), (Lines{"/", ""}));
    EXPECT_EQ(Split("", kLetter), (Lines{"", ""}));

    // Cut-out panels: up to 35 characters on one line, then a break at character 30 or later.
    EXPECT_EQ(Split("/media/cdrom/backups/2002/december", kCutOut),
              (Lines{"/media/cdrom/backups/2002/december", ""}));
    EXPECT_EQ(Split("/media/cdrom/backups/2002/december/x", kCutOut),
              (Lines{"/media/cdrom/backups/2002/december/", "x"}));
    EXPECT_EQ(Split("/media/cdrom/backups/2002/december/x", kLetter),
              (Lines{"/media/cdrom/backups/2002/", "december/x"}));

    // Characters, not bytes: 25 characters in 26 bytes still fit on one line.
    EXPECT_EQ(Split("/home/jürgen/musik/albenx", kLetter),
              (Lines{"/home/jürgen/musik/albenx", ""}));
    // 26 characters in 28 bytes: the last "/" is byte 22 but character 20, too early.
    EXPECT_EQ(Split("/home/jürgen/musik/ü/abcde", kLetter),
              (Lines{"", "/home/jürgen/musik/ü/abcde"}));
}

TEST(PrintTitle, DateLineIsABlankAndTheMomentInTheCLocale) {
    const test::ScopedEnvironment zone("TZ", "UTC");
    EXPECT_EQ(ComposePrintTitle("/", false, kDec18).dateLine, " Wed Dec 18 14:05:09 2002");
}

// Upper case takes every letter; a path too wide for the box breaks after a "/" on as many
// lines as it takes, and a name is cut only where it alone is wider than a line.
TEST(PrintTitle, UpperCasesEveryLetterAndBreaksAWidePathBetweenNames) {
    const auto lines = [](std::string_view path, bool upper, std::size_t width = 20) {
        const LineFits fits = [width](std::string_view line) {
            return Utf8Length(line) <= width;
        };
        const PrintTitle title = ComposePrintTitle(path, false, kDec18, upper, fits);
        std::string joined = title.firstLine + "|" + title.secondLine;
        for (const std::string& line : title.moreLines)
            joined += "|" + line;
        return joined;
    };
    EXPECT_EQ(lines("/home/jürgen/Ágætis ß", true), "/HOME/JÜRGEN/|ÁGÆTIS ß");
    EXPECT_EQ(lines("/music/Sigur Rós - Ágætis byrjun", false),
              "/music/|Sigur Rós - Ágætis b|yrjun");
    EXPECT_EQ(lines("/a/bb/cc/dd/ee/ff/gg/hh/ii/jj/kk/ll/mm/nn", false),
              "/a/bb/cc/dd/ee/ff/|gg/hh/ii/jj/kk/ll/|mm/nn");
    EXPECT_EQ(lines("/srv/archive/music/ab/cdef", false, 22), "/srv/archive/music/ab/|cdef")
        << "lines that fit are split as ever";
}

} // namespace
} // namespace dirscribe
