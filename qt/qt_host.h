#pragma once
/// The host of the program on Qt 6 with its window: the core host's timers and devices, and QMessageBox
/// and QFileDialog for the boxes and dialogs.

#include "qt/core_host.h"

namespace ep::qt {

class QtHost : public CoreHost {
  public:
    MessageBoxButton showMessageBox(const MessageBoxRequest& request) override;
    std::optional<Text> showFileDialog(const FileDialogRequest& request) override;
};

} // namespace ep::qt
