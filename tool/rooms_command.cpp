#include "tool/rooms_command.h"

#include "app/program_folder.h"
#include "runtime/file_paths.h"
#include "runtime/utf8.h"
#include "sets/effect_files.h"
#include "tool/command_run.h"
#include "tool/command_words.h"
#include "tool/diff_report.h"
#include "tool/preset_copies.h"
#include "tool/process_runs.h"
#include "tool/room_progress.h"
#include "tool/rooms_file.h"
#include "tool/rooms_table.h"
#include "tool/set_differences.h"
#include "tool/stop_signals.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <thread>

namespace ep {
namespace {

using Json = nlohmann::ordered_json;
using Refusal = std::optional<Text>;

/// A room's process is killed this long after its start: each of its waits for the device (coming
/// online, a read-back, the read before a load) may take --timeout, and a load's sending some seconds.
constexpr int kDeviceWaitsPerRun = 3;
constexpr int kSendingMs = 10000;

/// What one room's process is told to do; for diff also the preset its set is compared with, for a backup
/// the file its set goes into.
struct RoomTask {
    const Room* room = nullptr;
    std::vector<Text> command{};
    Text preset{};
    Text presetSet{};
    Text backupFile{};
    Text loadedPreset{}; ///< for a load the user's preset, of which the process loads a copy
};

/// What the rooms' processes are told, and the preset copies that they load, which last as long.
struct Plan {
    std::vector<RoomTask> tasks;
    PresetCopies copies;
};

using Planner =
    std::function<Refusal(const std::vector<Text>& words, const std::vector<const Room*>& rooms, Plan& plan)>;

Text RoomAndLine(const Room& room) { return "room '" + room.name + "' (line " + std::to_string(room.line) + ")"; }

/// The rooms' processes take their words as text (QProcess), which bytes that are not UTF-8 do not survive.
Text NotUtf8(const Text& word) {
    return "'" + word + "' is not UTF-8, and the rooms' processes are given their paths as UTF-8 text: " +
           "use a folder named in UTF-8 (TMPDIR names the one of the preset copies)";
}

/// The set a preset stands for, or why it is refused.
Refusal PresetSet(const Text& preset, Text& set) {
    const PresetText read = ReadPreset(preset);
    if (read.refusal)
        return OnOneLine(*read.refusal);
    set = read.text.empty() ? DesignTimeSet() : read.text;
    return std::nullopt;
}

Refusal PlanRead(const std::vector<Text>& words, const std::vector<const Room*>& rooms, Plan& plan) {
    const ReadWords read = ParseReadWords(words);
    if (!read.error.empty())
        return Text("with --rooms, read takes -o FOLDER or nothing");
    if (read.output.empty()) {
        for (const Room* room : rooms)
            plan.tasks.push_back({room, {"read"}});
        return std::nullopt;
    }
    if (!IsWellFormedUtf8(read.output))
        return NotUtf8(read.output);
    const std::filesystem::path folder = PathOfName(read.output);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error))
        return "'" + read.output + "' is no folder that the rooms' presets can be written into";
    std::vector<std::pair<Text, const Room*>> files;
    for (const Room* room : rooms) {
        const Text file = FileNameOfRoom(room->name) + ".tonset";
        for (const auto& [earlier, other] : files)
            if (SameRoomName(earlier, file))
                return "rooms '" + other->name + "' and '" + room->name + "' would both be saved as " + file;
        files.emplace_back(file, room);
        // The rooms' processes only read; the files are written here, where a link at a room's name is
        // refused (see SaveBackup).
        plan.tasks.push_back({room, {"read"}, {}, {}, NameOfPath(folder / PathOfName(file))});
    }
    return std::nullopt;
}

