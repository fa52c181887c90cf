// The DMA engine through the public fglib5 calls: ring order, blocking and standard modes,
// waits, stops, frame counts and acquisition errors.
#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

using namespace simtest;

namespace {

constexpr std::size_t ImageBytes = 640 * 480;

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { UseMachine(); }

    // Opens board 0 with [dma0] holding `dmaKeys` (one "key = value" per line).
    std::unique_ptr<Board> Open(const std::string& dmaKeys) {
        const std::string path = dir_.Write("applet.ini", "[dma0]\n" + dmaKeys + "\n");
        auto board = std::make_unique<Board>(path, 0);
        EXPECT_TRUE(*board) << Fg_LastErrorText(nullptr);
        return board;
    }

    static std::int64_t Status(const Board& board, int code, Fg_Memory* memory,
                               std::int64_t data = 0) {
        return Fg_QueryStatus(board.get(), code, data, 0, memory);
    }

    static SimCtlBufferRecord Record(std::int64_t bufferNumber) {
        SimCtlBufferRecord out{};
        EXPECT_EQ(SimCtl_GetBufferRecord(0, 0, bufferNumber, &out), SIMCTL_OK)
            << SimCtl_LastError();
        return out;
    }

    static bool Trigger(const Board& board) { return Fg_SoftwareTrigger(board.get(), 0) != 0; }

    static std::int64_t Wait(const Board& board, std::int64_t picture, Fg_Memory* memory,
                             int timeoutSeconds = PatienceSeconds) {
        return Fg_WaitImage(board.get(), FG_WAIT_PICTURE_NUMBER, picture, 0, timeoutSeconds,
                            memory);
    }

    TempDir dir_;
};

TEST_F(EngineTest, RingOrder_ThreeBuffers_PicturesOneToFourLandInBuffersOneTwoThreeOne) {
    auto board = Open("trigger = software");
    CustomRing ring(board->get(), ImageBytes, 3);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, FG_FRAMES_ENDLESS, FG_ACQ_STANDARD, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());

    const std::int64_t expectedBuffer[] = {1, 2, 3, 1};
    for (std::int64_t picture = 1; picture <= 4; ++picture) {
        ASSERT_TRUE(Trigger(*board));
        ASSERT_EQ(Wait(*board, picture, ring.Head()), picture);
        EXPECT_EQ(Record(expectedBuffer[picture - 1]).pictureNumber, picture);
    }
    EXPECT_EQ(Record(2).pictureNumber, 2);
    EXPECT_EQ(Record(3).pictureNumber, 3);
}

TEST_F(EngineTest, BlockingFreeRun_AllBuffersLocked_WaitsForUnlockInsteadOfLosing) {
    auto board = Open("");
    CustomRing ring(board->get(), ImageBytes, 3);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, FG_FRAMES_ENDLESS, FG_ACQ_BLOCKING, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());

    ASSERT_EQ(Wait(*board, 3, ring.Head()), 3);
    EXPECT_EQ(Status(*board, FG_STATUS_BLOCKED, ring.Head()), 3);
    for (std::int64_t b = 1; b <= 3; ++b) {
        EXPECT_EQ(Status(*board, FG_STATUS_BUFFER_LOCKED, ring.Head(), b), 1) << "buffer " << b;
    }
    EXPECT_EQ(Wait(*board, 4, ring.Head(), 1), FG_ERR_TIMEOUT);
    EXPECT_EQ(Status(*board, FG_STATUS_LOST, ring.Head()), 0);
    EXPECT_EQ(Status(*board, FG_STATUS_GRABBED, ring.Head()), 3);

    ASSERT_EQ(Fg_SetBufferStatus(board->get(), FG_BUFFER_UNBLOCK, 1, 0, ring.Head()), 0);
    ASSERT_EQ(Wait(*board, 4, ring.Head()), 4);
    EXPECT_EQ(Record(1).pictureNumber, 4);
    EXPECT_EQ(Status(*board, FG_STATUS_BUFFER_LOCKED, ring.Head(), 1), 1);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetBufferStatus"), 1);
}

