#pragma once

#include <ORV/ORVTypes.h>
#include <ddk/CSPIBase.h>
#include <ddk/DrvTypes.h>

#include <cstdint>
#include <vector>

class CSPINodeMapHandle2 : public CSPIBase<CSPINodeMapHandle2> {
public:
    virtual bool Supported(CDDKBufferList* bufferList) = 0;
    /// Fills `list` with the node maps offered (it is emptied first).
    virtual int32_t ListNodeMaps(CDDKBufferList* bufferList, std::vector<NodeMapEntry>& list) = 0;
    virtual int32_t GetNodeMapByName(CDDKBufferList* bufferList, const char* name,
                                     ORHandle* nodeMap) = 0;
};
