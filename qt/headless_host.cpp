#include "qt/headless_host.h"

#include <cstdio>

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

Text OneLine(const MessageBoxRequest& request) {
    Text line = request.caption;
    if (!line.empty() && !line.ends_with("：") && !line.ends_with(":"))
        line += "：";
    for (std::size_t at = 0; at < request.text.size(); ++at) {
        const char c = request.text[at];
        if (c == '\r')
            continue;
        line += c == '\n' ? Text("；") : Text(1, c);
    }
    return line;
}

MessageBoxButton HeadlessHost::showMessageBox(const MessageBoxRequest& request) {
    std::fprintf(stderr, "%s\n", OneLine(request).c_str());
    return DefaultButtonOf(request.style);
}

std::optional<Text> HeadlessHost::showFileDialog(const FileDialogRequest&) {
    if (m_fileDialogAnswer.empty())
        return std::nullopt;
    return m_fileDialogAnswer;
}

} // namespace ep::qt