TEST_F(EngineTest, BlockingPaced_NextBufferLocked_FramesAreLostWithoutPictureNumbers) {
    auto board = Open("framerate = 2000");
    CustomRing ring(board->get(), ImageBytes, 2);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, FG_FRAMES_ENDLESS, FG_ACQ_BLOCKING, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());

    ASSERT_EQ(Wait(*board, 2, ring.Head()), 2);
    ASSERT_EQ(SimCtl_WaitFrames(0, 0, 7, PatienceMs), SIMCTL_OK);
    const std::int64_t lost = Status(*board, FG_STATUS_LOST, ring.Head());
    EXPECT_GE(lost, 5);
    EXPECT_EQ(Status(*board, FG_STATUS_LOST_BLOCKED, ring.Head()), lost);
    EXPECT_EQ(Status(*board, FG_STATUS_GRABBED, ring.Head()), 2);

    const std::uint16_t tagOfTwo = Record(2).tag;
    ASSERT_EQ(Fg_SetBufferStatus(board->get(), FG_BUFFER_UNBLOCK, 1, 0, ring.Head()), 0);
    ASSERT_EQ(Wait(*board, 3, ring.Head()), 3);
    const SimCtlBufferRecord third = Record(1);
    EXPECT_EQ(third.pictureNumber, 3);
    // The tag counts every frame made, so lost frames show as a gap.
    EXPECT_GT(third.tag, tagOfTwo + 1);
}

TEST_F(EngineTest, BlockingTriggered_TriggerWhileNextBufferLocked_LosesOneFrame) {
    auto board = Open("trigger = software");
    CustomRing ring(board->get(), ImageBytes, 1);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, FG_FRAMES_ENDLESS, FG_ACQ_BLOCKING, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());

    ASSERT_TRUE(Trigger(*board));
    ASSERT_EQ(Wait(*board, 1, ring.Head()), 1);
    ASSERT_TRUE(Trigger(*board));
    ASSERT_EQ(SimCtl_WaitFrames(0, 0, 2, PatienceMs), SIMCTL_OK);
    EXPECT_EQ(Status(*board, FG_STATUS_LOST, ring.Head()), 1);
    EXPECT_EQ(Status(*board, FG_STATUS_LOST_BLOCKED, ring.Head()), 1);

    ASSERT_EQ(Fg_SetBufferStatus(board->get(), FG_BUFFER_UNBLOCK, 1, 0, ring.Head()), 0);
    EXPECT_EQ(Status(*board, FG_STATUS_BLOCKED, ring.Head()), 0);
    ASSERT_TRUE(Trigger(*board));
    ASSERT_EQ(Wait(*board, 2, ring.Head()), 2);
    EXPECT_EQ(Record(1).pictureNumber, 2);
}

TEST_F(EngineTest, Standard_FreeRun_OverwritesAndNeverLocks) {
    auto board = Open("");
    CustomRing ring(board->get(), ImageBytes, 2);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, FG_FRAMES_ENDLESS, FG_ACQ_STANDARD, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());

    ASSERT_EQ(Wait(*board, 10, ring.Head()), 10);
    EXPECT_EQ(Status(*board, FG_STATUS_BLOCKED, ring.Head()), 0);
    EXPECT_EQ(Status(*board, FG_STATUS_BUFFER_LOCKED, ring.Head(), 1), 0);
    EXPECT_EQ(Status(*board, FG_STATUS_BUFFER_LOCKED, ring.Head(), 2), 0);
    EXPECT_EQ(Status(*board, FG_STATUS_LOST, ring.Head()), 0);
    EXPECT_GE(Record(1).pictureNumber, 9);
    EXPECT_GE(Record(2).pictureNumber, 10);
}

TEST_F(EngineTest, WaitImage_NoFrameComes_TimesOutWithMinus2120) {
    auto board = Open("trigger = software");
    CustomRing ring(board->get(), ImageBytes, 2);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, FG_FRAMES_ENDLESS, FG_ACQ_STANDARD, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());

    EXPECT_EQ(Wait(*board, 1, ring.Head(), 1), -2120);
    EXPECT_EQ(Fg_LastErrorNumber(board->get()), FG_ERR_TIMEOUT);
}

