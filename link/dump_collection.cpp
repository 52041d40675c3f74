#include "link/dump_collection.h"

#include "link/connection.h"
#include "link/device_frames.h"
#include "link/device_link.h"
#include "link/link_globals.h"
#include "runtime/host.h"

namespace ep {
namespace {

/// The open collection, attached to the EffectSet's box: the set it replaced and its deadline, which
/// goes with the window. Going offline gives the collection up, so that the next connect attempt starts
/// afresh with a hello and a new dump.
class OpenCollection : public ControlExtension {
  public:
    explicit OpenCollection(Text setBefore)
        : m_setBefore(std::move(setBefore)), m_deadline(CurrentHost().startTimer(kDumpDeadlineMs, GoOffline)) {}
    ~OpenCollection() override { CurrentHost().stopTimer(m_deadline); }
    OpenCollection(const OpenCollection&) = delete;
    OpenCollection& operator=(const OpenCollection&) = delete;

    const Text& setBefore() const { return m_setBefore; }

  private:
    Text m_setBefore;
    Host::TimerId m_deadline;
};

OpenCollection* Collection() { return dynamic_cast<OpenCollection*>(EffectSetBox().extension()); }

void Close() { EffectSetBox().setExtension(nullptr); }

} // namespace

void StartDumpCollection() {
    // A second request while one is open keeps the set from before the first.
    const Text setBefore = Collection() != nullptr ? Collection()->setBefore() : EffectSetText();
    Close();
    DumpActive = 1;
    DumpCount = 0;
    SetEffectSetText("");
    EffectSetBox().setExtension(std::make_unique<OpenCollection>(setBefore));
    SendDumpRequest();
}

void FinishDumpCollection() {
    Close();
    DumpActive = 0;
    DumpCount = 0;
}

void AbandonDumpCollection() {
    if (DumpActive == 1)
        if (const OpenCollection* collection = Collection())
            SetEffectSetText(collection->setBefore());
    Close();
    DumpActive = 0;
    DumpCount = 0;
}

} // namespace ep
