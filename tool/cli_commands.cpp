#include "tool/cli_commands.h"

#include "handlers/device_buttons.h"
#include "handlers/parameter_frame.h"
#include "link/com_ports.h"
#include "link/connection.h"
#include "link/device_frames.h"
#include "link/device_link.h"
#include "link/link_globals.h"
#include "link/serial_port_kind.h"
#include "link/traffic_trace.h"
#include "model/controls.h"
#include "model/fields.h"
#include "model/lookup_tables.h"
#include "runtime/conversions.h"
#include "runtime/resources.h"
#include "runtime/text.h"
#include "sets/effect_files.h"
#include "tool/headless_panel.h"
#include "tool/send_progress.h"
#include "tool/traffic_monitor.h"
#include "ui/user_input.h"
#include "ui/window_definition.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdio>
#include <functional>
#include <map>

namespace ep {
namespace {

using Json = nlohmann::ordered_json;

constexpr int kHighestComPort = 10;
constexpr int kHelloAnswerMs = 1000;

/// One run of a command: what it tells the user, and the JSON object it prints for scripts.
class Run {
  public:
    explicit Run(const CliOptions& options) : m_options(options) { result["command"] = options.command; }

    int timeoutMs() const { return m_options.timeoutSeconds * 1000; }
    const std::vector<Text>& words() const { return m_options.arguments; }

    /// A line for a person; left out of the JSON output.
    void say(const Text& line) const {
        if (!m_options.json)
            std::printf("%s\n", line.c_str());
    }

    /// Ends the command with the code, telling why on standard error.
    int fail(int code, const Text& message) {
        std::fprintf(stderr, "effectpanel-cli: %s\n", message.c_str());
        result["error"] = message;
        return finish(code);
    }

    int finish(int code) {
        if (m_options.json) {
            result["exitCode"] = code;
            std::printf("%s\n", result.dump().c_str());
        }
        return code;
    }

    Json result;

