#pragma once
/// The host of the panel without a window, for the command-line tool: the core host's timers and
/// devices; a message box is neither shown nor told (the tool tells what came of a command itself, in its
/// own words) and is answered with its default button, and a file dialog is answered with the path the
/// tool gives it.

#include "qt/core_host.h"

#include <vector>

namespace ep::qt {

class HeadlessHost : public CoreHost {
  public:
    MessageBoxButton showMessageBox(const MessageBoxRequest& request) override;
    std::optional<Text> showFileDialog(const FileDialogRequest& request) override;

    /// The path that file dialogs are answered with from now on; empty: they are cancelled.
    void answerFileDialogsWith(const Text& path) { m_fileDialogAnswer = path; }

  private:
    Text m_fileDialogAnswer;
};

/// The button a box of that style gives when its default is pressed: the first of its buttons.
MessageBoxButton DefaultButtonOf(int style);

} // namespace ep::qt
