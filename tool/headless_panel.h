#pragma once
/// The panel of one run of the command-line tool: the very window, handlers and timers of the program,
/// driven from outside its events. It waits through the host, so it runs on the Qt host and on the test
/// host alike, and it shows nothing.

#include "runtime/value.h"
#include "ui/window.h"

#include <memory>
#include <optional>

namespace ep {

/// What the six limit boxes do when a set is shown while online: as in the window, where they hold a
/// value to the window's range and send it; or nothing, so that a command that only reads sends nothing
/// and records the set as the device holds it, and a forced load puts the file into the device as it is.
enum class LimitBoxes { AsTheWindow, Still };

class HeadlessPanel {
  public:
    /// The globals and the window as the program starts them, with its created event.
    explicit HeadlessPanel(LimitBoxes limitBoxes = LimitBoxes::AsTheWindow);
    ~HeadlessPanel();
    HeadlessPanel(const HeadlessPanel&) = delete;
    HeadlessPanel& operator=(const HeadlessPanel&) = delete;

    /// Makes the first connect attempt at once, rather than at the connect timer's first tick, and waits
    /// until the device's whole set is shown, or no port can open; empty when the set is shown, else why
    /// it is not (no_answer.h), with ports named as the user named them.
    std::optional<Text> comeOnline(int timeoutMs, const Text& ports);

    /// Stops the ping timer and the watchdog for the rest of the run and lets an echo still on its way
    /// arrive: an echo inside a read-back would become one of its values.
    void holdTheLinkStill();

    /// Reads all 255 settings back as the read button does; empty when the device did not send them whole
    /// in time.
    std::optional<Text> readBack(int timeoutMs);

    /// Runs the panel's events for the time.
    void runFor(int milliseconds);

  private:
    std::unique_ptr<Window> m_window;
};

} // namespace ep
