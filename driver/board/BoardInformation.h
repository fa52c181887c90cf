#pragma once

#include <cstdint>
#include <string>

/// Technology codes of a board.
enum BoardTechnology : int32_t {
    TechnologyNone = 0,
    TechnologyCameraLink = 1,
    TechnologyGigE = 2,
    TechnologyCoaXPress = 3,
    TechnologyPx = 5
};

/// What the driver knows about the board at one vendor board index: its type name
/// and technology from the board type table, and whether the driver can run it.
/// Plain value; copies are independent.
struct BoardInformation {
    std::string name;
    int32_t technology = TechnologyNone;
    bool supported = false;
    int32_t boardIndex = 0;
    int32_t boardType = 0;
    /// False only when the SDK reported -1 (no board at this index).
    bool valid = true;

    /// Classifies a type code reported for `boardIndex`.
    static BoardInformation Classify(int32_t boardIndex, int32_t boardType);
    /// Asks the SDK for the type at `boardIndex` and classifies it.
    static BoardInformation Lookup(int32_t boardIndex);
};