/// Each room loads a copy of its preset of its own (see PresetCopies).
Refusal PlanLoad(const std::vector<Text>& words, const std::vector<const Room*>& rooms, Plan& plan) {
    const LoadWords load = ParseLoadWords(words);
    if (!load.error.empty())
        return load.error;
    std::map<Text, Text> texts;
    for (const Room* room : rooms) {
        const Text preset = load.file.empty() ? room->preset : load.file;
        if (preset.empty())
            return RoomAndLine(*room) + " has no preset, and load names none";
        if (!texts.contains(preset)) {
            const PresetText read = ReadPreset(preset);
            if (read.refusal)
                return OnOneLine(*read.refusal);
            if (const auto refusal = PresetNotToLoad(preset, read.text, load.force))
                return refusal;
            texts[preset] = read.text;
        }
        Text reason;
        const Text copy = plan.copies.copy(static_cast<int>(plan.tasks.size()), texts[preset], reason);
        if (copy.empty())
            return OnOneLine(reason);
        RoomTask task{room, {"load", copy}};
        task.loadedPreset = preset;
        if (load.store)
            task.command.push_back("--store");
        if (load.changedOnly)
            task.command.push_back("--changed");
        if (load.force)
            task.command.push_back("--force");
        plan.tasks.push_back(task);
    }
    return std::nullopt;
}

Refusal PlanStore(const std::vector<Text>& words, const std::vector<const Room*>& rooms, Plan& plan) {
    if (!words.empty())
        return Text("store takes no arguments");
    for (const Room* room : rooms)
        plan.tasks.push_back({room, {"store"}});
    return std::nullopt;
}

/// The command with its words as they were given, once they are found good.
void PlanAsGiven(const Text& command, const std::vector<Text>& words, const std::vector<const Room*>& rooms,
                 Plan& plan) {
    std::vector<Text> given{command};
    given.insert(given.end(), words.begin(), words.end());
    for (const Room* room : rooms)
        plan.tasks.push_back({room, given});
}

Refusal PlanGet(const std::vector<Text>& words, const std::vector<const Room*>& rooms, Plan& plan) {
    if (const GetWords get = ParseGetWords(words); !get.error.empty())
        return get.error;
    PlanAsGiven("get", words, rooms, plan);
    return std::nullopt;
}

Refusal PlanSet(const std::vector<Text>& words, const std::vector<const Room*>& rooms, Plan& plan) {
    const SetWords set = ParseSetWords(words);
    if (!set.error.empty())
        return set.error;
    if (!set.file.empty())
        return Text("set --file changes a preset, not the rooms; leave --rooms out for it");
    PlanAsGiven("set", words, rooms, plan);
    return std::nullopt;
}

/// diff [PRESET]: every room's set against PRESET, or against the room's own preset when none is named.
Refusal PlanDiff(const std::vector<Text>& words, const std::vector<const Room*>& rooms, Plan& plan) {
    if (!words.empty() && words.front() == kDeviceSide)
        return Text("with --rooms, diff compares each room's device with a preset: name the preset");
    std::map<Text, Text> sets;
    for (const Room* room : rooms) {
        const Text preset = words.empty() ? room->preset : words.front();
        if (preset.empty())
            return RoomAndLine(*room) + " has no preset, and diff names none";
        if (!sets.contains(preset))
            if (const Refusal refusal = PresetSet(preset, sets[preset]))
                return refusal;
        plan.tasks.push_back({room, {"read"}, preset, sets[preset]});
    }
    return std::nullopt;
}

const std::map<Text, Planner>& Planners() {
    static const std::map<Text, Planner> planners = {{"read", PlanRead}, {"load", PlanLoad}, {"store", PlanStore},
                                                     {"get", PlanGet},   {"set", PlanSet},   {"diff", PlanDiff}};
    return planners;
}

/// The rooms --only names, in the order of the rooms file; all of them without it.
Refusal SelectRooms(const std::vector<Room>& file, const CliOptions& options, std::vector<const Room*>& rooms) {
    for (const Text& name : options.onlyRooms)
        if (std::none_of(file.begin(), file.end(), [&name](const Room& room) { return SameRoomName(room.name, name); }))
            return "no room is named '" + name + "' in " + options.roomsFile;
    for (const Room& room : file)
        if (options.onlyRooms.empty() ||
            std::any_of(options.onlyRooms.begin(), options.onlyRooms.end(),
                        [&room](const Text& name) { return SameRoomName(room.name, name); }))
            rooms.push_back(&room);
    return std::nullopt;
}

