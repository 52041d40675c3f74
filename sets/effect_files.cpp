#include "sets/effect_files.h"

#include "runtime/conversions.h"
#include "runtime/file_paths.h"
#include "runtime/files.h"
#include "runtime/safe_file.h"
#include "runtime/text.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace ep {
namespace {

constexpr const char* kSuffix = ".tonset";
constexpr std::uintmax_t kLargestPreset = 64 * 1024;
constexpr std::size_t kFullSetLength = 765;
constexpr int kReadOnly = 1;
constexpr int kOthersMayRead = 3;

/// The reason the preset cannot be read; checked before the file is opened.
std::optional<Text> OpenProblem(const Text& name) {
    std::error_code error;
    const auto status = std::filesystem::status(PathOfName(name), error);
    if (error)
        return Text(error.message());
    // Anything else could keep the open waiting (a FIFO) or never end (a device).
    if (!std::filesystem::is_regular_file(status))
        return Text("不是普通文件");
    const auto size = std::filesystem::file_size(PathOfName(name), error);
    if (error)
        return Text(error.message());
    if (size > kLargestPreset)
        return Text("文件大于 64 KiB，不是效果文件");
    return std::nullopt;
}

/// An editor ends its last line: one line break after a whole set is no part of it.
Text WithoutFinalLineBreak(Text text) {
    for (const std::string_view ending : {"\r\n", "\n"})
        if (text.size() == kFullSetLength + ending.size() && text.ends_with(ending))
            text.resize(kFullSetLength);
    return text;
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
    // A short set would send 0 for every missing field and silence the device.
    if (!text.empty() && text.size() != kFullSetLength)
        return "文件中有 " + std::to_string(text.size()) + " 个数字，效果文件应有 765 个";
    for (std::size_t position = 0; position < text.size(); position += 3)
        if (std::stoi(text.substr(position, 3)) > 255)
            return "第 " + std::to_string(position / 3 + 1) + " 项的值大于 255";
    return std::nullopt;
}

PresetText ReadPreset(const Text& name) {
    if (const auto problem = OpenProblem(name))
        return {{}, "无法读取效果文件：" + name + "\n" + *problem};
    errno = 0;
    const FileNumber file = FileOpen(name, kReadOnly, kOthersMayRead);
    if (file == 0)
        return {{}, "无法读取效果文件：" + name + "\n" + (errno != 0 ? std::strerror(errno) : "文件正被其他程序使用")};
    Text text = WithoutFinalLineBreak(FileReadText(file));
    FileClose(file);
    if (const auto problem = EffectSetTextProblem(text))
        return {{}, "不是有效的效果文件：" + name + "\n" + *problem};
    return {std::move(text), std::nullopt};
}

std::optional<Text> SavePreset(const Text& name, const Text& text, LinkAtName link) {
    if (const auto problem = ReplaceFileContents(name, ToByteString(Value(text)), link))
        return "效果文件保存失败：" + name + "\n" + *problem;
    return std::nullopt;
}

} // namespace ep
