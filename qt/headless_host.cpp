#include "qt/headless_host.h"

namespace ep::qt {

MessageBoxButton DefaultButtonOf(int style) {
    switch (style & 0x0F) {
    case 2:
        return MessageBoxButton::Abort;
    case 3:
    case 4:
        return MessageBoxButton::Yes;
    case 5:
        return MessageBoxButton::Retry;
    default:
        return MessageBoxButton::Ok;
    }
}

MessageBoxButton HeadlessHost::showMessageBox(const MessageBoxRequest& request) {
    return DefaultButtonOf(request.style);
}

std::optional<Text> HeadlessHost::showFileDialog(const FileDialogRequest&) {
    if (m_fileDialogAnswer.empty())
        return std::nullopt;
    return m_fileDialogAnswer;
}

} // namespace ep::qt