/// The first word of the requests, the program's path included, that is not UTF-8.
std::optional<Text> WordNotUtf8(const std::vector<ProcessRequest>& requests) {
    for (const ProcessRequest& request : requests) {
        if (!IsWellFormedUtf8(request.program))
            return request.program;
        for (const Text& word : request.arguments)
            if (!IsWellFormedUtf8(word))
                return word;
    }
    return std::nullopt;
}

/// How many rooms run at once: --jobs, or the default, as far as the descriptors allow.
int RoomsAtOnce(const CliOptions& options) {
    const int atOnce =
        ProcessesAtOnce(options.jobs, std::thread::hardware_concurrency(), CurrentHost().childProcessRoom());
    if (options.jobs > atOnce)
        std::fprintf(stderr,
                     "effectpanel-cli: --jobs %d lowered to %d: the limit of open files leaves room for no more "
                     "rooms at once\n",
                     options.jobs, atOnce);
    return atOnce;
}

std::pair<RoomRow, Json> RowOf(const RoomTask& task, const ProcessOutcome& process);

/// Runs each task's process into outcomes, and into a row and its JSON as each ends, when the room's
/// result is told; an exit status when the rooms did not all run: a word that cannot be given to a
/// process, or a signal that stopped them.
std::optional<int> RunTasks(Run& run, const std::vector<RoomTask>& tasks, const StopSignals& signals,
                            std::vector<ProcessOutcome>& outcomes, std::vector<std::pair<RoomRow, Json>>& rows) {
    const CliOptions& options = run.options();
    std::vector<ProcessRequest> requests;
    for (const RoomTask& task : tasks) {
        std::vector<Text> arguments = {"--json", "--timeout", std::to_string(options.timeoutSeconds), "--device",
                                       task.room->device};
        arguments.insert(arguments.end(), task.command.begin(), task.command.end());
        requests.push_back({ProgramPath(), arguments, kDeviceWaitsPerRun * options.timeoutSeconds * 1000 + kSendingMs});
    }
    if (const std::optional<Text> word = WordNotUtf8(requests))
        return run.fail(kExitUsage, NotUtf8(*word));
    rows.assign(tasks.size(), {});
    std::vector<bool> told(tasks.size());
    {
        RoomProgress progress(tasks.size());
        outcomes = RunProcesses(
            requests, RoomsAtOnce(options), [&signals] { return signals.caught() != 0; },
            [&](std::size_t index, const ProcessOutcome& outcome) {
                rows[index] = RowOf(tasks[index], outcome);
                told[index] = true;
                progress.roomEnded(rows[index].first);
            });
    }
    for (std::size_t index = 0; index < tasks.size(); ++index)
        if (!told[index])
            rows[index] = RowOf(tasks[index], outcomes[index]);
    if (const int signal = signals.caught())
        return run.fail(ExitStatusOfSignal(signal), "stopped by " + SignalName(signal) +
                                                        ": the rooms running were stopped, the others not started");
    return std::nullopt;
}

/// The JSON object a room's process printed last; null when it printed none.
Json ReportOf(const Text& output) {
    const auto end = output.find_last_not_of('\n');
    if (end == Text::npos)
        return nullptr;
    const auto start = output.rfind('\n', end);
    const Json report = Json::parse(output.substr(start == Text::npos ? 0 : start + 1), nullptr, false);
    return report.is_object() ? report : Json(nullptr);
}

Text TextOf(const Json& json, const char* key) {
    const auto found = json.find(key);
    return found != json.end() && found->is_string() ? found->get<Text>() : Text();
}

Text SettingsCount(std::size_t count) { return std::to_string(count) + (count == 1 ? " setting" : " settings"); }

/// Writes the set a room's process read into the room's file of the backup. Others may write into the
/// folder: a link at the name is refused rather than followed, so that nothing outside the folder is
/// written.
void SaveBackup(const RoomTask& task, const Json& report, RoomRow& row, Json& json) {
    if (const auto refusal = SavePreset(task.backupFile, TextOf(report, "set"), LinkAtName::Refuse)) {
        row.result = "refused file";
        row.details.push_back(OnOneLine(*refusal));
        json["error"] = row.details.back();
        return;
    }
    row.result = "done";
    row.succeeded = true;
    json["file"] = task.backupFile;
}

