#pragma once
/// What a view reports when the user works a control: each turns the input into the control's state and
/// its events, with the rules of the kind. Program writes never come this way and raise nothing.

#include "ui/control.h"

#include <optional>

namespace ep {

/// A scroll notification of the user's mouse, wheel or keys (not the end of the track): the stored position
/// takes the widget's, then one position-changed event.
void UserScrolledSlider(Control& slider, int position);

/// A click on an edit box's up-down arrow (+1 up, -1 down). Kind 1 steps the box's number with
/// wrap-around within the arrows' range, selects it and takes the focus; other kinds raise event 1.
void UserSteppedUpDown(Control& editBox, int direction);

/// The user typed into an editable box: the content takes the text, one content-changed event.
void UserEditedText(Control& editBox, const Text& text);

/// The drop-down list closed, with the item the user chose or without a choice. List closed is raised at
/// once; selection changed is posted to run after it, and only for a choice.
void UserClosedList(Control& comboBox, std::optional<int> chosenIndex);

void UserClickedButton(Control& button);

/// Shows a common dialog of type 0 (open) or 1 (save) through the host; true when the user confirmed, and
/// then the file name property holds the chosen path, which the next showing starts with.
bool ShowCommonDialog(Control& dialog);

} // namespace ep
