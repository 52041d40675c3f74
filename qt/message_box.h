#pragma once
/// A modal message box with the buttons and icon of the runtime's style word.

#include "runtime/host.h"

namespace ep::qt {

MessageBoxButton ShowMessageBox(const MessageBoxRequest& request);

} // namespace ep::qt
