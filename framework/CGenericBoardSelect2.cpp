// The generic object's board and camera selection.

#include <ddk/CGeneric.h>

#include "CGenericBinding.h"
#include "Guarded.h"

#include <ddk/CDDKBoard.h>
#include <ddk/CDDKProducer.h>
#include <ddk/CDrvBoard.h>
#include <ddk/CDrvProducer.h>
#include <ddk/DDKException.h>

int32_t CGeneric::GetBoardCount(int32_t* count) {
    return Guarded(log_, [&]() -> int32_t {
        Binding binding = Bind();
        CSPIBoardSelect2* select = binding.provider<CSPIBoardSelect2>();
        return select != nullptr ? select->BoardCount(binding.bufferList(), count)
                                 : ORV::E_NOTSUPPORTED;
    });
}

int32_t CGeneric::GetCurrentBoard(int32_t* index) {
    return Guarded(log_, [&]() -> int32_t {
        if (index == nullptr)
            return ORV::E_INVALIDARG;
        std::shared_ptr<CDDKBoard> board;
        {
            std::lock_guard<std::mutex> guard(bindingLock_);
            board = board_;
        }
        *index = board && board->DriverBoard() ? board->DriverBoard()->GetBoardIndex() : -1;
        return ORV::OK;
    });
}

int32_t CGeneric::SwitchTo(const std::shared_ptr<CDDKBoard>& board,
                           const std::shared_ptr<DDKChannel>& channel, ORHandle* newImage) {
    ORHandle image = ReplaceImage(channel);
    {
        std::lock_guard<std::mutex> guard(bindingLock_);
        board_ = board;
    }
    CollectEventInformation();
    if (newImage != nullptr)
        *newImage = image;
    else
        ORBase_Release(image);
    return ORV::OK;
}

int32_t CGeneric::SetBoard(int32_t index, ORHandle* newImage) {
    return Guarded(log_, [&]() -> int32_t {
        std::shared_ptr<CDDKProducer> producer;
        std::shared_ptr<CDDKBoard> currentBoard;
        std::shared_ptr<DDKChannel> currentChannel;
        {
            std::lock_guard<std::mutex> guard(bindingLock_);
            producer = producer_;
            currentBoard = board_;
            currentChannel = channel_;
        }
        const std::wstring name = L"~idx:" + std::to_wstring(index);
        if (currentBoard && currentBoard->GetBoardName() == name)
            return ShareCurrentImage(newImage);
        // The range is the producer's: its enumeration knows how many boards there
        // are, while the system only counts producers.
        const int32_t boards = producer && producer->DriverProducer()
                                   ? producer->DriverProducer()->GetBoardCount()
                                   : 0;
        if (index < 0 || index >= boards)
            return ORV::E_INVALIDARG;
        if (!grabLock_.try_lock())
            return ORV::E_BUSY;
        struct Unlock {
            CTryLock& lock;
            ~Unlock() { lock.unlock(); }
        } unlock{grabLock_};

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
        if (channel == currentChannel)
            return ShareCurrentImage(newImage);
        return SwitchTo(board, channel, newImage);
    });
}

int32_t CGeneric::GetCameraCount(int32_t* count) {
    return Guarded(log_, [&]() -> int32_t {
        Binding binding = Bind();
        CSPICameraSelect2* select = binding.provider<CSPICameraSelect2>();
        return select != nullptr ? select->PortCount(binding.bufferList(), count)
                                 : ORV::E_NOTSUPPORTED;
    });
}

int32_t CGeneric::GetCurrentCamera(int32_t* index) {
    return Guarded(log_, [&]() -> int32_t {
        Binding binding = Bind();
        CSPICameraSelect2* select = binding.provider<CSPICameraSelect2>();
        return select != nullptr ? select->CurrentPort(binding.bufferList(), index)
                                 : ORV::E_NOTSUPPORTED;
    });
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
        if (!grabLock_.try_lock())
            return ORV::E_BUSY;
        struct Unlock {
            CTryLock& lock;
            ~Unlock() { lock.unlock(); }
        } unlock{grabLock_};
        std::shared_ptr<CDDKBoard> board;
        {
            std::lock_guard<std::mutex> guard(bindingLock_);
            board = board_;
        }
        std::shared_ptr<DDKChannel> channel =
            board ? board->OpenChannel(L"~idx:" + std::to_wstring(index), OptionMap()) : nullptr;
        if (!channel)
            return ORV::E_FAIL;
        ORHandle image = ReplaceImage(channel);
        if (newImage != nullptr)
            *newImage = image;
        else
            ORBase_Release(image);
        return ORV::OK;
    });
}
