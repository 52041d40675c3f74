#pragma once
/// Looking a host's name up without ever waiting for the name server: the system's resolver runs in a
/// thread of its own, which is left to end by itself when nobody waits for it any more, so that a name
/// server that never answers holds nothing but that thread (which does not keep the process from ending).

#include "runtime/value.h"

#include <QHostAddress>

#include <memory>
#include <optional>
#include <vector>

namespace ep::qt {

class HostLookup {
  public:
    /// Starts looking the name up; an address written as one is found at once.
    explicit HostLookup(const QString& host);

    struct Result {
        std::vector<QHostAddress> addresses; ///< empty when the name is not known
        Text failure;                        ///< why, when it is not
    };
    /// What the lookup found, once it has ended.
    std::optional<Result> result() const;

  private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace ep::qt
