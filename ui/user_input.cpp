#include "ui/user_input.h"

#include "runtime/conversions.h"
#include "runtime/host.h"
#include "ui/kinds.h"
#include "ui/window.h"

namespace ep {

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
    const auto chosen = CurrentHost().showFileDialog(request);
    if (!chosen)
        return false;
    dialog.write(prop::dialog::FileName, *chosen);
    return true;
}

} // namespace ep
