#include "InterfaceContainer.h"

#include <ORV/ResultCodes.h>

#include <new>
#include <typeinfo>
#include <utility>

namespace orbase {

InterfaceContainer::~InterfaceContainer() {
    DisposeAll(tables_);
}

int32_t InterfaceContainer::Add(ORV::IDisposableType* table) {
    // One table per interface class: the host finds a table by its class, so a
    // second one of the same class could never be reached.
    const std::type_info& added = typeid(*table);
    for (ORV::IDisposableType* present : tables_) {
        if (typeid(*present) == added)
            return ORV::E_INVALIDARG;
    }
    try {
        tables_.push_back(table);
    } catch (const std::bad_alloc&) {
        return ORV::E_OUTOFMEMORY;
    }
    return ORV::OK;
}

uint32_t InterfaceContainer::Count() const {
    return static_cast<uint32_t>(tables_.size());
}

ORV::IDisposableType* InterfaceContainer::At(uint32_t index) const {
    return index < tables_.size() ? tables_[index] : nullptr;
}

std::vector<ORV::IDisposableType*> InterfaceContainer::TakeAll() {
    return std::exchange(tables_, std::vector<ORV::IDisposableType*>());
}

void InterfaceContainer::DisposeAll(std::vector<ORV::IDisposableType*>& tables) {
    while (!tables.empty()) {
        ORV::IDisposableType* table = tables.back();
        tables.pop_back();
        try {
            table->Dispose();
        } catch (...) {
            // A table's clean-up must not stop the others from being disposed.
        }
    }
}

} // namespace orbase
