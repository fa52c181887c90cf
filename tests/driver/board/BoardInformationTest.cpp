// The board type table.
#include "board/BoardInformation.h"

#include <gtest/gtest.h>

TEST(BoardInformation, Classify_EveryListedCode) {
    struct Row {
        int32_t type;
        const char* name;
        int32_t technology;
        bool supported;
    };
    const Row rows[] = {{0, "NONE", 0, false},
                        {161, "me_", 0, false},
                        {162, "me_II", 0, false},
                        {163, "me_3I", 0, false},
                        {2609, "me_3IXXL", 0, false},
                        {2624, "me_4BASE aka me_4AD1CL", 1, true},
                        {2625, "me_4FULLx1 aka me_4VD1CL", 1, true},
                        {2626, "me_4AD4CL", 1, true},
                        {2627, "me_4BASEx4", 1, true},
                        {2628, "me_4FULLx4 aka me_4VD4CL", 1, true},
                        {2629, "me_4AS1CL", 1, true},
                        {2881, "me_4_H264CLx1", 1, false},
                        {2882, "me_4_H264CLx1 Fujitsu", 1, false},
                        {3650, "me_4AQ4GE", 2, true},
                        {3652, "me_4GIGEx4 aka me_4VQ4GE", 2, true},
                        {1873, "me_5VCL", 1, true},
                        {1881, "me_5VCL", 1, true},
                        {29968, "me_5VCL", 1, true},
                        {29969, "me_5VCL", 1, true},
                        {30097, "me_5VCL", 1, true},
                        {1876, "me_5ACL", 1, true},
                        {30016, "me_5ACL", 1, true},
                        {30017, "me_5ACL", 1, true},
                        {1875, "me_5ACX_QP", 3, true},
                        {1877, "me_5ACX_SP", 3, true},
                        {1878, "me_5ACX_DP", 3, true},
                        {1879, "me_5VCX_QP", 3, true},
                        {2643, "me_5AQ8CXP4", 3, true},
                        {2644, "me_5VQ8CXP4", 3, true},
                        {2646, "me_5VQCXP6D", 3, true},
                        {2647, "me_5AQCXP6D", 3, true},
                        {2648, "me_5VD8CL", 1, true},
                        {2650, "me_5AD8CL", 1, true},
                        {3137, "PX100", 5, false},
                        {3138, "PX200", 5, false},
                        {3139, "PX210-CL", 5, false},
                        {3140, "PX300-CxP", 5, false},
                        {65535, "UNKNOWN", 0, false},
                        {1874, "NEW (maybe)", 0, false},
                        {1880, "NEW (maybe)", 0, false},
                        {12345, "NEW (maybe)", 0, false}};
    for (const Row& row : rows) {
        const BoardInformation info = BoardInformation::Classify(3, row.type);
        EXPECT_EQ(info.name, row.name) << row.type;
        EXPECT_EQ(info.technology, row.technology) << row.type;
        EXPECT_EQ(info.supported, row.supported) << row.type;
        EXPECT_TRUE(info.valid) << row.type;
        EXPECT_EQ(info.boardIndex, 3);
        EXPECT_EQ(info.boardType, row.type);
    }
}

TEST(BoardInformation, MinusOne_IsTheOnlyInvalidRecord) {
    const BoardInformation info = BoardInformation::Classify(2, -1);
    EXPECT_EQ(info.name, "Error");
    EXPECT_FALSE(info.valid);
    EXPECT_FALSE(info.supported);
    EXPECT_EQ(info.technology, 0);
}
