#include "handlers/file_handlers.h"

#include "handlers/change_history.h"
#include "link/connection.h"
#include "link/device_link.h"
#include "link/link_globals.h"
#include "link/send_all.h"
#include "model/controls.h"
#include "runtime/dialogs.h"
#include "runtime/text.h"
#include "sets/apply_effect_set.h"
#include "sets/effect_files.h"
#include "sets/set_values.h"
#include "ui/user_input.h"

namespace ep {
namespace {

constexpr int kDialogSave = 1;
constexpr int kDialogOpen = 0;

Control& Dialog() { return ControlNamed(controls::FileDialog); }

bool ChooseFile(int dialogType) {
    Dialog().write(prop::dialog::Type, dialogType);
    return ShowCommonDialog(Dialog());
}

void Tell(const Text& message) { InfoBox(Value(message), 0); }

/// A preset of another device, or one edited by hand, is taken only when the user says so: the window
/// cannot show its values, and the device may not take them.
bool ValuesOutOfRangeAccepted(const Text& path, const Text& set) {
    const std::vector<ValueOutOfRange> outside = ValuesOutOfRange(set);
    if (outside.empty())
        return true;
    Text question = "效果文件 " + path + " 中有 " + std::to_string(outside.size()) +
                    " 项设置超出参数的范围，可能是其他设备的效果文件：\n";
    for (const Text& line : OutOfRangeLines(outside))
        question += line + "\n";
    question += "确定要载入吗？";
    return InfoBox(Value(question), kOkCancelQuestion, Text("载入效果文件")) == kPressedOk;
}

} // namespace

void SaveEffectFile(const EventContext&) {
    if (!ChooseFile(kDialogSave))
        return;
    // While a dump is collected the set holds only the fields read so far.
    if (DumpActive != 0) {
        Tell("设备的设置仍在读取中，请在读取完毕后再保存");
        return;
    }
    if (const auto refusal = SavePreset(EffectFileName(Dialog().readText(prop::dialog::FileName)), EffectSetText()))
        Tell(*refusal);
}

void LoadEffectFile(const EventContext&) {
    if (ChooseFile(kDialogOpen))
        LoadPresetFile(Dialog().readText(prop::dialog::FileName));
}

void LoadPresetFile(const Text& path) {
    Dialog().write(prop::dialog::FileName, path);
    const PresetText preset = ReadPreset(path);
    if (preset.refusal) {
        Tell(*preset.refusal);
        return;
    }
    if (!ValuesOutOfRangeAccepted(path, preset.text))
        return;
    SetEffectSetText(preset.text);
    if (CompareText(EffectSetText(), Text()) == 0)
        SetEffectSetText(DefaultSetText);
    ForgetChanges();
    if (!IsOnline())
        return;
    PauseLinkTimers();
    SendAll();
    ApplyEffectSet();
    // What showing the set ran is no change of the user's.
    ForgetChanges();
    ResumeLinkTimers();
}

} // namespace ep
