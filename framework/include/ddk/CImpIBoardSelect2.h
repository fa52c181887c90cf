#pragma once

#include <ORV/IBoardSelect2.h>
#include <ddk/CGeneric.h>

/// The host's ORV::IBoardSelect2 table of a generic image object: forwards each
/// operation to the generic object, which outlives its tables.
class CImpIBoardSelect2 : public ORV::IBoardSelect2 {
public:
    explicit CImpIBoardSelect2(CGeneric* generic) : generic_(generic) {}

    int32_t GetBoardCount(int32_t* count) override { return generic_->GetBoardCount(count); }
    int32_t GetCurrentBoard(int32_t* index) override { return generic_->GetCurrentBoard(index); }
    int32_t SetBoard(int32_t index, ORHandle* newImage) override {
        return generic_->SetBoard(index, newImage);
    }

private:
    CGeneric* generic_;
};
