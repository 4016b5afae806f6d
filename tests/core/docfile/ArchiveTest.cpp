// SPDX-License-Identifier: MIT
// The three string length forms, read back and refused when cut; integers are checked with
// whole documents.
#include "core/Error.h"
#include "core/docfile/ArchiveReader.h"
#include "core/docfile/ArchiveWriter.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/mman.h>

namespace dirscribe {
namespace {

using namespace std::string_literals;

std::string Written(std::string_view text) {
    ArchiveWriter writer;
    writer.WriteString(text);
    return writer.Bytes();
}

TEST(Archive, EachLengthFormAtItsBoundaries) {
    struct Case {
        std::size_t length;
        std::string prefix;
    };
    const Case cases[] = {
        {0, "\x00"s},
        {1, "\x01"s},
        {254, "\xFE"s},
        {255, "\xFF\xFF\x00"s},
        {256, "\xFF\x00\x01"s},
        {65533, "\xFF\xFD\xFF"s},
        {65534, "\xFF\xFF\xFF\xFE\xFF\x00\x00"s},
        {65535, "\xFF\xFF\xFF\xFF\xFF\x00\x00"s},
        {70000, "\xFF\xFF\xFF\x70\x11\x01\x00"s}, // 70000 = 0x11170
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::string text(c.length, 'x');
        if (!text.empty())
            text.back() = 'z'; // the last byte must arrive too
        const std::string bytes = Written(text);
        EXPECT_EQ(bytes, c.prefix + text);

        ArchiveReader reader(bytes);
        EXPECT_EQ(reader.ReadString("the text"), text);
        EXPECT_TRUE(reader.AtEnd());

        // One byte short, wherever it is cut, is refused and leaves the position alone.
        for (std::size_t cut : {std::size_t{0}, c.prefix.size() - 1, bytes.size() - 1}) {
            if (cut >= bytes.size())
                continue;
            ArchiveReader shortReader(std::string_view(bytes).substr(0, cut));
            std::string_view out = "untouched";
            EXPECT_FALSE(shortReader.TryReadString(out));
            EXPECT_EQ(out, "untouched");
            EXPECT_EQ(shortReader.Offset(), 0u);
        }
    }
}

TEST(Archive, ShortLengthsInLongerFormsAreRead) {
    const std::string bytes = "\xFF\x03\x00"
                              "abc"
                              "\xFF\xFF\xFF\x02\x00\x00\x00"
                              "hi"
                              "\x00"s;
    ArchiveReader reader(bytes);
    EXPECT_EQ(reader.ReadString("a"), "abc");
    EXPECT_EQ(reader.ReadString("b"), "hi");
    EXPECT_EQ(reader.ReadString("c"), "");
    EXPECT_TRUE(reader.AtEnd());
}

TEST(Archive, ALengthLargerThanTheBytesLeftIsACut) {
    // A 32-bit length of 4 GiB - 1 over a few bytes is compared with what is there.
    const std::string bytes = "\xFF\xFF\xFF\xFF\xFF\xFF\xFF"
                              "abc"s;
    ArchiveReader reader(bytes);
    try {
        (void)reader.ReadString("the folder path");
        FAIL() << "the length is larger than the bytes";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "the file ends inside the folder path");
    }
    EXPECT_EQ(reader.Offset(), 0u);
}

TEST(Archive, TextTooLongForTheLengthIsRefused) {
    // 4 GiB of address space that is never touched: the length is checked before any byte
    // is copied.
    const std::size_t length = std::size_t{1} << 32;
    void* area =
        ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (area == MAP_FAILED)
        GTEST_SKIP() << "no room for 4 GiB of address space";
    ArchiveWriter writer;
    writer.WriteInt32(1);
    EXPECT_THROW(writer.WriteString(std::string_view(static_cast<const char*>(area), length)),
                 Error);
    EXPECT_EQ(writer.Bytes(), "\x01\x00\x00\x00"s) << "nothing of the refused text is written";
    ::munmap(area, length);
}

} // namespace
} // namespace dirscribe
