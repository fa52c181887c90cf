// The generic object's device control, software trigger and node-map operations.

#include <ddk/CGeneric.h>

#include "CGenericBinding.h"

#include <cstring>

namespace {

constexpr uint32_t kTopBit = 0x80000000u;

int32_t WithTopBit(int32_t result) {
    return result == 0 ? 0 : static_cast<int32_t>(static_cast<uint32_t>(result) | kTopBit);
}

/// Answers `text` with the size protocol of the node-map name queries.
int32_t AnswerText(const std::string& text, char* destination, uint32_t* length) {
    if (length == nullptr)
        return ORV::E_INVALIDARG;
    const uint32_t needed = static_cast<uint32_t>(text.size()) + 1;
    if (destination == nullptr) {
        *length = needed;
        return ORV::OK;
    }
    if (*length < needed)
        return ORV::E_FAIL;
    std::memcpy(destination, text.c_str(), needed);
    return ORV::OK;
}

} // namespace

int32_t CGeneric::TextCommand(uint32_t command, const char* input, uint64_t inputLength,
                              char* output, uint64_t* outputSize) {
    return Forward(&CSPIDeviceCtrl::TextCommand, command, input, inputLength, output, outputSize);
}

int32_t CGeneric::RawCommand(uint32_t command, const void* input, uint64_t inputSize, void* output,
                             uint64_t* outputSize) {
    return Forward(&CSPIDeviceCtrl::RawCommand, command, input, inputSize, output, outputSize);
}

int32_t CGeneric::Trigger(uint32_t argument) {
    return Forward(&CSPISoftwareTrigger::SendTrigger, argument);
}

int32_t CGeneric::GetNodeMap(ORHandle* nodeMap) {
    return Guarded(log_, [&]() -> int32_t {
        Binding binding = Bind();
        CSPINodeMapHandle* handle = binding.provider<CSPINodeMapHandle>();
        if (handle == nullptr)
            return ORV::OK;
        return WithTopBit(handle->GetNodeMap(binding.bufferList(), nodeMap));
    });
}

int32_t CGeneric::GetNodeMapCount(int32_t* count) {
    return Guarded(log_, [&]() -> int32_t {
        Binding binding = Bind();
        CSPINodeMapHandle2* handle = binding.provider<CSPINodeMapHandle2>();
        if (handle == nullptr)
            return ORV::E_NOTSUPPORTED;
        CLockGuard guard(nodeMapLock_);
        const int32_t result = handle->ListNodeMaps(binding.bufferList(), nodeMaps_);
        if (count != nullptr)
            *count = static_cast<int32_t>(nodeMaps_.size());
        return result;
    });
}

int32_t CGeneric::GetNodeMapName(int32_t index, char* destination, uint32_t* length) {
    return Guarded(log_, [&]() -> int32_t {
        CLockGuard guard(nodeMapLock_);
        if (index < 0 || static_cast<size_t>(index) >= nodeMaps_.size())
            return ORV::E_INVALIDARG;
        return AnswerText(nodeMaps_[static_cast<size_t>(index)].name, destination, length);
    });
}

int32_t CGeneric::GetNodeMapByName(const char* name, ORHandle* nodeMap) {
    return Guarded(log_, [&]() -> int32_t {
        Binding binding = Bind();
        CSPINodeMapHandle2* handle = binding.provider<CSPINodeMapHandle2>();
        if (handle == nullptr)
            return ORV::E_NOTSUPPORTED;
        return WithTopBit(handle->GetNodeMapByName(binding.bufferList(), name, nodeMap));
    });
}

int32_t CGeneric::GetNodeMapDescription(const char* name, char* destination, uint32_t* length) {
    return Guarded(log_, [&]() -> int32_t {
        if (name == nullptr)
            return ORV::E_INVALIDARG;
        CLockGuard guard(nodeMapLock_);
        for (const NodeMapEntry& entry : nodeMaps_) {
            if (entry.name == name)
                return AnswerText(entry.description, destination, length);
        }
        return ORV::E_INVALIDARG;
    });
}
