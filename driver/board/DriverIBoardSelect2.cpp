#include "board/DriverIBoardSelect2.h"

#include "board/DriverBoard.h"
#include "board/DriverChannel.h"
#include "board/DriverProducer.h"

#include <ORV/ResultCodes.h>

CDriverIBoardSelect2::CDriverIBoardSelect2(CDriverChannel& channel) : channel_(&channel) {}

bool CDriverIBoardSelect2::Supported(CDDKBufferList*) {
    return true;
}

int32_t CDriverIBoardSelect2::BoardCount(CDDKBufferList*, int32_t* count) {
    if (count == nullptr)
        return ORV::E_INVALIDARG;
    *count = channel_->DriverBoard().Producer().GetBoardCount();
    return ORV::OK;
}
