#include "handlers/change_history.h"

#include "handlers/parameter_frame.h"
#include "link/device_link.h"
#include "model/fields.h"
#include "runtime/conversions.h"
#include "runtime/text.h"
#include "sets/set_fields.h"
#include "ui/user_input.h"

#include <algorithm>
#include <deque>

namespace ep {
namespace {

/// Older steps are let go: nobody undoes a whole evening one click at a time.
constexpr std::size_t kStepLimit = 200;

struct FieldChange {
    int field = 0;
    int before = 0;
    int after = 0;
};

struct Step {
    Text control;
    std::vector<FieldChange> changes;
};

std::deque<Step> undoSteps;
std::deque<Step> redoSteps;
/// Whether the next input of the last step's control adds to it; an undo or redo ends it.
bool lastStepOpen = false;
/// Handlers run nested (a limit box's write runs its partner's handler); only the outermost records. An
/// undo or redo runs handlers too, and records nothing.
int running = 0;

int FieldValue(const Text& set, int field) { return ToInt(Value(MidText(set, FieldPosition(field), FieldWidth))); }

std::vector<FieldChange> ChangesBetween(const Text& before, const Text& after) {
    std::vector<FieldChange> changes;
    if (before == after || before.size() != static_cast<std::size_t>(EffectSetLength) || after.size() != before.size())
        return changes;
    // Only the fields between the first and the last character that differ are looked at: an input changes
    // one field, or a few.
    const auto first = std::mismatch(before.begin(), before.end(), after.begin()).first - before.begin();
    const auto last = std::mismatch(before.rbegin(), before.rend(), after.rbegin()).first - before.rbegin();
    const int lastPosition = static_cast<int>(before.size() - static_cast<std::size_t>(last));
    for (int field = FieldAtPosition(static_cast<int>(first) + 1); field <= FieldAtPosition(lastPosition); ++field) {
        const auto at = static_cast<std::size_t>(FieldPosition(field) - 1);
        if (before.compare(at, FieldWidth, after, at, FieldWidth) != 0)
            changes.push_back({field, FieldValue(before, field), FieldValue(after, field)});
    }
    return changes;
}

/// A step on the same control and fields as the last one continues it.
void Record(Step step) {
    redoSteps.clear();
    const bool continues = lastStepOpen && !undoSteps.empty() && undoSteps.back().control == step.control;
    lastStepOpen = true;
    if (continues) {
        Step& last = undoSteps.back();
        bool sameFields = last.changes.size() == step.changes.size();
        for (std::size_t i = 0; sameFields && i < step.changes.size(); ++i)
            sameFields = last.changes[i].field == step.changes[i].field;
        if (sameFields) {
            for (std::size_t i = 0; i < step.changes.size(); ++i)
                last.changes[i].after = step.changes[i].after;
            return;
        }
    }
    undoSteps.push_back(std::move(step));
    if (undoSteps.size() > kStepLimit)
        undoSteps.pop_front();
}

/// Whether the row's editing control stands for the field now.
bool ControlShowsField(const ParameterRow& row, int field) {
    if (row.editKind == EditKind::ChoiceLabels)
        return true;
    if (RowOfControl(row.editControl, ShownView()) != &row)
        return false;
    const auto location = LocateField(row, SelectorIndex(row.block));
    return location && location->field == field;
}

void Press(std::string_view label) { ControlNamed(Text(label)).raise(event::LeftButtonPressed, {1, 1, 0}); }

/// The field takes the value as the user's input on its control would give it.
void WorkField(int field, int value) {
    const FieldInfo info = InfoOfField(field);
    const ParameterRow& row = *info.row;
    if (!ControlShowsField(row, field)) {
        SendParameterAndWriteField(info.channel, row.address, value, row.valueWidth, FieldPosition(field));
        return;
    }
    switch (row.editKind) {
    case EditKind::Slider: {
        Control& slider = ControlNamed(Text(row.editControl));
        UserScrolledSlider(slider, PositionOfDeviceValue(row, value));
        // A drag ends with the release, which some sliders send on.
        slider.raise(event::LeftButtonReleased, {1, 1, 0});
        break;
    }
    case EditKind::LimitBox:
        UserEditedText(ControlNamed(Text(row.editControl)), ToText(Value(value)));
        break;
    case EditKind::Selector:
        UserClosedList(ControlNamed(Text(row.editControl)), value);
        break;
    case EditKind::SwitchLabel:
        if (SwitchIsOn(row, FieldValue(EffectSetText(), field)) != SwitchIsOn(row, value))
            Press(row.editControl);
        break;
    case EditKind::ChoiceLabels:
        if (value >= 0 && static_cast<std::size_t>(value) < row.choices.size())
            Press(row.choices[static_cast<std::size_t>(value)].label);
        break;
    }
}

bool TakeStep(bool undo) {
    auto& from = undo ? undoSteps : redoSteps;
    if (!IsOnline() || from.empty())
        return false;
    Step step = std::move(from.back());
    from.pop_back();
    lastStepOpen = false;
    ++running;
    if (undo)
        for (auto change = step.changes.rbegin(); change != step.changes.rend(); ++change)
            WorkField(change->field, change->before);
    else
        for (const FieldChange& change : step.changes)
            WorkField(change.field, change.after);
    --running;
    if (undo)
        redoSteps.push_back(std::move(step));
    else
        undoSteps.push_back(std::move(step));
    return true;
}

} // namespace

Handler RecordedChange(Handler handler) {
    return [handler = std::move(handler)](const EventContext& context) {
        if (running > 0 || !IsOnline()) {
            handler(context);
            return;
        }
        const Text before = EffectSetText();
        ++running;
        handler(context);
        --running;
        if (auto changes = ChangesBetween(before, EffectSetText()); !changes.empty())
            Record({context.source.name(), std::move(changes)});
    };
}

bool UndoChange() { return TakeStep(true); }

bool RedoChange() { return TakeStep(false); }

void ForgetChanges() {
    lastStepOpen = false;
    undoSteps.clear();
    redoSteps.clear();
}

} // namespace ep
