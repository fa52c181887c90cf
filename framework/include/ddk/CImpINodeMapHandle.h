#pragma once

#include <ORV/INodeMapHandle.h>
#include <ddk/CGeneric.h>

/// The host's ORV::INodeMapHandle table of a generic image object: forwards each
/// operation to the generic object, which outlives its tables.
class CImpINodeMapHandle : public ORV::INodeMapHandle {
public:
    explicit CImpINodeMapHandle(CGeneric* generic) : generic_(generic) {}

    int32_t GetNodeMap(ORHandle* nodeMap) override { return generic_->GetNodeMap(nodeMap); }

private:
    CGeneric* generic_;
};
