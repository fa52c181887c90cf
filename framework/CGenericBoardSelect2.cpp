// The generic object's board and camera selection.

#include <ddk/CGeneric.h>

#include "CGenericBinding.h"

#include <ddk/CDDKBoard.h>
#include <ddk/CDDKProducer.h>
#include <ddk/CDrvBoard.h>
#include <ddk/CDrvProducer.h>
#include <ddk/DDKException.h>

int32_t CGeneric::GetBoardCount(int32_t* count) {
    return Forward(&CSPIBoardSelect2::BoardCount, count);
}

int32_t CGeneric::GetCurrentBoard(int32_t* index) {
    return Guarded(log_, [&]() -> int32_t {
        if (index == nullptr)
            return ORV::E_INVALIDARG;
        std::shared_ptr<CDDKBoard> board = CurrentWiring().board;
        *index = board && board->DriverBoard() ? board->DriverBoard()->GetBoardIndex() : -1;
        return ORV::OK;
    });
}

int32_t CGeneric::SwitchTo(const std::shared_ptr<CDDKBoard>& board,
                           const std::shared_ptr<DDKChannel>& channel, ORHandle* newImage) {
    ORHandle image = ReplaceImage(channel);
    {
        CLockGuard guard(bindingLock_);
        board_ = board;
    }
    CollectEventInformation();
    HandOut(image, newImage);
    return ORV::OK;
}

int32_t CGeneric::SetBoard(int32_t index, ORHandle* newImage) {
    return Guarded(log_, [&]() -> int32_t {
        const Wiring current = CurrentWiring();
        const std::shared_ptr<CDDKProducer>& producer = current.producer;
        const std::wstring name = L"~idx:" + std::to_wstring(index);
        if (current.board && current.board->GetBoardName() == name)
            return ShareCurrentImage(newImage);
        // The range is the producer's: its enumeration knows how many boards there
        // are, while the system only counts producers.
        const int32_t boards = producer && producer->DriverProducer()
                                   ? producer->DriverProducer()->GetBoardCount()
                                   : 0;
        if (index < 0 || index >= boards)
            return ORV::E_INVALIDARG;
        std::unique_lock<CTryLock> grab(grabLock_, std::try_to_lock);
        if (!grab.owns_lock())
            return ORV::E_BUSY;

        std::shared_ptr<CDDKBoard> board;
        std::shared_ptr<DDKChannel> channel;
        try {
            board = producer->OpenBoard(name, OptionMap());
            if (board)
                channel = board->OpenChannel(L"~idx:0", OptionMap());
            DDK_ASSERT("CGenericBoardSelect2", channel);
        } catch (const DDKAssertException&) {
            return ORV::E_FAIL;
        } catch (const DDKException& e) {
            return e.Code();
        }
        if (channel == current.channel)
            return ShareCurrentImage(newImage);
        return SwitchTo(board, channel, newImage);
    });
}

int32_t CGeneric::GetCameraCount(int32_t* count) {
    return Forward(&CSPICameraSelect2::PortCount, count);
}

int32_t CGeneric::GetCurrentCamera(int32_t* index) {
    return Forward(&CSPICameraSelect2::CurrentPort, index);
}

int32_t CGeneric::SetCamera(int32_t index, ORHandle* newImage) {
    return Guarded(log_, [&]() -> int32_t {
        Binding binding = Bind();
        CSPICameraSelect2* select = binding.provider<CSPICameraSelect2>();
        if (select == nullptr)
            return ORV::E_NOTSUPPORTED;
        int32_t current = -1;
        int32_t result = select->CurrentPort(binding.bufferList(), &current);
        if (result != 0)
            return result;
        if (index == current)
            return ShareCurrentImage(newImage);
        int32_t count = 0;
        result = select->PortCount(binding.bufferList(), &count);
        if (result != 0)
            return result;
        if (index < 0 || index >= count)
            return ORV::E_INVALIDARG;
        std::unique_lock<CTryLock> grab(grabLock_, std::try_to_lock);
        if (!grab.owns_lock())
            return ORV::E_BUSY;
        std::shared_ptr<CDDKBoard> board = CurrentWiring().board;
        std::shared_ptr<DDKChannel> channel =
            board ? board->OpenChannel(L"~idx:" + std::to_wstring(index), OptionMap()) : nullptr;
        if (!channel)
            return ORV::E_FAIL;
        ORHandle image = ReplaceImage(channel);
        HandOut(image, newImage);
        return ORV::OK;
    });
}
