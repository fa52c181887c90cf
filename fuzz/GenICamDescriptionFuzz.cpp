// A GenICam description as a grabber, a camera or a user's file hands it over:
// the repairs for old runtimes, then the node-map load of the host library.
#include "nodemap/XmlRepair.h"

#include <ORCImg/ORCImg.h>
#include <ORGenApi/ORGenApi.h>

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CXmlRepair::Result repaired =
        CXmlRepair::Apply(std::string(reinterpret_cast<const char*>(data), size));
    ORHandle nodeMap = nullptr;
    if (ORGenApi_CreateNodeMap(&nodeMap) != 0)
        return 0;
    if (ORGenApi_LoadDescription(nodeMap, repaired.text.c_str()) == 0) {
        ORGenApi_HasNode(nodeMap, "Root");
        int64_t value = 0;
        ORGenApi_GetIntegerFeature(nodeMap, "Width", &value);
    }
    ORCImg_ReleaseObject(&nodeMap);
    return 0;
}
