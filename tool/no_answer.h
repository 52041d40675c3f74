#pragma once
/// What the tool tells when the processor's set did not come: which device was tried and why each did not
/// answer (it does not exist, refused the connection, its name is not known, another program holds it, it
/// opened but nobody answered the hello, the processor answered but went away or did not send its set).

#include "link/serial_link.h"

namespace ep {

/// Every mapped COM port has failed to open at its last try, none is still connecting: waiting longer
/// would not change the answer before the next attempt.
bool NoPortCanOpen(const SerialLink& link);

/// One line for the user; answered: the processor answered the hello at some point; ports: where it was
/// looked for, as the user named it.
Text WhyNoSet(const SerialLink& link, bool answered, const Text& ports);

} // namespace ep
