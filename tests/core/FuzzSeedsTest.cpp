// SPDX-License-Identifier: MIT
// Every seed of the fuzzers' corpora is read again on each test run. Seeds are named for
// what they are; inputs added later may be anything and only must not break the readers.
#include "core/Error.h"
#include "core/catalogue/CatalogueError.h"
#include "core/catalogue/ChunkCodec.h"
#include "core/details/FileData.h"
#include "core/details/FileDataProgram.h"
#include "core/docfile/DocumentFile.h"
#include "core/format/Utf8.h"
#include "core/media/MediaTagReader.h"
#include "core/options/Profile.h"
#include "core/pe/VersionInfo.h"
#include "core/platform/FileByteSource.h"
#include "core/table/FileDetails.h"
#include "core/table/TablePopulation.h"
#include "support/TempTree.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dirscribe {
namespace {

// The seeds of one fuzzer, at least `least` of them: an empty or missing folder tests nothing.
std::vector<std::filesystem::path> Seeds(const char* fuzzer, std::size_t least) {
    std::vector<std::filesystem::path> seeds;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(DIRSCRIBE_FUZZ_CORPUS) / fuzzer))
        seeds.push_back(entry.path());
    EXPECT_GE(seeds.size(), least) << fuzzer;
    std::sort(seeds.begin(), seeds.end());
    return seeds;
}

bool NamedFor(const std::filesystem::path& seed, const char* kind) {
    return seed.filename().string().starts_with(kind);
}

TEST(FuzzSeeds, DocumentsAreReadCompletelyOrRefusedCleanly) {
    int read = 0;
    int refused = 0;
    for (const auto& seed : Seeds("docfile", 2)) {
        SCOPED_TRACE(seed.string());
        try {
            const DocumentContents contents = ReadDocumentFile(test::ReadFile(seed.string()));
            // What was read is complete: writing it again gives a file that reads the same.
            ListingOptions options;
            contents.settings.ApplyTo(options);
            ListingTable table;
            const TableColumn detail = ListingColumn(ColumnKind::Detail);
            table.SetColumns({ListingColumn(ColumnKind::FileName), detail, detail, detail, detail});
            table.AdoptRows(contents.rows);
            table.SetEntries(contents.entries);
            EXPECT_EQ(
                ReadDocumentFile(WriteDocumentFile(contents.summary, contents.folderPath, options,
                                                   table, contents.shape, contents.volume)),
                contents);
            EXPECT_FALSE(NamedFor(seed, "invalid-"));
            ++read;
        } catch (const Error& error) {
            EXPECT_FALSE(NamedFor(seed, "valid-")) << error.what();
            ++refused;
        }
    }
    EXPECT_GT(read, 0);
    EXPECT_GT(refused, 0);
}

TEST(FuzzSeeds, ChunksOfTheIndexAreReadOrRefusedCleanly) {
    for (const auto& seed : Seeds("chunk", 4)) {
        SCOPED_TRACE(seed.string());
        const std::string units = test::ReadFile(seed.string());
        std::size_t groups = 0;
        try {
            ChunkDecoder decoder(units, 0);
            for (SearchGroup group; decoder.Next(group);)
                ++groups;
            EXPECT_FALSE(NamedFor(seed, "invalid-"));
            EXPECT_GT(groups, 0u);
        } catch (const CatalogueError& error) {
            EXPECT_FALSE(NamedFor(seed, "valid-")) << error.what();
        }
    }
}

TEST(FuzzSeeds, ProfilesRoundTripThroughSaving) {
    for (const auto& seed : Seeds("profile", 3)) {
        SCOPED_TRACE(seed.string());
        IniFile profile = IniFile::Parse(test::ReadFile(seed.string()));
        const ListingOptions options = LoadOptions(profile);
        SaveOptions(options, profile);
        EXPECT_EQ(LoadOptions(IniFile::Parse(profile.Text())), options);
    }
}

TEST(FuzzSeeds, Mp3FilesGiveTheSummaryTheirNameNames) {
    for (const auto& seed : Seeds("media", 5)) {
        SCOPED_TRACE(seed.string());
        const FileByteSource file(seed.string());
        ASSERT_TRUE(file.IsOpen());
        std::vector<std::string> labels;
        std::vector<std::string> values;
        MediaTagReader::ReadTags(file, labels, values);
        ASSERT_EQ(labels.size(), values.size());
        ASSERT_FALSE(labels.empty());
        EXPECT_EQ(labels[0], " ");
        for (const std::string& value : values)
            EXPECT_TRUE(IsValidUtf8(value)) << value;
        if (NamedFor(seed, "id3v1-")) {
            EXPECT_EQ(values[0], "Id3v1 Tag:");
        } else if (NamedFor(seed, "id3v2-")) {
            EXPECT_EQ(values[0], "Id3v2 Tag:");
        } else if (NamedFor(seed, "both-")) {
            EXPECT_TRUE(values[0].starts_with("There're Id3v1 & Id3v2.")) << values[0];
        } else if (NamedFor(seed, "none-")) {
            EXPECT_EQ(values[0], "There isn't any Tag.");
        } else if (NamedFor(seed, "ape-")) {
            EXPECT_EQ(values[0], "APEv2 Tag:");
        }
    }
}

TEST(FuzzSeeds, ProgramsGiveVersionRowsOrTheNoDataText) {
    for (const auto& seed : Seeds("pe", 5)) {
        SCOPED_TRACE(seed.string());
        if (NamedFor(seed, "block-")) { // a bare version block, for the block parser
            const auto info = VersionInfo::Parse(test::ReadFile(seed.string()));
            ASSERT_TRUE(info);
            EXPECT_TRUE(info->QueryString("\\StringFileInfo\\040904B0\\CompanyName") ||
                        info->QueryString("\\StringFileInfo\\040904E4\\CompanyName"));
            continue;
        }
        const FileDetails details = ReadFileDetails(seed.string(), "lib.dll", 0x0409);
        if (NamedFor(seed, "valid-")) {
            EXPECT_EQ(details.comment, "File's data:");
            ASSERT_FALSE(details.rows.empty());
            EXPECT_EQ(details.rows[0].first, "  ***Company Name");
        } else if (NamedFor(seed, "invalid-")) {
            EXPECT_EQ(details, (FileDetails{".dll extention file. No data.", {}}));
        }
    }
}

TEST(FuzzSeeds, FilesOfEachKindGiveTheirRowsThroughTheReaderProgram) {
    const FileDataProgram program(DIRSCRIBE_FILEDATA_PROGRAM);
    for (const auto& seed : Seeds("filedata", 10)) {
        SCOPED_TRACE(seed.string());
        const std::string name = seed.filename().string();
        const FileDetails details = ReadFileDetails(seed.string(), name, 0x0409, &program);
        const bool noData =
            details.comment == name.substr(name.rfind('.')) + " extention file. No data.";
        if (NamedFor(seed, "valid-") || NamedFor(seed, "invalid-")) {
            EXPECT_EQ(noData, NamedFor(seed, "invalid-")) << details.comment << details.note;
        }
        for (const auto& [label, text] : details.rows)
            EXPECT_TRUE(label.starts_with("**") && CellText(text) == text) << label << text;
    }
}

} // namespace
} // namespace dirscribe