TEST_F(EngineTest, WaitImage_StopFromOtherThread_EndsWithStopCodeLongBeforeTimeout) {
    auto board = Open("trigger = software");
    CustomRing ring(board->get(), ImageBytes, 2);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, FG_FRAMES_ENDLESS, FG_ACQ_BLOCKING, ring.Head()), 0);

    const std::int64_t waitsBefore = SimCtl_CallCount("Fg_WaitImage");
    auto waiter = std::async(std::launch::async, [&] {
        return Fg_WaitImage(board->get(), FG_WAIT_PICTURE_NUMBER, 1, 0, 3600, ring.Head());
    });
    // Stop once the waiter is inside the call; a stop before its wait ends it just the same.
    const auto patience = std::chrono::steady_clock::now() + std::chrono::milliseconds(PatienceMs);
    while (SimCtl_CallCount("Fg_WaitImage") == waitsBefore &&
           std::chrono::steady_clock::now() < patience) {
        std::this_thread::yield();
    }
    ASSERT_EQ(Fg_StopAcquire(board->get(), 0, ring.Head(), FG_STOP_SYNC), 0);
    ASSERT_EQ(waiter.wait_for(std::chrono::milliseconds(PatienceMs)), std::future_status::ready);
    EXPECT_EQ(waiter.get(), FG_ERR_ACQUISITION_STOPPED);
}

TEST_F(EngineTest, WaitImage_PictureAlreadyDelivered_ReturnsItWithoutWaiting) {
    auto board = Open("");
    CustomRing ring(board->get(), ImageBytes, 3);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, FG_FRAMES_ENDLESS, FG_ACQ_BLOCKING, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());

    ASSERT_EQ(Wait(*board, 3, ring.Head()), 3);
    EXPECT_EQ(Wait(*board, 1, ring.Head(), 0), 1);
    EXPECT_EQ(Wait(*board, 2, ring.Head(), 0), 2);
}

TEST_F(EngineTest, Pending_CountsDeliveredImagesNotYetCollected) {
    auto board = Open("");
    CustomRing ring(board->get(), ImageBytes, 3);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, FG_FRAMES_ENDLESS, FG_ACQ_BLOCKING, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());

    ASSERT_EQ(SimCtl_WaitFrames(0, 0, 3, PatienceMs), SIMCTL_OK);
    EXPECT_EQ(Status(*board, FG_STATUS_PENDING, ring.Head()), 3);
    ASSERT_EQ(Wait(*board, 2, ring.Head()), 2);
    EXPECT_EQ(Status(*board, FG_STATUS_PENDING, ring.Head()), 1);
}

TEST_F(EngineTest, FrameCount_Three_DeliversThreeThenRefusesLaterPictures) {
    auto board = Open("");
    CustomRing ring(board->get(), ImageBytes, 4);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, 3, FG_ACQ_STANDARD, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());

    ASSERT_EQ(Wait(*board, 3, ring.Head()), 3);
    EXPECT_EQ(Wait(*board, 4, ring.Head()), FG_ERR_FRAME_LIMIT);
    EXPECT_EQ(Status(*board, FG_STATUS_GRABBED, ring.Head()), 3);
    EXPECT_EQ(Record(4).pictureNumber, 0);
}

TEST_F(EngineTest, StatusQueries_UnknownCodeOrBufferNumber_AreRefused) {
    auto board = Open("");
    CustomRing ring(board->get(), ImageBytes, 2);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, FG_FRAMES_ENDLESS, FG_ACQ_BLOCKING, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());

    EXPECT_EQ(Status(*board, 11, ring.Head()), FG_ERR_INVALID_STATUS);
    EXPECT_EQ(Status(*board, FG_STATUS_BUFFER_LOCKED, ring.Head(), 0),
              FG_ERR_INVALID_BUFFER_NUMBER);
    EXPECT_EQ(Status(*board, FG_STATUS_BUFFER_LOCKED, ring.Head(), 3),
              FG_ERR_INVALID_BUFFER_NUMBER);
    EXPECT_EQ(Fg_SetBufferStatus(board->get(), 513, 1, 0, ring.Head()), FG_ERR_INVALID_STATUS);
    EXPECT_EQ(Fg_SetBufferStatus(board->get(), FG_BUFFER_UNBLOCK, 3, 0, ring.Head()),
              FG_ERR_INVALID_BUFFER_NUMBER);
    EXPECT_EQ(Fg_WaitImage(board->get(), 221, 1, 0, 1, ring.Head()), FG_ERR_INVALID_MODE);
}

