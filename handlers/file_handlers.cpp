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
