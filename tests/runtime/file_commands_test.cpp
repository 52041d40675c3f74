#include "runtime/files.h"

#include "runtime/file_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace ep {
namespace {

namespace fs = std::filesystem;

Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

class FileCommandsTest : public testing::Test {
  protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        m_folder =
            fs::temp_directory_path() / (std::string("ep_files_") + info->test_suite_name() + "_" + info->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }

    void TearDown() override {
        for (FileNumber file : m_opened)
            FileClose(file);
        fs::remove_all(m_folder);
    }

    Text PathOf(const std::string& name) const { return NameOfPath(m_folder / PathOfName(name)); }

    void Store(const std::string& name, const std::string& content) const {
        std::ofstream(m_folder / PathOfName(name), std::ios::binary) << content;
    }

    std::string Load(const std::string& name) const {
        std::ifstream in(m_folder / PathOfName(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    /// Opens and remembers the file, so that a failing test still closes it.
    FileNumber Open(const std::string& name, int mode, int share) {
        const FileNumber file = FileOpen(PathOf(name), mode, share);
        if (file != 0)
            m_opened.push_back(file);
        return file;
    }

    fs::path m_folder;
    std::vector<FileNumber> m_opened;
};

TEST_F(FileCommandsTest, WriteWholeFileWritesThePartsBackToBack) {
    EXPECT_TRUE(WriteWholeFile(PathOf("set.tonset"),
                               {BytesOf("001"), Bytes{}, BytesOf(std::string(1, '\0') + '2'), BytesOf("3")}));
    EXPECT_EQ(Load("set.tonset"), std::string("001") + '\0' + "23");
}

TEST_F(FileCommandsTest, WriteWholeFileWithAnEmptyByteStringCreatesAnEmptyFile) {
    EXPECT_TRUE(WriteWholeFile(PathOf("empty"), {Bytes{}}));
    ASSERT_TRUE(fs::exists(m_folder / "empty"));
    EXPECT_EQ(fs::file_size(m_folder / "empty"), 0u);
}

TEST_F(FileCommandsTest, WriteWholeFileTruncatesALongerFile) {
    Store("set", "0123456789");
    EXPECT_TRUE(WriteWholeFile(PathOf("set"), {BytesOf("ab")}));
    EXPECT_EQ(Load("set"), "ab");
}

TEST_F(FileCommandsTest, WriteWholeFileFailsWithoutANameOrAFolder) {
    EXPECT_FALSE(WriteWholeFile("", {BytesOf("x")}));
    EXPECT_FALSE(WriteWholeFile(PathOf("missing/set"), {BytesOf("x")}));
}

TEST_F(FileCommandsTest, WriteWholeFileLeavesAFileThatIsOpenElsewhereUntouched) {
    Store("set", "keep");
    const FileNumber reader = Open("set", 1, 1);
    ASSERT_NE(reader, 0);
    EXPECT_FALSE(WriteWholeFile(PathOf("set"), {BytesOf("lost")}));
    EXPECT_EQ(Load("set"), "keep");
    FileClose(reader);
    EXPECT_TRUE(WriteWholeFile(PathOf("set"), {BytesOf("new")}));
    EXPECT_EQ(Load("set"), "new");
}

TEST_F(FileCommandsTest, FileOpenRefusesBadArguments) {
    Store("set", "x");
    EXPECT_EQ(FileOpen("", 1, 1), 0);
    for (const auto& [mode, share] : {std::pair{0, 1}, {7, 1}, {-1, 1}, {1, 0}, {1, 5}, {3, -2}})
        EXPECT_EQ(Open("set", mode, share), 0) << "mode " << mode << " share " << share;
}

TEST_F(FileCommandsTest, OpeningModesNeedOrCreateTheFile) {
    for (int mode : {1, 2, 3})
        EXPECT_EQ(Open("missing", mode, 1), 0) << "mode " << mode;
    EXPECT_FALSE(fs::exists(m_folder / "missing"));
    for (int mode : {4, 5, 6}) {
        const std::string name = "created" + std::to_string(mode);
        EXPECT_NE(Open(name, mode, 1), 0) << "mode " << mode;
        EXPECT_TRUE(fs::exists(m_folder / name)) << "mode " << mode;
    }
}

TEST_F(FileCommandsTest, ModeFourTruncatesAndModesFiveAndSixKeepTheContents) {
    Store("four", "old");
    Store("five", "old");
    Store("six", "old");
    EXPECT_NE(Open("four", 4, 1), 0);
    EXPECT_NE(Open("five", 5, 1), 0);
    const FileNumber six = Open("six", 6, 1);
    ASSERT_NE(six, 0);
    EXPECT_EQ(Load("four"), "");
    EXPECT_EQ(Load("five"), "old");
    EXPECT_EQ(FileReadText(six), "old");
}

TEST_F(FileCommandsTest, WriteOnlyModesReadNothing) {
    Store("set", "abc");
    EXPECT_EQ(FileReadText(Open("set", 2, 1)), "");
    EXPECT_EQ(FileReadText(Open("set", 5, 1)), "");
    EXPECT_EQ(FileReadText(Open("set", 3, 1)), "abc");
}

TEST_F(FileCommandsTest, OpenFilesHaveDistinctNonzeroNumbers) {
    Store("a", "A");
    Store("b", "B");
    const FileNumber a = Open("a", 1, 1);
    const FileNumber b = Open("b", 1, 1);
    ASSERT_NE(a, 0);
    ASSERT_NE(b, 0);
    EXPECT_NE(a, b);
    EXPECT_EQ(FileReadText(a), "A");
    EXPECT_EQ(FileReadText(b), "B");
}

/// Whether readers may open the file beside one that asked for share 3 (others may not write), and it
/// beside them: Windows's own share modes allow it, the POSIX emulation refuses (see FileOpen).
#if defined(_WIN32)
constexpr bool kShareThreeAdmitsReaders = true;
#else
constexpr bool kShareThreeAdmitsReaders = false;
#endif

struct ShareCase {
    int firstShare;
    int secondShare;
    bool secondOpens;
};

void PrintTo(const ShareCase& c, std::ostream* out) { *out << "share " << c.firstShare << " then " << c.secondShare; }

class FileShareTest : public FileCommandsTest, public testing::WithParamInterface<ShareCase> {};

TEST_P(FileShareTest, SecondOpenFollowsTheShareModes) {
    Store("set", "x");
    const auto& c = GetParam();
    ASSERT_NE(Open("set", 1, c.firstShare), 0);
    EXPECT_EQ(Open("set", 1, c.secondShare) != 0, c.secondOpens);
}

INSTANTIATE_TEST_SUITE_P(Pairs, FileShareTest,
                         testing::Values(ShareCase{1, 1, true}, ShareCase{1, 2, false},
                                         ShareCase{1, 3, kShareThreeAdmitsReaders}, ShareCase{1, 4, false},
                                         ShareCase{2, 1, false}, ShareCase{3, 1, kShareThreeAdmitsReaders},
                                         ShareCase{4, 1, false}, ShareCase{4, 4, false}, ShareCase{2, 2, false},
                                         ShareCase{3, 3, kShareThreeAdmitsReaders}));

TEST_F(FileCommandsTest, ShareThreeRefusesAWriter) {
    Store("set", "x");
    ASSERT_NE(Open("set", 1, 3), 0);
    EXPECT_EQ(Open("set", 2, 1), 0);
    EXPECT_EQ(Open("set", 3, 1), 0);
}

TEST_F(FileCommandsTest, AClosedFileCanBeOpenedExclusivelyAgain) {
    Store("set", "x");
    const FileNumber first = FileOpen(PathOf("set"), 3, 4);
    ASSERT_NE(first, 0);
    EXPECT_EQ(Open("set", 3, 4), 0);
    FileClose(first);
    EXPECT_NE(Open("set", 3, 4), 0);
}

TEST_F(FileCommandsTest, ARefusedTruncatingOpenLeavesTheContents) {
    Store("set", "keep");
    const FileNumber exclusive = FileOpen(PathOf("set"), 1, 4);
    ASSERT_NE(exclusive, 0);
    EXPECT_EQ(Open("set", 4, 1), 0);
    // Closed first, as on Windows the exclusive open keeps out even this test's own reading.
    FileClose(exclusive);
    EXPECT_EQ(Load("set"), "keep");
}

TEST_F(FileCommandsTest, ReadEndsAtTheEndOfFileByteAndStaysThere) {
    Store("set", std::string("12") + '\x1A' + "34");
    const FileNumber file = Open("set", 1, 1);
    EXPECT_EQ(FileReadText(file), "12");
    // The position is left on the end byte, not after it.
    EXPECT_EQ(FileReadText(file), "");
}

TEST_F(FileCommandsTest, ReadEndsAtTheZeroByte) {
    Store("set", std::string("ab\0cd", 5));
    EXPECT_EQ(FileReadText(Open("set", 1, 1)), "ab");
}

TEST_F(FileCommandsTest, ReadWithALengthContinuesWhereItStopped) {
    Store("set", "038030099");
    const FileNumber file = Open("set", 1, 1);
    EXPECT_EQ(FileReadText(file, 3), "038");
    EXPECT_EQ(FileReadText(file, 3), "030");
    EXPECT_EQ(FileReadText(file), "099");
    EXPECT_EQ(FileReadText(file), "");
}

TEST_F(FileCommandsTest, ReadWithoutALengthReadsTheRest) {
    Store("set", "abcdef");
    const FileNumber file = Open("set", 1, 1);
    EXPECT_EQ(FileReadText(file, 2), "ab");
    EXPECT_EQ(FileReadText(file), "cdef");
}

TEST_F(FileCommandsTest, ReadWithALengthBelowOneReadsNothingAndDoesNotMove) {
    Store("set", "abc");
    const FileNumber file = Open("set", 1, 1);
    EXPECT_EQ(FileReadText(file, 0), "");
    EXPECT_EQ(FileReadText(file, -5), "");
    EXPECT_EQ(FileReadText(file), "abc");
}

TEST_F(FileCommandsTest, ReadWithALengthBeyondTheFileReadsItAll) {
    Store("set", "abc");
    EXPECT_EQ(FileReadText(Open("set", 1, 1), 2147483647), "abc");
}

TEST_F(FileCommandsTest, ReadOfAnEmptyFileOrAnUnknownNumberIsEmpty) {
    Store("empty", "");
    EXPECT_EQ(FileReadText(Open("empty", 1, 1)), "");
    EXPECT_EQ(FileReadText(0), "");
    EXPECT_EQ(FileReadText(987654, 10), "");
}

TEST_F(FileCommandsTest, ReadKeepsMultiByteCharactersWhole) {
    Store("set", "中文\x1A");
    EXPECT_EQ(FileReadText(Open("set", 1, 1)), "中文");
}

TEST_F(FileCommandsTest, ReadLeavesACharacterCutByTheLengthForTheNextRead) {
    Store("set", "a中b");
    const FileNumber file = Open("set", 1, 1);
    EXPECT_EQ(FileReadText(file, 2), "a");
    EXPECT_EQ(FileReadText(file, 3), "中");
    EXPECT_EQ(FileReadText(file), "b");
}

TEST_F(FileCommandsTest, ReadEndsAtALeadByteCutByAnEndByte) {
    Store("zero", std::string("a\xE4\xB8\0bc", 6));
    Store("eof", std::string("a\xE4") + '\x1A' + "bc");
    const FileNumber zero = Open("zero", 1, 1);
    EXPECT_EQ(FileReadText(zero), "a");
    EXPECT_EQ(FileReadText(zero), "");
    EXPECT_EQ(FileReadText(Open("eof", 1, 1)), "a");
}

TEST_F(FileCommandsTest, ReadPassesOverACharacterCutByTheEndOfTheFile) {
    Store("set", "ab\xE4\xB8");
    const FileNumber file = Open("set", 1, 1);
    EXPECT_EQ(FileReadText(file, 10), "ab");
    EXPECT_EQ(FileReadText(file, 10), "");
}

TEST_F(FileCommandsTest, BytesThatStartNoCharacterDoNotHideAnEndByte) {
    Store("set", std::string("\xFF") + '\x1A' + "ab");
    EXPECT_EQ(FileReadText(Open("set", 1, 1)), "\xFF");
}

TEST_F(FileCommandsTest, NamesAreUtf8) {
    Store("中文.tonset", "038");
    EXPECT_EQ(FileReadText(Open("中文.tonset", 1, 1)), "038");
    EXPECT_TRUE(WriteWholeFile(PathOf("新.tonset"), {BytesOf("030")}));
    EXPECT_EQ(Load("新.tonset"), "030");
}

TEST_F(FileCommandsTest, ClosingTwiceOrClosingAnUnknownNumberIsIgnored) {
    Store("set", "abc");
    const FileNumber file = FileOpen(PathOf("set"), 1, 1);
    ASSERT_NE(file, 0);
    FileClose(file);
    FileClose(file);
    FileClose(0);
    EXPECT_EQ(FileReadText(file), "");
}

} // namespace
} // namespace ep
