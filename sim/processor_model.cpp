#include "sim/processor_model.h"

#include <stdexcept>

namespace ep::sim {

ProcessorModel::ProcessorModel() : m_values(DesignValues()), m_stored(DesignValues()) {}

std::uint8_t ProcessorModel::value(int field) const {
    if (field < 1 || field > FieldCount)
        throw std::out_of_range("field outside 1..255");
    return m_values[static_cast<std::size_t>(field - 1)];
}

bool ProcessorModel::setValue(int field, std::uint8_t value) {
    if (field < 1 || field > FieldCount)
        return false;
    m_values[static_cast<std::size_t>(field - 1)] = value;
    return true;
}

bool ProcessorModel::setParameter(ParameterKey key, std::uint8_t value) {
    const std::optional<int> field = FieldOf(key);
    return field && setValue(*field, value);
}

void ProcessorModel::store() { m_stored = m_values; }

void ProcessorModel::restoreDefaults() { m_values = DesignValues(); }

} // namespace ep::sim
