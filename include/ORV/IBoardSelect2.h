#pragma once

#include <ORV/IDisposableType.h>
#include <ORV/ORVTypes.h>

namespace ORV {

class IBoardSelect2 : public virtual IDisposableType {
public:
    virtual int32_t GetBoardCount(int32_t* count) = 0;
    virtual int32_t GetCurrentBoard(int32_t* index) = 0;
    virtual int32_t SetBoard(int32_t index, ORHandle* newImage) = 0;
};

} // namespace ORV
