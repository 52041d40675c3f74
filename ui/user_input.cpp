#include "ui/user_input.h"

#include "runtime/conversions.h"
#include "runtime/host.h"
#include "ui/kinds.h"
#include "ui/window.h"

namespace ep {
namespace {

/// The suffix of a pattern for one kind of file ("*.tonset" gives "tonset"); empty for any other pattern.
Text SuffixOfPattern(const Text& pattern) {
    const Text lead = "*.";
    if (pattern.size() <= lead.size() || pattern.compare(0, lead.size(), lead) != 0)
        return {};
    const Text suffix = pattern.substr(lead.size());
    return suffix.find_first_of("*?[]; ") == Text::npos ? suffix : Text{};
}

} // namespace

void UserScrolledSlider(Control& slider, int position) {
    slider.store(prop::slider::Position, ClampToNativeRange(position));
    slider.raise(event::PositionChanged);
}

void UserSteppedUpDown(Control& editBox, int direction) {
    const UpDownArrows& arrows = editBox.attributes().upDown;
    if (arrows.kind != 1) {
        editBox.raise(event::UpDownClicked, {direction});
        return;
    }
    long long value = static_cast<long long>(ToInt(Value(editBox.readText(prop::editbox::Content)))) + direction;
    if (value > arrows.maximum)
        value = arrows.minimum;
    else if (value < arrows.minimum)
        value = arrows.maximum;
    editBox.write(prop::editbox::Content, ToText(Value(static_cast<std::int32_t>(value))));
    if (editBox.view() != nullptr)
        editBox.view()->selectAllAndFocus();
}

void UserEditedText(Control& editBox, const Text& text) {
    editBox.store(prop::editbox::Content, text);
    editBox.raise(event::ContentChanged);
}

void UserClosedList(Control& comboBox, std::optional<int> chosenIndex) {
    if (chosenIndex) {
        comboBox.store(prop::combo::Selection, *chosenIndex);
        Window* window = &comboBox.window();
        const int id = comboBox.id();
        // Deferred so that it runs after the list has closed; the control may be gone by then.
        CurrentHost().postToUi([window, id] {
            if (IsWindowLoaded() && &LoadedWindow() == window)
                if (Control* control = window->findById(id))
                    control->raise(event::SelectionChanged);
        });
    }
    comboBox.raise(event::ListClosed);
}

void UserClickedButton(Control& button) { button.raise(event::Clicked); }

bool ShowCommonDialog(Control& dialog) {
    const Text& filter = dialog.attributes().filter;
    const auto bar = filter.find('|');
    FileDialogRequest request;
    request.kind = dialog.readInt(prop::dialog::Type) == 1 ? FileDialogKind::Save : FileDialogKind::Open;
    request.filterDisplay = filter.substr(0, bar);
    request.filterPattern = bar == Text::npos ? Text{} : filter.substr(bar + 1);
    request.startPath = dialog.readText(prop::dialog::FileName);
    // So that the dialog's question about an existing file covers the name that will be written.
    request.defaultSuffix = SuffixOfPattern(request.filterPattern);
    const auto chosen = CurrentHost().showFileDialog(request);
    if (!chosen)
        return false;
    dialog.write(prop::dialog::FileName, *chosen);
    return true;
}

} // namespace ep