/// What a room's process that ran to its end came to.
void ReadResult(const RoomTask& task, const ProcessOutcome& process, const Json& report, RoomRow& row, Json& json) {
    const Text error = TextOf(report, "error");
    switch (process.exitCode) {
    case kExitDone:
        if (!task.preset.empty()) {
            const std::vector<FieldDifference> differences = SetDifferences(TextOf(report, "set"), task.presetSet);
            row.result = differences.empty() ? "equal" : "differs";
            row.succeeded = differences.empty();
            if (!differences.empty())
                row.summary = SettingsCount(differences.size());
            for (const FieldDifference& difference : differences)
                row.details.push_back(DiffLine(difference));
            json["preset"] = task.preset;
            json["differences"] = DifferencesJson(differences, "room", "preset");
            return;
        }
        if (!task.backupFile.empty()) {
            SaveBackup(task, report, row, json);
            return;
        }
        row.result = "done";
        row.succeeded = true;
        if (const auto sent = report.find("sent"); sent != report.end() && sent->is_number())
            row.summary = "sent " + SettingsCount(sent->get<std::size_t>());
        if (const auto stored = report.find("stored"); stored != report.end() && stored->is_boolean())
            row.summary += Text(row.summary.empty() ? "" : ", ") + (stored->get<bool>() ? "stored" : "not stored");
        if (const auto parameters = report.find("parameters"); parameters != report.end())
            for (const Json& parameter : *parameters)
                row.details.push_back(TextOf(parameter, "name") + ": " + TextOf(parameter, "text"));
        if (task.command == std::vector<Text>{"read"})
            row.details.push_back(TextOf(report, "set"));
        return;
    case kExitDevice:
        if (const auto differences = report.find("differences");
            differences != report.end() && differences->is_array() && !differences->empty()) {
            row.result = "not taken";
            row.summary = SettingsCount(differences->size());
            for (const Json& difference : *differences)
                row.details.push_back(TextOf(difference, "name") + ": " + TextOf(difference, "expected") + " → " +
                                      TextOf(difference, "actual"));
        } else {
            row.result = "no answer";
            row.details.push_back(error);
        }
        break;
    case kExitUsage:
        row.result = "refused file";
        row.details.push_back(error);
        break;
    default:
        row.result = "failed";
        row.summary = "exit code " + std::to_string(process.exitCode);
    }
    if (!error.empty())
        json["error"] = error;
}

std::pair<RoomRow, Json> RowOf(const RoomTask& task, const ProcessOutcome& process) {
    RoomRow row{task.room->name, task.room->device};
    row.elapsedMs = process.elapsedMs;
    Json json = {{"name", row.name}, {"device", row.device}};
    Json report = ReportOf(process.standardOutput);
    // The process loaded a copy, which is gone by the time anyone reads this.
    if (!task.loadedPreset.empty()) {
        json["file"] = task.loadedPreset;
        if (report.contains("file"))
            report["file"] = task.loadedPreset;
    }
    if (process.end != ProcessOutcome::End::Exited || report.is_null()) {
        row.result = "failed";
        switch (process.end) {
        case ProcessOutcome::End::Killed:
            row.summary = "killed after " + SecondsText(process.elapsedMs);
            break;
        case ProcessOutcome::End::Stopped:
            row.summary = "stopped";
            break;
        case ProcessOutcome::End::Crashed:
            row.summary = "crashed";
            break;
        case ProcessOutcome::End::NotStarted:
            row.summary = "not started: " + process.standardError;
            break;
        case ProcessOutcome::End::Exited:
            row.summary = "printed no report";
        }
    } else {
        ReadResult(task, process, report, row, json);
    }
    json["result"] = row.result;
    if (!row.summary.empty())
        json["summary"] = row.summary;
    json["seconds"] = row.elapsedMs / 1000.0;
    if (!report.is_null())
        json["report"] = report;
    return {row, json};
}