  private:
    const CliOptions& m_options;
};

/// A message for the user on one line, as the panel's boxes are told: its line breaks become "；".
Text OnOneLine(Text message) {
    for (auto at = message.find('\n'); at != Text::npos; at = message.find('\n', at))
        message.replace(at, 1, "；");
    return message;
}

int FieldValue(const Text& set, int field) { return ToInt(Value(MidText(set, FieldPosition(field), FieldWidth))); }

Text WithField(Text set, int field, int value) {
    return set.replace(static_cast<std::size_t>(FieldPosition(field) - 1), FieldWidth, ThreeDigitText(value));
}

/// The fields where two sets differ, as "NAME: EXPECTED → ACTUAL" in the window's texts.
std::vector<Text> Differences(const Text& expected, const Text& actual, Json& listed) {
    std::vector<Text> lines;
    for (int field = 1; field <= EffectSetFieldCount; ++field) {
        const int want = FieldValue(expected, field);
        const int got = FieldValue(actual, field);
        if (want == got)
            continue;
        lines.push_back(FieldName(field) + ": " + ValueText(field, want) + " → " + ValueText(field, got));
        listed.push_back({{"field", field},
                          {"name", FieldName(field)},
                          {"expected", ValueText(field, want)},
                          {"actual", ValueText(field, got)}});
    }
    return lines;
}

int NotTaken(Run& run, const std::vector<Text>& differences) {
    Text message = "the device did not take " + std::to_string(differences.size()) + " setting(s):";
    for (const Text& line : differences)
        message += "\n  " + line;
    return run.fail(kExitDevice, message);
}

/// Reads the device back and compares it with what the window holds.
int Verify(Run& run, HeadlessPanel& panel) {
    const Text expected = EffectSetText();
    const std::optional<Text> actual = panel.readBack(run.timeoutMs());
    if (!actual)
        return run.fail(kExitDevice, "the device did not send its settings back");
    run.result["differences"] = Json::array();
    const std::vector<Text> differences = Differences(expected, *actual, run.result["differences"]);
    run.result["verified"] = differences.empty();
    return differences.empty() ? kExitDone : NotTaken(run, differences);
}

int NoAnswer(Run& run) { return run.fail(kExitDevice, "no processor answered on COM1..COM10"); }

int Scan(Run& run) {
    HeadlessPanel panel;
    // The scan tries each port itself.
    ControlNamed(controls::ConnectTimer).write(prop::timer::Period, 0);
    Control& port = ControlNamed(controls::Port);
    bool anyAnswered = false;
    for (int number = 1; number <= kHighestComPort; ++number) {
        port.write(serialprop::PortNumber, number);
        const bool opened = LinkOf(port).Open() == 1;
        bool answered = false;
        if (opened) {
            SendHelloFrame();
            answered = CurrentHost().runUntil(IsOnline, kHelloAnswerMs);
            GoOffline();
            LinkOf(port).Close();
        }
        anyAnswered = anyAnswered || answered;
        const Text device = ComDevicePath(number);
        char line[160];
        std::snprintf(line, sizeof line, "COM%-2d  %-28s %s", number, device.c_str(),
                      answered ? "a processor answered"
                      : opened ? "opened, no answer"
                               : "not opened");
        run.say(line);
        run.result["ports"].push_back(
            {{"com", number}, {"device", device}, {"opened", opened}, {"answered", answered}});
    }
    return run.finish(anyAnswered ? kExitDone : kExitDevice);
}

int Read(Run& run) {
    Text output;
    const auto& words = run.words();
    if (words.size() == 2 && words[0] == "-o")
        output = EffectFileName(words[1]);
    else if (!words.empty())
        return run.fail(kExitUsage, "read takes -o FILE or nothing");
    HeadlessPanel panel;
    if (!panel.comeOnline(run.timeoutMs()))
        return NoAnswer(run);
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

int Load(Run& run) {
    bool store = false;
    Text file;
    for (const Text& word : run.words()) {
        if (word == "--store")
            store = true;
        else if (file.empty() && !word.starts_with("-"))
            file = word;
        else
            return run.fail(kExitUsage, "load takes FILE [--store]");
    }
    if (file.empty())
        return run.fail(kExitUsage, "load needs a preset FILE");
    run.result["file"] = file;
    // The same checks as the load itself, before any device is touched.
    if (const PresetText preset = ReadPreset(file); preset.refusal)
        return run.fail(kExitUsage, OnOneLine(*preset.refusal));
    HeadlessPanel panel;
    if (!panel.comeOnline(run.timeoutMs()))
        return NoAnswer(run);
    panel.holdTheLinkStill();
    {
        SendProgress progress;
        UserClickedButton(ControlNamed(controls::LoadButton));
    }
    // The load starts the link timers again when it is done.
    panel.holdTheLinkStill();
    if (const int verified = Verify(run, panel); verified != kExitDone)
        return verified;
    run.say("the device holds the " + std::to_string(EffectSetFieldCount) + " settings of " + file);
    run.result["stored"] = false;
    if (!store)
        return run.finish(kExitDone);
    const CommandOutcome outcome = StoreCurrentEffect();
    if (!outcome.sent)
        return run.fail(kExitDevice, outcome.message);
    run.result["stored"] = true;
    run.say(outcome.message);
    return run.finish(kExitDone);
}

int Store(Run& run) {
    if (!run.words().empty())
        return run.fail(kExitUsage, "store takes no arguments");
    HeadlessPanel panel;
    if (!panel.comeOnline(run.timeoutMs()))
        return NoAnswer(run);
    const CommandOutcome outcome = StoreCurrentEffect();
    if (!outcome.sent)
        return run.fail(kExitDevice, outcome.message);
    run.say(outcome.message);
    return run.finish(kExitDone);
}

int Restore(Run& run) {
    if (!run.words().empty())
        return run.fail(kExitUsage, "restore takes no arguments");
    HeadlessPanel panel;
    if (!panel.comeOnline(run.timeoutMs()))
        return NoAnswer(run);
    panel.holdTheLinkStill();
    UserClickedButton(ControlNamed(controls::RestoreButton));
    if (const int verified = Verify(run, panel); verified != kExitDone)
        return verified;
    run.say("the device is back at its factory settings");
    return run.finish(kExitDone);
}

/// The fields the words name, all of them for none; the word that names none, when there is one.
std::optional<Text> NamedFields(const std::vector<Text>& words, std::vector<int>& fields) {
    for (const Text& word : words) {
        const std::optional<int> field = FieldNamed(word);
        if (!field)
            return word;
        fields.push_back(*field);
    }
    if (words.empty())
        for (int field = 1; field <= EffectSetFieldCount; ++field)
            fields.push_back(field);
    return std::nullopt;
}

int Get(Run& run) {
    std::vector<int> fields;
    if (const auto unknown = NamedFields(run.words(), fields))
        return run.fail(kExitUsage, "no setting is named '" + *unknown + "'");
    HeadlessPanel panel;
    if (!panel.comeOnline(run.timeoutMs()))
        return NoAnswer(run);
    const Text set = EffectSetText();
    for (const int field : fields) {
        const int value = FieldValue(set, field);
        char line[160];
        std::snprintf(line, sizeof line, "%3d  %-22s %-8s %3d", field, FieldName(field).c_str(),
                      ValueText(field, value).c_str(), value);
        run.say(line);
        run.result["parameters"].push_back(
            {{"field", field}, {"name", FieldName(field)}, {"text", ValueText(field, value)}, {"value", value}});
    }
    return run.finish(kExitDone);
}

struct Assignment {
    int field = 0;
    int value = 0;
};

/// The value of the word for the field: as the window shows it, or with raw the field's number; the
/// reason when it is none.
std::optional<Text> ReadValue(int field, std::string_view word, bool raw, int& value) {
    if (raw) {
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (error == std::errc() && end == word.data() + word.size() && value >= 0 && value <= 255)
            return std::nullopt;
        return "'" + Text(word) + "' is no field value 0..255";
    }
    if (const auto found = ValueOfText(field, word)) {
        value = *found;
        return std::nullopt;
    }
    const std::vector<int> values = ValuesOfField(field);
    return "'" + Text(word) + "' is no value of " + FieldName(field) + ", which shows " +
           ValueText(field, values.front()) + " … " + ValueText(field, values.back());
}

/// The design-time set of the window definition, which an empty preset stands for.
Text DesignTimeSet() {
    RegisterSerialPortKind();
    const auto window = BuildWindowFromDefinition(*ProgramResource(kMainWindowDefinition));
    return window->find(controls::EffectSetBox)->readText(prop::editbox::Content);
}

int Set(Run& run) {
    bool raw = false;
    Text file;
    std::vector<std::pair<int, Text>> named;
    const auto& words = run.words();
    for (std::size_t at = 0; at < words.size(); ++at) {
        if (words[at] == "--raw") {
            raw = true;
        } else if (words[at] == "--file" && at + 1 < words.size()) {
            file = words[++at];
        } else {
            const auto equals = words[at].find('=');
            if (equals == Text::npos)
                return run.fail(kExitUsage, "set takes NAME=VALUE, not '" + words[at] + "'");
            const std::optional<int> field = FieldNamed(words[at].substr(0, equals));
            if (!field)
                return run.fail(kExitUsage, "no setting is named '" + words[at].substr(0, equals) + "'");
            named.emplace_back(*field, words[at].substr(equals + 1));
        }
    }
    if (named.empty())
        return run.fail(kExitUsage, "set needs NAME=VALUE");
    // Every value is read, --raw known wherever it stands, before anything is sent or written.
    std::vector<Assignment> assignments;
    for (const auto& [field, word] : named) {
        Assignment assignment{field, 0};
        if (const auto problem = ReadValue(field, word, raw, assignment.value))
            return run.fail(kExitUsage, *problem);
        assignments.push_back(assignment);
    }
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
    if (!panel.comeOnline(run.timeoutMs()))
        return NoAnswer(run);
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

} // namespace

int RunCliCommand(const CliOptions& options) {
    Run run(options);
    // The window's texts of the values are read before the panel, whose creation fills them, exists.
    FillLookupTables();
    for (const auto& [number, device] : options.comDevices)
        MapComPort(number, device);
    if (options.command == "monitor")
        return options.traceFile.empty()
                   ? RunMonitorCommand(options)
                   : run.fail(kExitUsage, "--trace records the panel's traffic; monitor prints its own");
    const std::map<Text, std::function<int(Run&)>> commands = {{"scan", Scan},   {"read", Read},       {"load", Load},
                                                               {"store", Store}, {"restore", Restore}, {"get", Get},
                                                               {"set", Set}};
    const auto command = commands.find(options.command);
    if (command == commands.end())
        return run.fail(kExitUsage, "unknown command '" + options.command + "'; see effectpanel-cli --help");
    if (!options.traceFile.empty())
        if (const auto problem = StartTrafficTrace(options.traceFile))
            return run.fail(kExitUsage, *problem);
    const int code = command->second(run);
    StopTrafficTrace();
    return code;
}

} // namespace ep
