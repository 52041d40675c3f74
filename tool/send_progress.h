#pragma once
/// The send-all's progress on standard error, from the panel's own progress bar: on a terminal a line
/// that counts up in place, into a pipe or file one line when it starts and one when it ends, so that
/// nothing garbles a log.

#include "ui/control.h"

namespace ep {

class SendProgress : public ControlView {
  public:
    /// Watches the progress bar while it lives.
    SendProgress();
    ~SendProgress() override;
    SendProgress(const SendProgress&) = delete;
    SendProgress& operator=(const SendProgress&) = delete;

    void propertyChanged(int number) override;

    /// Whether a sending began while this watched.
    bool sawSending() const { return m_sawSending; }

  private:
    Control& m_bar;
    bool m_toTerminal;
    bool m_running = false;
    bool m_sawSending = false;
};

} // namespace ep