/// diff A B with rooms: each side a room, whose set its process reads, or a preset.
int DiffOfTwo(Run& run, const std::vector<Room>& file, const StopSignals& signals) {
    const auto& words = run.words();
    if (!run.options().onlyRooms.empty())
        return run.fail(kExitUsage, "diff of two sides compares those two; it does not go with --only");
    run.result["a"] = words[0];
    run.result["b"] = words[1];
    std::array<Text, 2> sets;
    std::vector<RoomTask> tasks;
    std::array<std::optional<std::size_t>, 2> taskOfSide;
    for (std::size_t side = 0; side < sets.size(); ++side) {
        if (words[side] == kDeviceSide)
            return run.fail(kExitUsage, "with --rooms, name a room instead of device");
        const auto room = std::find_if(
            file.begin(), file.end(), [&](const Room& candidate) { return SameRoomName(candidate.name, words[side]); });
        if (room == file.end()) {
            if (const Refusal refusal = PresetSet(words[side], sets[side]))
                return run.fail(kExitUsage, *refusal);
            continue;
        }
        const auto same =
            std::find_if(tasks.begin(), tasks.end(), [&](const RoomTask& task) { return task.room == &*room; });
        taskOfSide[side] = static_cast<std::size_t>(same - tasks.begin());
        if (same == tasks.end())
            tasks.push_back({&*room, {"read"}});
    }
    std::vector<ProcessOutcome> outcomes;
    std::vector<std::pair<RoomRow, Json>> rows;
    if (const std::optional<int> code = RunTasks(run, tasks, signals, outcomes, rows))
        return *code;
    for (std::size_t side = 0; side < sets.size(); ++side) {
        if (!taskOfSide[side])
            continue;
        const RoomTask& task = tasks[*taskOfSide[side]];
        const ProcessOutcome& outcome = outcomes[*taskOfSide[side]];
        const Json report = ReportOf(outcome.standardOutput);
        if (outcome.end != ProcessOutcome::End::Exited || outcome.exitCode != kExitDone || report.is_null())
            return run.fail(kExitUsage, "room '" + task.room->name + "' did not send its settings" +
                                            (TextOf(report, "error").empty() ? "" : ": " + TextOf(report, "error")));
        sets[side] = TextOf(report, "set");
    }
    return ReportDiff(run, sets[0], sets[1]);
}

} // namespace

int RunRoomsCommand(const CliOptions& options) {
    // From the start, so that a signal never leaves a copy of a preset behind.
    const StopSignals signals;
    Run run(options);
    const RoomsFile file = ReadRoomsFile(options.roomsFile);
    if (!file.refusal.empty())
        return run.fail(kExitUsage, file.refusal);
    const auto planner = Planners().find(options.command);
    if (planner == Planners().end())
        return run.fail(kExitUsage, "'" + options.command +
                                        "' is not run in rooms; --rooms takes read, load, store, get, set and diff");
    if (options.command == "diff" && options.arguments.size() == 2)
        return DiffOfTwo(run, file.rooms, signals);
    if (options.command == "diff" && options.arguments.size() > 2)
        return run.fail(kExitUsage, "diff takes a preset to compare every room with, or two sides");
    std::vector<const Room*> rooms;
    if (const Refusal refusal = SelectRooms(file.rooms, options, rooms))
        return run.fail(kExitUsage, *refusal);
    Plan plan;
    if (const Refusal refusal = planner->second(options.arguments, rooms, plan))
        return run.fail(kExitUsage, *refusal);
    const std::vector<RoomTask>& tasks = plan.tasks;

    std::vector<ProcessOutcome> outcomes;
    std::vector<std::pair<RoomRow, Json>> ended;
    if (const std::optional<int> code = RunTasks(run, tasks, signals, outcomes, ended))
        return *code;
    std::vector<RoomRow> rows;
    bool everyRoom = true;
    run.result["rooms"] = Json::array();
    for (auto& [row, json] : ended) {
        everyRoom = everyRoom && row.succeeded;
        rows.push_back(std::move(row));
        run.result["rooms"].push_back(std::move(json));
    }
    if (!options.json)
        std::fputs(RoomsTable(rows).c_str(), stdout);
    return run.finish(everyRoom ? kExitDone : kExitDevice);
}

} // namespace ep
