#include "link/dump_collection.h"

#include "link/connection.h"
#include "link/device_frames.h"
#include "link/device_link.h"
#include "link/link_globals.h"
#include "model/blocks.h"
#include "model/controls.h"
#include "model/fields.h"
#include "runtime/host.h"

#include <charconv>
#include <optional>
#include <vector>

namespace ep {
namespace {

/// A field written by a setting sent while the collection was open.
struct FieldWrite {
    int position = 0;
    int value = 0;
};

/// An open collection: the set it replaced, the set of a first collection that this one is to confirm,
/// whether its request went out on a busy line, the settings sent meanwhile, and its deadline.
class Collection {
  public:
    Collection(Text setBefore, std::optional<Text> toConfirm, bool busyLine, std::vector<FieldWrite> writes)
        : setBefore(std::move(setBefore)), toConfirm(std::move(toConfirm)), busyLine(busyLine),
          writes(std::move(writes)), m_deadline(CurrentHost().startTimer(kDumpDeadlineMs, GoOffline)) {}
    ~Collection() { CurrentHost().stopTimer(m_deadline); }
    Collection(const Collection&) = delete;
    Collection& operator=(const Collection&) = delete;

    const Text setBefore;
    const std::optional<Text> toConfirm;
    const bool busyLine;
    std::vector<FieldWrite> writes;

  private:
    Host::TimerId m_deadline;
};

/// The read-backs of the window, attached to the EffectSet's box and gone with it: the open collection,
/// when the last request went out whose dump was not taken whole, and whether a hello awaits its answer. Going offline
/// gives the collection up, so that the next connect attempt starts afresh with a hello and a new dump.
class ReadBacks : public ControlExtension {
  public:
    std::unique_ptr<Collection> open;
    std::optional<std::int64_t> unfinishedRequestMs;
    bool helloAwaitsAnswer = false;
};

ReadBacks& Requests() {
    Control& box = EffectSetBox();
    if (auto* requests = dynamic_cast<ReadBacks*>(box.extension()))
        return *requests;
    box.setExtension(std::make_unique<ReadBacks>());
    return *static_cast<ReadBacks*>(box.extension());
}

void Open(std::optional<Text> toConfirm) {
    ReadBacks& requests = Requests();
    // A second request while one is open keeps the set from before the first, and what was sent meanwhile.
    const Text setBefore = requests.open ? requests.open->setBefore : EffectSetText();
    std::vector<FieldWrite> writes = requests.open ? requests.open->writes : std::vector<FieldWrite>{};
    requests.open.reset();
    requests.helloAwaitsAnswer = false;
    DumpActive = 1;
    DumpCount = 0;
    SetEffectSetText("");
    ControlNamed(controls::Watchdog).write(prop::timer::Period, 0);
    const std::int64_t now = CurrentHost().nowMs();
    const bool earlierDumpOnTheLine =
        requests.unfinishedRequestMs && now - *requests.unfinishedRequestMs < kDumpOnTheLineMs;
    const bool dropped = PortLink().DiscardReceived() > 0;
    requests.open = std::make_unique<Collection>(setBefore, std::move(toConfirm), earlierDumpOnTheLine || dropped,
                                                 std::move(writes));
    requests.unfinishedRequestMs = now;
    SendDumpRequest();
}

/// Every collected value is one the window can show for its field.
bool WithinRanges(const Text& set) {
    for (int field = 1; field * FieldWidth <= static_cast<int>(set.size()); ++field) {
        const char* digits = set.data() + FieldPosition(field) - 1;
        int value = 0;
        std::from_chars(digits, digits + FieldWidth, value);
        if (!ValueInRange(field, value))
            return false;
    }
    return true;
}

/// Ends the collection with the set in the EffectSet, the settings sent meanwhile written into it.
void Close(Text set) {
    ReadBacks& requests = Requests();
    const std::vector<FieldWrite> writes = requests.open ? requests.open->writes : std::vector<FieldWrite>{};
    requests.open.reset();
    DumpActive = 0;
    DumpCount = 0;
    SetEffectSetText(set);
    for (const FieldWrite& write : writes)
        WriteField(write.position, write.value);
}

} // namespace

void ExpectHelloAnswer() { Requests().helloAwaitsAnswer = true; }

bool HelloAnswerExpected() { return Requests().helloAwaitsAnswer; }

void StartDumpCollection() { Open(std::nullopt); }

void KeepFieldWrittenDuringCollection(int position, int value) {
    if (Collection* collection = Requests().open.get())
        collection->writes.push_back({position, value});
}

DumpCompletion CompleteDumpCollection() {
    const Text set = EffectSetText();
    const Collection* collection = Requests().open.get();
    const std::optional<Text> toConfirm = collection != nullptr ? collection->toConfirm : std::nullopt;
    const bool beyondDoubt = collection != nullptr && !collection->busyLine && WithinRanges(set);
    if (beyondDoubt || set == toConfirm) {
        Requests().unfinishedRequestMs.reset();
        Close(set);
        return DumpCompletion::Taken;
    }
    if (!toConfirm) {
        Open(set);
        return DumpCompletion::AskedAgain;
    }
    GoOffline();
    return DumpCompletion::GivenUp;
}

void AbandonDumpCollection() {
    ReadBacks& requests = Requests();
    if (DumpActive == 1 && requests.open) {
        Close(requests.open->setBefore);
        return;
    }
    requests.open.reset();
    DumpActive = 0;
    DumpCount = 0;
}

} // namespace ep
