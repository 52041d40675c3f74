#include "handlers/panel_handlers.h"
#include "link/com_ports.h"
#include "link/link_globals.h"
#include "model/fields.h"
#include "runtime/dialogs.h"
#include "runtime/file_paths.h"
#include "runtime/files.h"
#include "sets/effect_files.h"
#include "sets/set_values.h"
#include "temp_path.h"
#include "window_fixture.h"

#include <filesystem>
#include <fstream>
#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ep {
namespace {

namespace fs = std::filesystem;

class EffectFiles : public testing::WindowFixture {
  protected:
    EffectFiles() : WindowFixture(PanelHandlers()) {
        folder = testing::UniqueTempPath("effectpanel-files-");
        fs::create_directories(folder);
        DefaultSetText = designSet;
        SetEffectSetText(designSet);
    }
    ~EffectFiles() override {
        std::error_code ignored;
        fs::permissions(folder, fs::perms::owner_all, ignored);
        fs::remove_all(folder, ignored);
        DefaultSetText.clear();
        DumpActive = 0;
    }

    Text path(const Text& name) const { return NameOfPath(folder / PathOfName(name)); }
    static Text read(const Text& name) {
        std::ifstream in(PathOfName(name), std::ios::binary);
        return Text(std::istreambuf_iterator<char>(in), {});
    }
    static void writeFile(const Text& name, const Text& bytes) {
        std::ofstream(PathOfName(name), std::ios::binary) << bytes;
    }

    void save(const Text& chosen) {
        host.fileDialogAnswers = {chosen};
        named("按钮5").raise(event::Clicked);
    }
    void load(const Text& chosen) {
        host.fileDialogAnswers = {chosen};
        named("按钮4").raise(event::Clicked);
    }

    /// Online on a fake device whose writes are recorded.
    testing::FakeSerialBus::Port& goOnline() {
        MapComPort(1, "/dev/fake-files");
        auto& port = bus.add("/dev/fake-files");
        PortLink().Open();
        named("标签127").write(prop::label::Caption, Text("已联机"));
        return port;
    }

