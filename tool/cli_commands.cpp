#include "tool/cli_commands.h"

#include "handlers/device_buttons.h"
#include "handlers/parameter_frame.h"
#include "link/com_ports.h"
#include "link/connection.h"
#include "link/device_frames.h"
#include "link/device_link.h"
#include "link/link_globals.h"
#include "link/send_all.h"
#include "link/serial_port_kind.h"
#include "link/traffic_trace.h"
#include "model/controls.h"
#include "model/fields.h"
#include "model/lookup_tables.h"
#include "runtime/conversions.h"
#include "runtime/resources.h"
#include "runtime/text.h"
#include "sets/effect_files.h"
#include "tool/command_words.h"
#include "tool/diff_report.h"
#include "tool/headless_panel.h"
#include "tool/rooms_command.h"
#include "tool/send_progress.h"
#include "tool/set_differences.h"
#include "tool/traffic_monitor.h"
#include "ui/user_input.h"
#include "ui/window_definition.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <map>

namespace ep {
namespace {

constexpr int kHelloAnswerMs = 1000;
constexpr const char* kStored = "the device stored its current settings";
constexpr const char* kStoreNotTaken = "the device did not get the store command";

Text WithField(Text set, int field, int value) {
    return set.replace(static_cast<std::size_t>(FieldPosition(field) - 1), FieldWidth, ThreeDigitText(value));
}

int NotTaken(Run& run, const std::vector<FieldDifference>& differences) {
    Text message = "the device did not take " + std::to_string(differences.size()) + " setting(s):";
    for (const FieldDifference& difference : differences)
        message += "\n  " + DifferenceLine(difference);
    return run.fail(kExitDevice, message);
}

/// Reads the device back and compares it with what the window holds.
int Verify(Run& run, HeadlessPanel& panel) {
    const Text expected = EffectSetText();
    const std::optional<Text> actual = panel.readBack(run.timeoutMs());
    if (!actual)
        return run.fail(kExitDevice, PortLink().deviceWentAway()
                                         ? "the device went away while its settings were read back"
                                         : "the device did not send its settings back");
    const std::vector<FieldDifference> differences = SetDifferences(expected, *actual);
    run.result["differences"] = DifferencesJson(differences, "expected", "actual");
    run.result["verified"] = differences.empty();
    return differences.empty() ? kExitDone : NotTaken(run, differences);
}

/// Each port with whether it opened and whether a processor answered, within the run's time in all.
int Scan(Run& run) {
    HeadlessPanel panel;
    // The scan tries each port itself.
    ControlNamed(controls::ConnectTimer).write(prop::timer::Period, 0);
    Control& port = ControlNamed(controls::Port);
    SerialLink& link = LinkOf(port);
    bool timeUp = false;
    const Host::TimerId deadline = CurrentHost().startTimer(run.timeoutMs(), [&timeUp] { timeUp = true; });
    // Every port once first, so that the connections to network devices are all made at the same time.
    for (int number = 1; number <= kHighestComPort; ++number) {
        port.write(serialprop::PortNumber, number);
        link.Open();
        link.Close();
    }
    bool anyAnswered = false;
    for (int number = 1; number <= kHighestComPort; ++number) {
        port.write(serialprop::PortNumber, number);
        const bool tried = !timeUp;
        bool opened = false;
        CurrentHost().runUntil(
            [&] {
                opened = !timeUp && link.Open() == 1;
                return opened || timeUp || link.lastOpenError() != SerialOpenError::Pending;
            },
            kDeviceOpenMs);
        bool answered = false;
        if (opened) {
            SendHelloFrame();
            answered = CurrentHost().runUntil([&timeUp] { return IsOnline() || timeUp; }, kHelloAnswerMs) && IsOnline();
            GoOffline();
        }
        link.Close();
        anyAnswered = anyAnswered || answered;
        const Text device = ComDevicePath(number);
        char line[160];
        std::snprintf(line, sizeof line, "COM%-2d  %-28s %s", number, device.c_str(),
                      answered ? "a processor answered"
                      : opened ? "opened, no answer"
                      : tried  ? "not opened"
                               : "not tried: the time ran out");
        run.say(line);
        run.result["ports"].push_back(
            {{"com", number}, {"device", device}, {"opened", opened}, {"answered", answered}, {"tried", tried}});
    }
    CurrentHost().stopTimer(deadline);
    return run.finish(anyAnswered ? kExitDone : kExitDevice);
}

int Read(Run& run) {
    const ReadWords words = ParseReadWords(run.words());
    if (!words.error.empty())
        return run.fail(kExitUsage, words.error);
    const Text output = words.output.empty() ? Text() : EffectFileName(words.output);
    HeadlessPanel panel(LimitBoxes::Still);
    if (const auto why = panel.comeOnline(run.timeoutMs(), run.ports()))
        return run.fail(kExitDevice, *why);
    const Text set = EffectSetText();
    run.result["set"] = set;
    if (output.empty()) {
        run.say(set);
        return run.finish(kExitDone);
    }
    if (const auto refusal = SavePreset(output, set))
        return run.fail(kExitUsage, OnOneLine(*refusal));
    run.result["file"] = output;
    run.say("read " + std::to_string(EffectSetFieldCount) + " settings into " + output);
    return run.finish(kExitDone);
}

/// Sends only the fields in which the device's set, shown since the panel came online, differs from the
/// preset, as the send-all sends them; the window then holds the preset, for the verification.
void SendChangedFields(Run& run, const Text& preset) {
    std::vector<int> fields;
    for (const FieldDifference& difference : SetDifferences(EffectSetText(), preset))
        fields.push_back(difference.field);
    run.result["sent"] = fields.size();
    run.say("the device differs from the preset in " + std::to_string(fields.size()) + " setting(s)");
    SetEffectSetText(preset);
    if (fields.empty())
        return;
    SendProgress progress;
    SendFields(fields);
}

int Load(Run& run) {
    const LoadWords words = ParseLoadWords(run.words());
    if (!words.error.empty())
        return run.fail(kExitUsage, words.error);
    const Text& file = words.file;
    if (file.empty())
        return run.fail(kExitUsage, "load needs a preset FILE");
    run.result["file"] = file;
    // The same checks as the load itself, before any device is touched.
    const PresetText preset = ReadPreset(file);
    if (preset.refusal)
        return run.fail(kExitUsage, OnOneLine(*preset.refusal));
    if (const auto refusal = PresetNotToLoad(file, preset.text, words.force))
        return run.fail(kExitUsage, *refusal);
    HeadlessPanel panel(words.force ? LimitBoxes::Still : LimitBoxes::AsTheWindow);
    if (const auto why = panel.comeOnline(run.timeoutMs(), run.ports()))
        return run.fail(kExitDevice, *why);
    panel.holdTheLinkStill();
    if (words.changedOnly) {
        SendChangedFields(run, preset.text);
    } else {
        SendProgress progress;
        UserClickedButton(ControlNamed(controls::LoadButton));
        // The window's load checks the file once more; a file changed since the check above is refused.
        if (!progress.sawSending())
            return run.fail(kExitUsage, "the preset " + file + " changed while it was loaded; nothing was sent");
        // The load starts the link timers again when it is done.
        panel.holdTheLinkStill();
    }
    if (const int verified = Verify(run, panel); verified != kExitDone)
        return verified;
    run.say("the device holds the " + std::to_string(EffectSetFieldCount) + " settings of " + file);
    run.result["stored"] = false;
    if (!words.store)
        return run.finish(kExitDone);
    if (!StoreCurrentEffect().sent)
        return run.fail(kExitDevice, kStoreNotTaken);
    run.result["stored"] = true;
    run.say(kStored);
    return run.finish(kExitDone);
}

int Store(Run& run) {
    if (!run.words().empty())
        return run.fail(kExitUsage, "store takes no arguments");
    HeadlessPanel panel;
    if (const auto why = panel.comeOnline(run.timeoutMs(), run.ports()))
        return run.fail(kExitDevice, *why);
    if (!StoreCurrentEffect().sent)
        return run.fail(kExitDevice, kStoreNotTaken);
    run.say(kStored);
    return run.finish(kExitDone);
}

int Restore(Run& run) {
    if (!run.words().empty())
        return run.fail(kExitUsage, "restore takes no arguments");
    HeadlessPanel panel;
    if (const auto why = panel.comeOnline(run.timeoutMs(), run.ports()))
        return run.fail(kExitDevice, *why);
    panel.holdTheLinkStill();
    UserClickedButton(ControlNamed(controls::RestoreButton));
    if (const int verified = Verify(run, panel); verified != kExitDone)
        return verified;
    run.say("the device is back at its factory settings");
    return run.finish(kExitDone);
}

int Get(Run& run) {
    const GetWords words = ParseGetWords(run.words());
    if (!words.error.empty())
        return run.fail(kExitUsage, words.error);
    HeadlessPanel panel(LimitBoxes::Still);
    if (const auto why = panel.comeOnline(run.timeoutMs(), run.ports()))
        return run.fail(kExitDevice, *why);
    const std::vector<int> values = FieldValues(EffectSetText());
    for (const int field : words.fields) {
        const int value = values[static_cast<std::size_t>(field - 1)];
        char line[160];
        std::snprintf(line, sizeof line, "%3d  %-22s %-8s %3d", field, FieldName(field).c_str(),
                      ValueText(field, value).c_str(), value);
        run.say(line);
        run.result["parameters"].push_back(
            {{"field", field}, {"name", FieldName(field)}, {"text", ValueText(field, value)}, {"value", value}});
    }
    return run.finish(kExitDone);
}

int Set(Run& run) {
    const SetWords words = ParseSetWords(run.words());
    if (!words.error.empty())
        return run.fail(kExitUsage, words.error);
    const std::vector<Assignment>& assignments = words.assignments;
    const Text& file = words.file;
    for (const Assignment& assignment : assignments)
        run.result["changed"].push_back({{"field", assignment.field},
                                         {"name", FieldName(assignment.field)},
                                         {"text", ValueText(assignment.field, assignment.value)},
                                         {"value", assignment.value}});
    if (!file.empty()) {
        run.result["file"] = file;
        const PresetText preset = ReadPreset(file);
        if (preset.refusal)
            return run.fail(kExitUsage, OnOneLine(*preset.refusal));
        Text set = preset.text.empty() ? DesignTimeSet() : preset.text;
        for (const Assignment& assignment : assignments)
            set = WithField(set, assignment.field, assignment.value);
        if (const auto refusal = SavePreset(file, set))
            return run.fail(kExitUsage, OnOneLine(*refusal));
        run.say("changed " + std::to_string(assignments.size()) + " setting(s) in " + file);
        return run.finish(kExitDone);
    }
    HeadlessPanel panel;
    if (const auto why = panel.comeOnline(run.timeoutMs(), run.ports()))
        return run.fail(kExitDevice, *why);
    panel.holdTheLinkStill();
    for (const Assignment& assignment : assignments) {
        const FieldInfo info = InfoOfField(assignment.field);
        SendParameterAndWriteField(info.channel, info.row->address, assignment.value, info.row->valueWidth,
                                   FieldPosition(assignment.field));
    }
    if (const int verified = Verify(run, panel); verified != kExitDone)
        return verified;
    run.say("the device took " + std::to_string(assignments.size()) + " setting(s)");
    return run.finish(kExitDone);
}

/// diff A B: each side a preset file, or the device that the panel finds. Trouble ends it with 2, as
/// diff's own does, a device that does not answer included.
int Diff(Run& run) {
    const auto& words = run.words();
    if (words.size() != 2)
        return run.fail(kExitUsage, "diff takes two sides, each a preset FILE or device");
    if (words[0] == kDeviceSide && words[1] == kDeviceSide)
        return run.fail(kExitUsage, "diff compares the device with a preset, not with itself");
    run.result["a"] = words[0];
    run.result["b"] = words[1];
    std::array<Text, 2> sets;
    for (std::size_t side = 0; side < sets.size(); ++side) {
        if (words[side] == kDeviceSide)
            continue;
        const PresetText preset = ReadPreset(words[side]);
        if (preset.refusal)
            return run.fail(kExitUsage, OnOneLine(*preset.refusal));
        sets[side] = preset.text.empty() ? DesignTimeSet() : preset.text;
    }
    const auto device = std::find(words.begin(), words.end(), kDeviceSide);
    if (device == words.end())
        return ReportDiff(run, sets[0], sets[1]);
    HeadlessPanel panel(LimitBoxes::Still);
    if (const auto why = panel.comeOnline(run.timeoutMs(), run.ports()))
        return run.fail(kExitUsage, *why);
    sets[static_cast<std::size_t>(device - words.begin())] = EffectSetText();
    return ReportDiff(run, sets[0], sets[1]);
}

} // namespace

int RunCliCommand(const CliOptions& options) {
    // The window's texts of the values are read before the panel, whose creation fills them, exists.
    FillLookupTables();
    Run run(options);
    if (!options.roomsFile.empty())
        return options.traceFile.empty()
                   ? RunRoomsCommand(options)
                   : run.fail(kExitUsage, "--trace records the traffic of one panel, not of the rooms");
    for (const auto& [number, device] : options.comDevices)
        MapComPort(number, device);
    // One device alone: no other port is opened, not even by the scan.
    if (!options.device.empty())
        for (int number = 1; number <= kHighestComPort; ++number)
            MapComPort(number, number == kHighestComPort ? options.device : Text());
    if (options.command == "monitor")
        return options.traceFile.empty()
                   ? RunMonitorCommand(options)
                   : run.fail(kExitUsage, "--trace records the panel's traffic; monitor prints its own");
    const std::map<Text, std::function<int(Run&)>> commands = {{"scan", Scan},   {"read", Read},       {"load", Load},
                                                               {"store", Store}, {"restore", Restore}, {"get", Get},
                                                               {"set", Set},     {"diff", Diff}};
    const auto command = commands.find(options.command);
    if (command == commands.end())
        return run.fail(kExitUsage, "unknown command '" + options.command + "'; see effectpanel-cli --help");
    if (!options.traceFile.empty())
        if (const auto problem = StartTrafficTrace(options.traceFile, "effectpanel-cli"))
            return run.fail(kExitUsage, *problem);
    // The command's finish ends the trace.
    return command->second(run);
}

} // namespace ep
