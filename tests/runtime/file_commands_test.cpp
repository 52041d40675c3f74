#include "runtime/files.h"
#include "runtime/safe_file.h"

#include "runtime/file_paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#if !defined(_WIN32)
#include "file_size_limit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ep {
namespace {

namespace fs = std::filesystem;

Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

class FileCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
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

    /// The names in the folder, sorted.
    std::vector<std::string> Names(const std::string& folder = ".") const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_folder / folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
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

class FileShareTest : public FileCommandsTest, public ::testing::WithParamInterface<ShareCase> {};

TEST_P(FileShareTest, SecondOpenFollowsTheShareModes) {
    Store("set", "x");
    const auto& c = GetParam();
    ASSERT_NE(Open("set", 1, c.firstShare), 0);
    EXPECT_EQ(Open("set", 1, c.secondShare) != 0, c.secondOpens);
}

INSTANTIATE_TEST_SUITE_P(Pairs, FileShareTest,
                         ::testing::Values(ShareCase{1, 1, true}, ShareCase{1, 2, false},
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
    EXPECT_EQ(ReplaceFileContents(PathOf("新.tonset"), BytesOf("030")), std::nullopt);
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

TEST_F(FileCommandsTest, ReplaceFileContentsWritesTheContentsAndLeavesNothingElseInTheFolder) {
    Store("set", "old");
    EXPECT_EQ(ReplaceFileContents(PathOf("set"), BytesOf("new")), std::nullopt);
    EXPECT_EQ(ReplaceFileContents(PathOf("fresh"), Bytes{}), std::nullopt);
    EXPECT_EQ(Load("set"), "new");
    EXPECT_EQ(Names(), (std::vector<std::string>{"fresh", "set"}));
    EXPECT_NE(ReplaceFileContents("", BytesOf("x")), std::nullopt);
}

TEST_F(FileCommandsTest, ReplaceFileContentsRefusesAReadOnlyFile) {
    Store("set", "old");
    fs::permissions(m_folder / "set", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(ReplaceFileContents(PathOf("set"), BytesOf("new")), "文件是只读的");
    EXPECT_EQ(Load("set"), "old");
    // Windows removes no read-only file, not even with its folder.
    fs::permissions(m_folder / "set", fs::perms::owner_all);
}

#if !defined(_WIN32)
// FIFOs, links, owners, mode bits, name limits and resource limits as POSIX has them.

TEST_F(FileCommandsTest, AFifoMakesNoCommandWaitForItsOtherEnd) {
    ASSERT_EQ(::mkfifo(PathOf("fifo").c_str(), 0600), 0);
    EXPECT_EQ(Open("fifo", 4, 1), 0) << "nobody reads";
    const FileNumber reader = Open("fifo", 1, 1);
    ASSERT_NE(reader, 0);
    ASSERT_NE(Open("fifo", 2, 1), 0);
    EXPECT_EQ(FileReadText(reader, 10), "") << "the writer writes nothing";
}

TEST_F(FileCommandsTest, ReplaceFileContentsKeepsThePermissionBits) {
    Store("set", "old");
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read;
    fs::permissions(m_folder / "set", mode);
    ASSERT_EQ(ReplaceFileContents(PathOf("set"), BytesOf("new")), std::nullopt);
    EXPECT_EQ(fs::status(m_folder / "set").permissions(), mode);
}

TEST_F(FileCommandsTest, ReplaceFileContentsKeepsTheOwner) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root gives a file to another user";
    Store("set", "old");
    ASSERT_EQ(::chown(PathOf("set").c_str(), 4321, 4322), 0);
    ASSERT_EQ(ReplaceFileContents(PathOf("set"), BytesOf("new")), std::nullopt);
    struct stat status {};
    ASSERT_EQ(::stat(PathOf("set").c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 4321u);
    EXPECT_EQ(status.st_gid, 4322u);
}

TEST_F(FileCommandsTest, ReplaceFileContentsThroughALinkWritesItsTargetAndKeepsTheLink) {
    fs::create_directory(m_folder / "real");
    Store("real/set", "old");
    fs::create_symlink("real/set", m_folder / "near");
    fs::create_symlink("near", m_folder / "far");
    fs::create_symlink("real/new", m_folder / "dangling");
    fs::create_symlink("loop", m_folder / "loop");
    EXPECT_EQ(ReplaceFileContents(PathOf("far"), BytesOf("new")), std::nullopt);
    EXPECT_EQ(ReplaceFileContents(PathOf("dangling"), BytesOf("made")), std::nullopt);
    EXPECT_NE(ReplaceFileContents(PathOf("loop"), BytesOf("x")), std::nullopt);
    for (const char* link : {"near", "far", "dangling", "loop"})
        EXPECT_TRUE(fs::is_symlink(m_folder / link)) << link;
    EXPECT_EQ(Load("real/set"), "new");
    EXPECT_EQ(Load("real/new"), "made");
    EXPECT_EQ(Names("real"), (std::vector<std::string>{"new", "set"}));
}

TEST_F(FileCommandsTest, ReplaceFileContentsRefusingLinksLeavesEachLinkAndWhatItNamesAsTheyWere) {
    fs::create_directory(m_folder / "elsewhere");
    Store("elsewhere/victim", "mine");
    fs::create_symlink("elsewhere/victim", m_folder / "far");
    fs::create_symlink("elsewhere/new", m_folder / "dangling");
    fs::create_symlink("loop", m_folder / "loop");
    Store("plain", "old");
    for (const char* link : {"far", "dangling", "loop"}) {
        EXPECT_EQ(ReplaceFileContents(PathOf(link), BytesOf("new"), LinkAtName::Refuse),
                  "是符号链接，不写入它指向的文件")
            << link;
        EXPECT_TRUE(fs::is_symlink(m_folder / link)) << link;
    }
    EXPECT_EQ(ReplaceFileContents(PathOf("plain"), BytesOf("new"), LinkAtName::Refuse), std::nullopt);
    EXPECT_EQ(Load("plain"), "new");
    EXPECT_EQ(Load("elsewhere/victim"), "mine");
    EXPECT_EQ(Names("elsewhere"), (std::vector<std::string>{"victim"}));
}

TEST_F(FileCommandsTest, ReplaceFileContentsRefusingLinksFollowsNoneThatIsPlantedWhileItWrites) {
    Store("victim", "mine");
    std::atomic<bool> planting = true;
    // Someone else turns the name into a link to the victim and back, as fast as they can, while the file
    // is saved again and again; each rename puts the other kind in place at once.
    std::thread planter([this, &planting] {
        for (int swap = 0; swap < 300; ++swap) {
            std::error_code error;
            fs::create_symlink("victim", m_folder / "link", error);
            fs::rename(m_folder / "link", m_folder / "set", error);
            Store("file", "old");
            fs::rename(m_folder / "file", m_folder / "set", error);
        }
        planting = false;
    });
    while (planting)
        static_cast<void>(ReplaceFileContents(PathOf("set"), BytesOf("new"), LinkAtName::Refuse));
    planter.join();
    EXPECT_EQ(Load("victim"), "mine");
}

TEST_F(FileCommandsTest, ReplaceFileContentsReplacesOnlyARegularFile) {
    ASSERT_EQ(::mkfifo(PathOf("fifo").c_str(), 0600), 0);
    fs::create_directory(m_folder / "folder");
    fs::create_symlink("/dev/null", m_folder / "null");
    for (const char* name : {"fifo", "folder", "null"})
        EXPECT_EQ(ReplaceFileContents(PathOf(name), BytesOf("new")), "不是普通文件") << name;
    for (const char* name : {"fifo", "folder"})
        EXPECT_EQ(ReplaceFileContents(PathOf(name), BytesOf("new"), LinkAtName::Refuse), "不是普通文件") << name;
    EXPECT_TRUE(fs::is_fifo(m_folder / "fifo"));
    EXPECT_TRUE(fs::is_directory(m_folder / "folder"));
    EXPECT_TRUE(fs::is_symlink(m_folder / "null"));
}

TEST_F(FileCommandsTest, ReplaceFileContentsLeavesWhatLiesBesideTheFileAlone) {
    Store("a", "old");
    Store("b", "old");
    Store("victim", "mine");
    ASSERT_EQ(::mkfifo(PathOf("a.part").c_str(), 0600), 0);
    // A reader keeps an open of the FIFO for writing from waiting, should one be tried.
    const int reader = ::open(PathOf("a.part").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    fs::create_symlink("victim", m_folder / "b.part");
    for (const char* name : {"a", "b"}) {
        EXPECT_EQ(ReplaceFileContents(PathOf(name), BytesOf("new")), std::nullopt) << name;
        ASSERT_TRUE(fs::is_regular_file(fs::symlink_status(m_folder / name))) << name;
        EXPECT_EQ(Load(name), "new") << name;
    }
    char buffer[8];
    EXPECT_LE(::read(reader, buffer, sizeof buffer), 0) << "nothing went into the FIFO";
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(m_folder / "a.part"));
    EXPECT_TRUE(fs::is_symlink(m_folder / "b.part"));
    EXPECT_EQ(Load("victim"), "mine");
}

TEST_F(FileCommandsTest, ReplaceFileContentsWorksUpToTheLongestName) {
    const auto longest = ::pathconf(m_folder.c_str(), _PC_NAME_MAX);
    ASSERT_GT(longest, 0);
    const std::string name(static_cast<std::size_t>(longest), 'n');
    EXPECT_EQ(ReplaceFileContents(PathOf(name), BytesOf("new")), std::nullopt);
    EXPECT_EQ(Load(name), "new");
}

TEST_F(FileCommandsTest, ReplaceFileContentsFailingHalfwayKeepsTheOldFileAndLeavesNothingBehind) {
    Store("set", "old");
    std::optional<Text> problem;
    {
        const testing::FileSizeLimit limit(4);
        ASSERT_TRUE(limit.set());
        problem = ReplaceFileContents(PathOf("set"), BytesOf("longer than four"));
    }
    EXPECT_NE(problem, std::nullopt);
    EXPECT_EQ(Load("set"), "old");
    EXPECT_EQ(Names(), (std::vector<std::string>{"set"}));
}

#endif

} // namespace
} // namespace ep