    fs::path folder;
};

TEST_F(EffectFiles, SavingAddsTheSuffixOnlyWhenTheNameLacksIt) {
    const struct {
        const char* chosen;
        const char* written;
    } cases[] = {{"abc", "abc.tonset"},
                 {"abc.tonset", "abc.tonset"},
                 {"ABC.TONSET", "ABC.TONSET"},
                 {"abc.tonset.bak", "abc.tonset.bak.tonset"}};
    for (const auto& c : cases)
        EXPECT_EQ(EffectFileName(c.chosen), c.written) << c.chosen;
    save(path("abc"));
    EXPECT_EQ(read(path("abc.tonset")), designSet);
    EXPECT_EQ(fs::file_size(path("abc.tonset")), 765u) << "no header, no line end";
    SetEffectSetText(WithField(designSet, 1, 77));
    save(path("abc.tonset"));
    EXPECT_EQ(read(path("abc.tonset")), WithField(designSet, 1, 77));
    EXPECT_FALSE(fs::exists(path("abc.tonset.tonset")));
    EXPECT_TRUE(host.messageBoxes.empty());
}

TEST_F(EffectFiles, AReadOnlyPresetIsKeptAndTheBoxSaysSo) {
    writeFile(path("keep.tonset"), "038030");
    fs::permissions(path("keep.tonset"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    save(path("keep.tonset"));
    EXPECT_EQ(read(path("keep.tonset")), "038030");
    ASSERT_EQ(host.messageBoxes.size(), 1u);
    EXPECT_EQ(host.messageBoxes[0].text, "效果文件保存失败：" + path("keep.tonset") + "\n文件是只读的");
}

TEST_F(EffectFiles, ASaveIntoAFolderWithoutWritePermissionKeepsTheOldFile) {
#if defined(_WIN32)
    GTEST_SKIP() << "a folder's read-only attribute does not keep files from being created in it on Windows";
#else
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into any folder";
#endif
    writeFile(path("locked.tonset"), "038030");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    save(path("locked.tonset"));
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(read(path("locked.tonset")), "038030");
    EXPECT_EQ(host.messageBoxes.size(), 1u);
}

TEST_F(EffectFiles, LoadingOfflineOnlyPutsTheTextInPlace) {
    const Text set = WithField(designSet, 1, 38);
    writeFile(path("a.tonset"), set + '\x1A' + "999");
    const int before = position("Eff_Vol调节");
    load(path("a.tonset"));
    EXPECT_EQ(EffectSetText(), set);
    EXPECT_EQ(position("Eff_Vol调节"), before) << "the window is not updated offline";
    writeFile(path("empty.tonset"), "");
    load(path("empty.tonset"));
    EXPECT_EQ(EffectSetText(), DefaultSetText);
    EXPECT_TRUE(host.messageBoxes.empty());
}

TEST_F(EffectFiles, LoadingOnlineSendsAndShowsTheSet) {
    auto& port = goOnline();
    const Text set = WithField(WithField(designSet, 1, 55), 255, 4);
    writeFile(path("b.tonset"), set);
    named("时钟1").write(prop::timer::Period, 500);
    load(path("b.tonset"));
    // 255 bulk frames, then the six limit boxes' frames that showing the set sends while online.
    ASSERT_EQ(port.written.size(), 255u * 6 + 6 * 6);
    EXPECT_EQ(port.written[2], 0xBD);
    EXPECT_EQ(port.written[255 * 6 + 2], 0xBB);
    EXPECT_EQ(position("Eff_Vol调节"), 55);
    EXPECT_EQ(EffectSetText(), set);
    EXPECT_EQ(named("时钟1").readInt(prop::timer::Period), 500);
    EXPECT_EQ(named("时钟2").readInt(prop::timer::Period), 3000);
    ASSERT_EQ(host.messageBoxes.size(), 1u);
    EXPECT_EQ(host.messageBoxes[0].caption, "设置已成功");
    const FileNumber other = FileOpen(path("b.tonset"), 3, 4);
    EXPECT_NE(other, 0) << "the load closed the file";
    FileClose(other);
}

TEST_F(EffectFiles, ALoadedMinimumAboveTheOldMaximumStandsAndIsSentOnce) {
    auto& port = goOnline();
    apply(WithField(designSet, 9, 30));
    const Text preset = WithField(WithField(designSet, 8, 40), 9, 80);
    writeFile(path("limits.tonset"), preset);
    port.written.clear();
    load(path("limits.tonset"));
    EXPECT_EQ(content("Music_Vol_set_Min"), "40");
    EXPECT_EQ(EffectSetText(), preset) << "field 8 keeps the loaded 40";
    const Bytes limitFrames(port.written.begin() + 255 * 6, port.written.end());
    EXPECT_EQ(Bytes(limitFrames.begin(), limitFrames.begin() + 12),
              (Bytes{0x80, 0, 0xBB, 2, 9, 80, 0x80, 0, 0xBB, 2, 8, 40}))
        << "the maximum's frame first, then the minimum's with the loaded value";
}

TEST_F(EffectFiles, AReadOnlyPresetLoadsAndIsFreeAgainAfterwards) {
    const Text set = WithField(designSet, 2, 20);
    writeFile(path("ro.tonset"), set);
    fs::permissions(path("ro.tonset"), fs::perms::owner_read);
    load(path("ro.tonset"));
    EXPECT_EQ(EffectSetText(), set);
    fs::permissions(path("ro.tonset"), fs::perms::owner_read | fs::perms::owner_write);
    const FileNumber other = FileOpen(path("ro.tonset"), 3, 4);
    EXPECT_NE(other, 0) << "the load closed the file";
    FileClose(other);
}

TEST_F(EffectFiles, AMissingPresetChangesNothingAndSaysSo) {
    auto& port = goOnline();
    load(path("missing.tonset"));
    EXPECT_EQ(EffectSetText(), designSet);
    EXPECT_TRUE(port.written.empty());
    ASSERT_EQ(host.messageBoxes.size(), 1u);
    EXPECT_NE(host.messageBoxes[0].text.find("missing.tonset"), Text::npos);
}

TEST_F(EffectFiles, BadContentIsRefusedAndNothingIsSent) {
    auto& port = goOnline();
    const struct {
        Text content;
        Text reason;
    } cases[] = {
        {"03803a", "文件中含有数字以外的字符"},
        {"12 345", "文件中含有数字以外的字符"},
        {"038030", "文件中有 6 个数字，效果文件应有 765 个"},
        {designSet.substr(0, 762), "文件中有 762 个数字，效果文件应有 765 个"},
        {designSet + "000", "文件中有 768 个数字，效果文件应有 765 个"},
        {WithField(designSet, 2, 256), "第 2 项的值大于 255"},
        // One line break after the set is an editor's; anything more is no preset.
        {designSet + "\n\n", "文件中含有数字以外的字符"},
        {designSet + "\r", "文件中含有数字以外的字符"},
        {designSet + " \n", "文件中含有数字以外的字符"},
        {"\n", "文件中含有数字以外的字符"},
    };
    for (const auto& c : cases) {
        writeFile(path("bad.tonset"), c.content);
        host.messageBoxes.clear();
        load(path("bad.tonset"));
        EXPECT_EQ(EffectSetText(), designSet) << c.reason;
        ASSERT_EQ(host.messageBoxes.size(), 1u) << c.reason;
        EXPECT_EQ(host.messageBoxes[0].text, "不是有效的效果文件：" + path("bad.tonset") + "\n" + c.reason);
    }
    writeFile(path("huge.tonset"), Text(70000, '0'));
    load(path("huge.tonset"));
    EXPECT_EQ(EffectSetText(), designSet);
    EXPECT_TRUE(port.written.empty());
}

TEST_F(EffectFiles, OneLineBreakAfterTheSetIsTakenAndASaveWritesNone) {
    const Text set = WithField(designSet, 3, 21);
    for (const char* ending : {"\n", "\r\n"}) {
        SetEffectSetText(designSet);
        writeFile(path("edited.tonset"), set + ending);
        load(path("edited.tonset"));
        EXPECT_EQ(EffectSetText(), set) << "ending " << ending[0] + 0;
    }
    save(path("saved"));
    EXPECT_EQ(read(path("saved.tonset")), set);
    EXPECT_TRUE(host.messageBoxes.empty());
}

TEST_F(EffectFiles, APresetWithValuesOutOfRangeIsSentOnlyWhenTheUserSaysSo) {
    auto& port = goOnline();
    const int mode = *FieldNamed("KTV_MODE");
    const int limit = *FieldNamed("Music_Vol Max");
    const Text preset = WithField(WithField(designSet, mode, 250), limit, 90);
    writeFile(path("other.tonset"), preset);
    for (const MessageBoxButton answer : {MessageBoxButton::Cancel, MessageBoxButton::Ok}) {
        host.messageBoxes.clear();
        host.messageBoxAnswer = [answer](const MessageBoxRequest&) { return answer; };
        load(path("other.tonset"));
        ASSERT_FALSE(host.messageBoxes.empty());
        const MessageBoxRequest& question = host.messageBoxes.front();
        EXPECT_EQ(question.caption, "载入效果文件");
        EXPECT_EQ(question.style, kOkCancelQuestion);
        EXPECT_NE(question.text.find("中有 2 项设置超出参数的范围"), Text::npos) << question.text;
        EXPECT_NE(question.text.find(OutOfRangeLine({mode, 250})), Text::npos) << question.text;
        EXPECT_NE(question.text.find(OutOfRangeLine({limit, 90})), Text::npos) << question.text;
        if (answer == MessageBoxButton::Cancel) {
            EXPECT_EQ(EffectSetText(), designSet);
            EXPECT_TRUE(port.written.empty());
        }
    }
    EXPECT_EQ(EffectSetText(), preset) << "taken when the user says so";
    EXPECT_GE(port.written.size(), 255u * 6);
}

#if !defined(_WIN32) // FIFOs and /dev/zero as POSIX has them
TEST_F(EffectFiles, APresetThatIsNoRegularFileIsRefusedInWords) {
    ASSERT_EQ(::mkfifo(path("fifo.tonset").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", path("zero.tonset"));
    fs::create_directory(path("folder.tonset"));
    for (const char* name : {"fifo.tonset", "zero.tonset", "folder.tonset"}) {
        host.messageBoxes.clear();
        load(path(name));
        EXPECT_EQ(EffectSetText(), designSet) << name;
        ASSERT_EQ(host.messageBoxes.size(), 1u) << name;
        EXPECT_EQ(host.messageBoxes[0].text, "无法读取效果文件：" + path(name) + "\n不是普通文件");
    }
}
#endif

TEST_F(EffectFiles, SavingWhileTheDevicesSettingsAreReadIsRefused) {
    DumpActive = 1;
    SetEffectSetText("038030");
    save(path("partial"));
    EXPECT_FALSE(fs::exists(path("partial.tonset")));
    ASSERT_EQ(host.messageBoxes.size(), 1u);
    EXPECT_EQ(host.messageBoxes[0].text, "设备的设置仍在读取中，请在读取完毕后再保存");
}

TEST_F(EffectFiles, OnlyAFullSetOrTheEmptyTextIsTaken) {
    EXPECT_EQ(EffectSetTextProblem(designSet), std::nullopt);
    EXPECT_EQ(EffectSetTextProblem(""), std::nullopt);
    EXPECT_NE(EffectSetTextProblem(designSet.substr(0, 762)), std::nullopt);
}

TEST_F(EffectFiles, SavedAndLoadedAgainGivesTheSameText) {
    const Text set = WithField(designSet, 100, 123);
    SetEffectSetText(set);
    save(path("round"));
    SetEffectSetText("");
    load(path("round.tonset"));
    EXPECT_EQ(EffectSetText(), set);
}

TEST_F(EffectFiles, APresetWithAChineseNameIsSavedAndLoadedUnderThatName) {
    const Text set = WithField(designSet, 7, 42);
    SetEffectSetText(set);
    save(path("卡拉OK预设"));
    EXPECT_TRUE(fs::exists(folder / PathOfName("卡拉OK预设.tonset")));
    SetEffectSetText("");
    load(path("卡拉OK预设.tonset"));
    EXPECT_EQ(EffectSetText(), set);
    EXPECT_TRUE(host.messageBoxes.empty());
}

TEST_F(EffectFiles, ACancelledDialogDoesNothing) {
    named("按钮5").raise(event::Clicked);
    named("按钮4").raise(event::Clicked);
    EXPECT_EQ(EffectSetText(), designSet);
    EXPECT_EQ(host.fileDialogs.size(), 2u);
    EXPECT_TRUE(host.messageBoxes.empty());
}

} // namespace
} // namespace ep
