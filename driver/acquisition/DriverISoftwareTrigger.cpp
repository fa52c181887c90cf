#include "acquisition/DriverISoftwareTrigger.h"

#include "acquisition/DriverBufferList.h"
#include "board/DriverBoard.h"
#include "board/DriverChannel.h"

#include <ORV/ResultCodes.h>

CDriverISoftwareTrigger::CDriverISoftwareTrigger(CDriverChannel& channel) : channel_(&channel) {}

bool CDriverISoftwareTrigger::Supported(CDDKBufferList*) {
    return true;
}

int32_t CDriverISoftwareTrigger::SendTrigger(CDDKBufferList* bufferList, uint32_t) {
    const CDriverBufferList* list = CDriverBufferList::Of(bufferList);
    CDriverChannel& channel = list != nullptr ? list->Channel() : *channel_;
    return Fg_SoftwareTrigger(channel.DriverBoard().Grabber(), channel.DmaIndex()) != 0
               ? ORV::OK
               : ORV::E_FAIL;
}
