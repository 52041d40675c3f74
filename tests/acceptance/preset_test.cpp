#include "acceptance_fixture.h"
#include "set_texts.h"

#include <QThread>

#include <filesystem>
#include <fstream>

namespace ep::acceptance {
namespace {

bool WaitForFile(const std::string& path) {
    for (int attempt = 0; attempt < 150 && !std::filesystem::exists(path); ++attempt)
        QThread::msleep(20);
    return std::filesystem::exists(path);
}

TEST_F(OnlineAcceptance, APresetSavedChangedAndLoadedBackReachesWindowAndDevice) {
    ASSERT_EQ(program.ask("key Eff_Vol调节 Right 4"), "ok");
    ASSERT_EQ(program.ask("click key_井2"), "ok");
    ASSERT_TRUE(deviceFieldBecomes(19, 7));
    const std::string saved = windowSet();

    ASSERT_EQ(program.ask("click 按钮5"), "ok");
    ASSERT_TRUE(answerFileDialog(folderPath("evening")));
    const std::string file = folderPath("evening.tonset");
    ASSERT_TRUE(WaitForFile(file));
    EXPECT_EQ(program.value("box"), "none") << "a save that works says nothing";
    EXPECT_EQ(testing::FileContents(file), saved);

    ASSERT_EQ(program.ask("key Eff_Vol调节 Left 10"), "ok");
    ASSERT_EQ(program.ask("click key_b5"), "ok");
    ASSERT_EQ(program.ask("choose KTV_MODE 6"), "ok");
    ASSERT_TRUE(deviceFieldBecomes(13, 6));
    ASSERT_NE(deviceSet(), saved);

    ASSERT_EQ(program.ask("click 按钮4"), "ok");
    ASSERT_TRUE(answerFileDialog(file));
    EXPECT_EQ(answerMessageBox(8000), "设置已成功|重新设置成功");
    EXPECT_EQ(windowSet(), saved);
    EXPECT_TRUE(deviceSetBecomes(saved));
    EXPECT_EQ(program.value("read Eff_Vol调节"), "42");
    EXPECT_EQ(program.value("colour key_井2"), "#FF0000");
    EXPECT_EQ(program.value("read KTV_MODE"), "0");
    EXPECT_EQ(program.value("visible 画板7"), "0") << "the progress bar has gone again";
    EXPECT_EQ(program.value("read 标签127"), "已联机");
}

TEST_F(Acceptance, AFileThatIsNotAPresetIsRefusedWithItsReason) {
    startProgram();
    const std::string file = folderPath("scribbled.tonset");
    std::ofstream(file) << "12a";
    ASSERT_EQ(program.ask("click 按钮4"), "ok");
    ASSERT_TRUE(answerFileDialog(file));
    // The reason stands on a line of its own in the box; the answers keep their one line each.
    EXPECT_EQ(answerMessageBox(), "信息：|不是有效的效果文件：" + file + "\n文件中含有数字以外的字符");
    EXPECT_EQ(program.value("read 标签127"), "未联机");
}

TEST_F(Acceptance, APresetNamedOnTheCommandLineIsSentOnceThePanelIsOnline) {
    plugDevice();
    const std::string preset = testing::WithFields(deviceSet(), {{3, 25}, {19, 7}, {200, 1}});
    const std::string file = folderPath("from-the-file-manager.tonset");
    std::ofstream(file) << preset;

    startProgram({file});
    EXPECT_EQ(answerMessageBox(15000), "设置已成功|重新设置成功");
    EXPECT_TRUE(deviceSetBecomes(preset));
    EXPECT_EQ(windowSet(), preset);
    EXPECT_EQ(program.value("read 标签127"), "已联机");
}

} // namespace
} // namespace ep::acceptance
