#pragma once
/// The processor's memory: the 255 live values and the copy kept by a store command. It does not parse
/// bytes and is not thread-safe; its owner serialises access.

#include "sim/design_values.h"
#include "sim/field_map.h"

#include <cstdint>

namespace ep::sim {

class ProcessorModel {
  public:
    /// Starts with the factory values, live and stored.
    ProcessorModel();

    /// Value of field 1..255.
    std::uint8_t value(int field) const;
    /// Sets field 1..255; false (and no change) for any other field.
    bool setValue(int field, std::uint8_t value);
    /// Sets the parameter the wire names; false when the processor has no such parameter.
    bool setParameter(ParameterKey key, std::uint8_t value);

    const ValueSet& values() const { return m_values; }
    const ValueSet& storedValues() const { return m_stored; }

    /// Keeps a copy of the live values, as the store command does.
    void store();
    /// Returns the live values to the factory values; the stored copy stays.
    void restoreDefaults();

  private:
    ValueSet m_values;
    ValueSet m_stored;
};

} // namespace ep::sim
