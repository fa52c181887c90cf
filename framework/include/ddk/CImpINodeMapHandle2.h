#pragma once

#include <ORV/INodeMapHandle2.h>
#include <ddk/CGeneric.h>

/// The host's ORV::INodeMapHandle2 table of a generic image object: forwards each
/// operation to the generic object, which outlives its tables.
class CImpINodeMapHandle2 : public ORV::INodeMapHandle2 {
public:
    explicit CImpINodeMapHandle2(CGeneric* generic) : generic_(generic) {}

    int32_t GetNodeMapCount(int32_t* count) override { return generic_->GetNodeMapCount(count); }
    int32_t GetNodeMapName(int32_t index, char* destination, uint32_t* length) override {
        return generic_->GetNodeMapName(index, destination, length);
    }
    int32_t GetNodeMap(const char* name, ORHandle* nodeMap) override {
        return generic_->GetNodeMapByName(name, nodeMap);
    }
    int32_t GetNodeMapDescription(const char* name, char* destination, uint32_t* length) override {
        return generic_->GetNodeMapDescription(name, destination, length);
    }

private:
    CGeneric* generic_;
};
