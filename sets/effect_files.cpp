#include "sets/effect_files.h"

#include "link/connection.h"
#include "link/device_commands.h"
#include "link/device_link.h"
#include "link/link_globals.h"
#include "runtime/conversions.h"
#include "runtime/dialogs.h"
#include "runtime/file_paths.h"
#include "runtime/files.h"
#include "runtime/safe_file.h"
#include "runtime/text.h"
#include "sets/apply_effect_set.h"
#include "ui/user_input.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace ep {
namespace {

constexpr const char* kSuffix = ".tonset";
constexpr std::uintmax_t kLargestPreset = 64 * 1024;
constexpr std::size_t kFullSetLength = 765;
constexpr int kDialogSave = 1;
constexpr int kDialogOpen = 0;
constexpr int kReadOnly = 1;
constexpr int kOthersMayRead = 3;

Control& Dialog() { return ControlNamed("通用对话框1"); }

bool ChooseFile(int dialogType) {
    Dialog().write(prop::dialog::Type, dialogType);
    return ShowCommonDialog(Dialog());
}

void Tell(const Text& message) { InfoBox(Value(message), 0); }

/// The preset's text, or the reason it cannot be read; checked before the file is read.
std::optional<Text> OpenProblem(const Text& name) {
    std::error_code error;
    const auto size = std::filesystem::file_size(PathOfName(name), error);
    if (error)
        return Text(error.message());
    if (size > kLargestPreset)
        return Text("文件大于 64 KiB，不是效果文件");
    return std::nullopt;
}

} // namespace

Text EffectFileName(const Text& chosen) {
    const std::size_t length = std::strlen(kSuffix);
    if (chosen.size() >= length) {
        Text ending = chosen.substr(chosen.size() - length);
        std::transform(ending.begin(), ending.end(), ending.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (ending == kSuffix)
            return chosen;
    }
    return ConcatText({chosen, kSuffix});
}

std::optional<Text> EffectSetTextProblem(const Text& text) {
    if (text.find_first_not_of("0123456789") != Text::npos)
        return Text("文件中含有数字以外的字符");
    if (text.size() % 3 != 0)
        return Text("数字个数不是 3 的倍数");
    if (text.size() > kFullSetLength)
        return Text("数字多于 765 个");
    for (std::size_t position = 0; position < text.size(); position += 3)
        if (std::stoi(text.substr(position, 3)) > 255)
            return "第 " + std::to_string(position / 3 + 1) + " 项的值大于 255";
    return std::nullopt;
}

void SaveEffectFile(const EventContext&) {
    if (!ChooseFile(kDialogSave))
        return;
    const Text name = EffectFileName(Dialog().readText(prop::dialog::FileName));
    const Bytes data = ToByteString(Value(EffectSetText()));
    if (const auto problem = ReplaceFileContents(name, data))
        Tell("效果文件保存失败：" + name + "\n" + *problem);
}

void LoadEffectFile(const EventContext&) {
    if (!ChooseFile(kDialogOpen))
        return;
    const Text name = Dialog().readText(prop::dialog::FileName);
    if (const auto problem = OpenProblem(name)) {
        Tell("无法读取效果文件：" + name + "\n" + *problem);
        return;
    }
    errno = 0;
    const FileNumber file = FileOpen(name, kReadOnly, kOthersMayRead);
    if (file == 0) {
        Tell("无法读取效果文件：" + name + "\n" + (errno != 0 ? std::strerror(errno) : "文件正被其他程序使用"));
        return;
    }
    Text text = FileReadText(file);
    if (const auto problem = EffectSetTextProblem(text)) {
        FileClose(file);
        Tell("不是有效的效果文件：" + name + "\n" + *problem);
        return;
    }
    SetEffectSetText(text);
    if (CompareText(EffectSetText(), Text()) == 0)
        SetEffectSetText(DefaultSetText);
    if (!IsOnline()) {
        FileClose(file);
        return;
    }
    ControlNamed("时钟1").write(prop::timer::Period, 0);
    ControlNamed("时钟2").write(prop::timer::Period, 0);
    SendAll();
    FileClose(file);
    ApplyEffectSet();
    ControlNamed("时钟1").write(prop::timer::Period, kPingPeriodMs);
    ControlNamed("时钟2").write(prop::timer::Period, kWatchdogPeriodMs);
}

} // namespace ep
