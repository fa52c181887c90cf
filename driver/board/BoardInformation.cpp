#include "board/BoardInformation.h"

#include <fglib5.h>

namespace {

struct BoardTypeRow {
    int32_t type;
    const char* name;
    int32_t technology;
    bool supported;
};

// The board types the SDK reports; anything else is "NEW (maybe)".
const BoardTypeRow boardTypes[] = {
    {0, "NONE", TechnologyNone, false},
    {161, "me_", TechnologyNone, false},
    {162, "me_II", TechnologyNone, false},
    {163, "me_3I", TechnologyNone, false},
    {2609, "me_3IXXL", TechnologyNone, false},
    {2624, "me_4BASE aka me_4AD1CL", TechnologyCameraLink, true},
    {2625, "me_4FULLx1 aka me_4VD1CL", TechnologyCameraLink, true},
    {2626, "me_4AD4CL", TechnologyCameraLink, true},
    {2627, "me_4BASEx4", TechnologyCameraLink, true},
    {2628, "me_4FULLx4 aka me_4VD4CL", TechnologyCameraLink, true},
    {2629, "me_4AS1CL", TechnologyCameraLink, true},
    {2881, "me_4_H264CLx1", TechnologyCameraLink, false},
    {2882, "me_4_H264CLx1 Fujitsu", TechnologyCameraLink, false},
    {3650, "me_4AQ4GE", TechnologyGigE, true},
    {3652, "me_4GIGEx4 aka me_4VQ4GE", TechnologyGigE, true},
    {1873, "me_5VCL", TechnologyCameraLink, true},
    {1881, "me_5VCL", TechnologyCameraLink, true},
    {29968, "me_5VCL", TechnologyCameraLink, true},
    {29969, "me_5VCL", TechnologyCameraLink, true},
    {30097, "me_5VCL", TechnologyCameraLink, true},
    {1876, "me_5ACL", TechnologyCameraLink, true},
    {30016, "me_5ACL", TechnologyCameraLink, true},
    {30017, "me_5ACL", TechnologyCameraLink, true},
    {1875, "me_5ACX_QP", TechnologyCoaXPress, true},
    {1877, "me_5ACX_SP", TechnologyCoaXPress, true},
    {1878, "me_5ACX_DP", TechnologyCoaXPress, true},
    {1879, "me_5VCX_QP", TechnologyCoaXPress, true},
    {2643, "me_5AQ8CXP4", TechnologyCoaXPress, true},
    {2644, "me_5VQ8CXP4", TechnologyCoaXPress, true},
    {2646, "me_5VQCXP6D", TechnologyCoaXPress, true},
    {2647, "me_5AQCXP6D", TechnologyCoaXPress, true},
    {2648, "me_5VD8CL", TechnologyCameraLink, true},
    {2650, "me_5AD8CL", TechnologyCameraLink, true},
    {3137, "PX100", TechnologyPx, false},
    {3138, "PX200", TechnologyPx, false},
    {3139, "PX210-CL", TechnologyPx, false},
    {3140, "PX300-CxP", TechnologyPx, false},
    {65535, "UNKNOWN", TechnologyNone, false},
};

} // namespace

BoardInformation BoardInformation::Classify(int32_t boardIndex, int32_t boardType) {
    BoardInformation info;
    info.boardIndex = boardIndex;
    info.boardType = boardType;
    if (boardType == FG_NO_BOARD) {
        info.name = "Error";
        info.valid = false;
        return info;
    }
    info.name = "NEW (maybe)";
    for (const BoardTypeRow& row : boardTypes) {
        if (row.type == boardType) {
            info.name = row.name;
            info.technology = row.technology;
            info.supported = row.supported;
            break;
        }
    }
    return info;
}

BoardInformation BoardInformation::Lookup(int32_t boardIndex) {
    return Classify(boardIndex, Fg_BoardType(boardIndex));
}
