#include "tool/send_progress.h"

#include "model/controls.h"
#include "ui/window.h"

#include <cstdio>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace ep {
namespace {

// Platform-specific: whether standard error is a terminal.
bool StandardErrorIsTerminal() {
#if defined(_WIN32)
    return _isatty(_fileno(stderr)) != 0;
#else
    return ::isatty(STDERR_FILENO) != 0;
#endif
}

} // namespace

SendProgress::SendProgress() : m_bar(ControlNamed(controls::ProgressBar)), m_toTerminal(StandardErrorIsTerminal()) {
    m_bar.setView(this);
}

SendProgress::~SendProgress() { m_bar.setView(nullptr); }

void SendProgress::propertyChanged(int number) {
    if (number == prop::Visible) {
        const bool shown = m_bar.readBool(prop::Visible);
        if (shown && !m_running && !m_toTerminal)
            std::fprintf(stderr, "发送设置：%d 项\n", m_bar.readInt(prop::progress::Maximum));
        if (!shown && m_running && m_toTerminal)
            std::fputs("\n", stderr);
        if (!shown && m_running && !m_toTerminal)
            std::fprintf(stderr, "发送完毕：%d 项\n", m_bar.readInt(prop::progress::Position));
        m_running = shown;
    } else if (number == prop::progress::Position && m_running && m_toTerminal) {
        std::fprintf(stderr, "\r发送设置 %3d/%d", m_bar.readInt(prop::progress::Position),
                     m_bar.readInt(prop::progress::Maximum));
        std::fflush(stderr);
    }
}

} // namespace ep