TEST_F(EngineTest, AcquireEx_InvalidMemoryModeOrDma_IsRefused) {
    auto board = Open("");
    CustomRing ring(board->get(), ImageBytes, 2);
    Fg_Memory* freed = Fg_CreateMemoryHead(board->get(), ImageBytes, 1);
    ASSERT_EQ(Fg_FreeMemoryHead(board->get(), freed), 0);

    EXPECT_EQ(Fg_AcquireEx(board->get(), 0, -1, FG_ACQ_STANDARD, nullptr), -2060);
    EXPECT_EQ(Fg_AcquireEx(board->get(), 0, -1, FG_ACQ_STANDARD, freed), -2060);
    EXPECT_EQ(Fg_AcquireEx(board->get(), 0, -1, 3, ring.Head()), FG_ERR_INVALID_MODE);
    EXPECT_EQ(Fg_AcquireEx(board->get(), 0, 0, FG_ACQ_STANDARD, ring.Head()),
              FG_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(Fg_AcquireEx(board->get(), 2, -1, FG_ACQ_STANDARD, ring.Head()), FG_ERR_INVALID_DMA);
    EXPECT_EQ(Fg_LastErrorNumber(board->get()), FG_ERR_INVALID_DMA);
}

TEST_F(EngineTest, AcquireEx_MemoryOfAnotherBoard_IsInvalidMemory) {
    UseMachine("[board0]\ntype = 1873\n[board1]\ntype = 1876\n");
    const std::string applet = dir_.Write("plain.ini", "");
    Board first(applet, 0);
    Board second(applet, 1);
    ASSERT_TRUE(first && second);
    CustomRing foreign(second.get(), ImageBytes, 1);
    EXPECT_EQ(Fg_AcquireEx(first.get(), 0, -1, FG_ACQ_STANDARD, foreign.Head()), -2060);
}

TEST_F(EngineTest, AcquireEx_BusyDmaOrIncompleteHead_IsRefused) {
    auto board = Open("");
    CustomRing ring(board->get(), ImageBytes, 2);
    CustomRing other(board->get(), ImageBytes, 2);
    Fg_Memory* partial = Fg_CreateMemoryHead(board->get(), 2 * ImageBytes, 2);
    std::vector<std::uint8_t> one(ImageBytes);
    ASSERT_EQ(Fg_AddBuffer(board->get(), one.data(), one.size(), 0, partial), 0);

    EXPECT_EQ(Fg_AcquireEx(board->get(), 0, -1, FG_ACQ_STANDARD, partial), FG_ERR_NO_BUFFERS);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, -1, FG_ACQ_STANDARD, ring.Head()), 0);
    Acquisition running(board->get(), 0, ring.Head());
    EXPECT_EQ(Fg_AcquireEx(board->get(), 0, -1, FG_ACQ_STANDARD, other.Head()), FG_ERR_DMA_BUSY);
    EXPECT_EQ(Fg_AcquireEx(board->get(), 1, -1, FG_ACQ_STANDARD, ring.Head()),
              FG_ERR_MEMORY_IN_USE);
    EXPECT_EQ(Fg_RemoveBuffer(board->get(), partial, 0), 0);
    EXPECT_EQ(Fg_FreeMemoryHead(board->get(), partial), 0);
}

TEST_F(EngineTest, Buffers_RemoveOrFreeWhileAcquiring_RefusedUntilStopped) {
    auto board = Open("");
    std::vector<std::uint8_t> storage(2 * ImageBytes);
    Fg_Memory* head = Fg_CreateMemoryHead(board->get(), storage.size(), 2);
    ASSERT_NE(head, nullptr);
    ASSERT_EQ(Fg_AddBuffer(board->get(), storage.data(), ImageBytes, 0, head), 0);
    ASSERT_EQ(Fg_AddBuffer(board->get(), storage.data() + ImageBytes, ImageBytes, 1, head), 1);
    EXPECT_EQ(Fg_AddBuffer(board->get(), storage.data(), ImageBytes, 1, head),
              FG_ERR_BUFFER_EXISTS);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, -1, FG_ACQ_STANDARD, head), 0);

    EXPECT_NE(Fg_RemoveBuffer(board->get(), head, 0), 0);
    EXPECT_NE(Fg_FreeMemoryHead(board->get(), head), 0);
    ASSERT_EQ(Fg_StopAcquire(board->get(), 0, head, FG_STOP_SYNC), 0);
    EXPECT_EQ(Fg_StopAcquire(board->get(), 0, head, FG_STOP_SYNC), FG_ERR_NOT_ACQUIRING);
    EXPECT_EQ(Fg_RemoveBuffer(board->get(), head, 0), 0);
    EXPECT_EQ(Fg_RemoveBuffer(board->get(), head, 0), FG_ERR_INVALID_BUFFER);
    EXPECT_EQ(Fg_FreeMemoryHead(board->get(), head), 0);
    EXPECT_EQ(Fg_FreeMemoryHead(board->get(), head), FG_ERR_INVALID_MEMORY);
}

