#include "tool/send_progress.h"

#include "model/controls.h"
#include "runtime/host.h"
#include "ui/window.h"

#include <cstdio>

namespace ep {

SendProgress::SendProgress()
    : m_bar(ControlNamed(controls::ProgressBar)), m_toTerminal(CurrentHost().isTerminal(OutputStream::Error)) {
    m_bar.setView(this);
}

SendProgress::~SendProgress() { m_bar.setView(nullptr); }

void SendProgress::propertyChanged(int number) {
    if (number == prop::Visible) {
        const bool shown = m_bar.readBool(prop::Visible);
        if (shown && !m_running && !m_toTerminal)
            std::fprintf(stderr, "effectpanel-cli: sending %d setting(s)\n", m_bar.readInt(prop::progress::Maximum));
        if (!shown && m_running && m_toTerminal)
            std::fputs("\n", stderr);
        if (!shown && m_running && !m_toTerminal)
            std::fprintf(stderr, "effectpanel-cli: sent %d of %d setting(s)\n", m_bar.readInt(prop::progress::Position),
                         m_bar.readInt(prop::progress::Maximum));
        m_running = shown;
        m_sawSending = m_sawSending || shown;
    } else if (number == prop::progress::Position && m_running && m_toTerminal) {
        std::fprintf(stderr, "\rsending settings %3d/%d", m_bar.readInt(prop::progress::Position),
                     m_bar.readInt(prop::progress::Maximum));
        std::fflush(stderr);
    }
}

} // namespace ep
