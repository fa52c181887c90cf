#pragma once

#include <ddk/CSPIBoardSelect2.h>

#include <cstdint>

class CDriverChannel;

/// The boards of the system for the framework's board switch: the number of
/// supported boards the producer's enumeration found (it runs once).
///
/// Threads: no state of its own; any host thread.
class CDriverIBoardSelect2 : public CSPIBoardSelect2 {
public:
    explicit CDriverIBoardSelect2(CDriverChannel& channel);

    bool Supported(CDDKBufferList* bufferList) override;
    int32_t BoardCount(CDDKBufferList* bufferList, int32_t* count) override;

private:
    CDriverChannel* channel_;
};