TEST_F(EngineTest, SdkMemory_ProbeStyleAcquisition_StartsStopsAndFrees) {
    auto board = Open("");
    for (unsigned dma = 0; dma < 2; ++dma) {
        Fg_Memory* memory = Fg_AllocMemory(board->get(), ImageBytes, 1);
        ASSERT_NE(memory, nullptr);
        EXPECT_EQ(Fg_FreeMemoryHead(board->get(), memory), FG_ERR_WRONG_MEMORY_KIND);
        EXPECT_EQ(Fg_AcquireEx(board->get(), dma, 1, FG_ACQ_STANDARD, memory), 0);
        EXPECT_EQ(Fg_StopAcquire(board->get(), dma, memory, FG_STOP_SYNC), 0);
        EXPECT_EQ(Fg_FreeMemory(board->get(), memory), 0);
    }
    EXPECT_EQ(Fg_AllocMemory(board->get(), 0, 1), nullptr);
    EXPECT_EQ(Fg_LastErrorNumber(board->get()), FG_ERR_INVALID_SIZE);
}

TEST_F(EngineTest, CloseBoard_WhileAcquiring_StopsAndInvalidatesTheHandle) {
    const std::string path = dir_.Write("applet.ini", "");
    Fg_Grabber* grabber = Fg_OpenBoard(path.c_str(), 0);
    ASSERT_NE(grabber, nullptr);
    std::vector<std::uint8_t> storage(ImageBytes);
    Fg_Memory* head = Fg_CreateMemoryHead(grabber, ImageBytes, 1);
    ASSERT_EQ(Fg_AddBuffer(grabber, storage.data(), ImageBytes, 0, head), 0);
    ASSERT_EQ(Fg_AcquireEx(grabber, 0, -1, FG_ACQ_STANDARD, head), 0);
    ASSERT_EQ(SimCtl_WaitFrames(0, 0, 2, PatienceMs), SIMCTL_OK);

    ASSERT_EQ(Fg_CloseBoard(grabber), 0);
    std::uint32_t width = 0;
    EXPECT_EQ(Fg_GetParameter(grabber, FG_PARAM_WIDTH, &width, 0), FG_ERR_INVALID_HANDLE);
    EXPECT_EQ(Fg_LastErrorNumber(grabber), FG_ERR_INVALID_HANDLE);
    EXPECT_EQ(Fg_CloseBoard(grabber), FG_ERR_INVALID_HANDLE);
}

TEST_F(EngineTest, TwoDmas_AcquiringWithWaitersOnTwoThreads_EachDeliversItsOwnRing) {
    auto board = Open("");
    CustomRing first(board->get(), ImageBytes, 2);
    CustomRing second(board->get(), ImageBytes, 2);
    ASSERT_EQ(Fg_AcquireEx(board->get(), 0, -1, FG_ACQ_BLOCKING, first.Head()), 0);
    Acquisition runningFirst(board->get(), 0, first.Head());
    ASSERT_EQ(Fg_AcquireEx(board->get(), 1, -1, FG_ACQ_BLOCKING, second.Head()), 0);
    Acquisition runningSecond(board->get(), 1, second.Head());

    auto consume = [&](unsigned dma, Fg_Memory* head) {
        for (std::int64_t picture = 1; picture <= 20; ++picture) {
            if (Fg_WaitImage(board->get(), FG_WAIT_PICTURE_NUMBER, picture, dma, PatienceSeconds,
                             head) != picture) {
                return false;
            }
            const std::int64_t buffer = (picture - 1) % 2 + 1;
            if (Fg_SetBufferStatus(board->get(), FG_BUFFER_UNBLOCK, buffer, dma, head) != 0) {
                return false;
            }
        }
        return true;
    };
    auto a = std::async(std::launch::async, consume, 0u, first.Head());
    auto b = std::async(std::launch::async, consume, 1u, second.Head());
    EXPECT_TRUE(a.get());
    EXPECT_TRUE(b.get());
    EXPECT_EQ(Fg_QueryStatus(board->get(), FG_STATUS_LOST, 0, 0, first.Head()), 0);
    // The memory of one DMA is not the other's.
    EXPECT_EQ(Fg_QueryStatus(board->get(), FG_STATUS_GRABBED, 0, 1, first.Head()), -2060);
}

} // namespace
