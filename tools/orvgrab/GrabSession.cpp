#include "GrabSession.h"

#include "ProgressLine.h"
#include "ToolError.h"

#include <ORV/ResultCodes.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>

namespace {

// Device-control codes of values the driver keeps for the last image.
constexpr uint32_t kLastPicture = 0x900;
constexpr uint32_t kLastTag = 0x9000;
constexpr uint32_t kIncompleteImages = 0x9200;

std::string Code(int32_t result) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(result));
    return text;
}

void Check(int32_t result, const std::string& what) {
    if (ORV::Failed(result))
        throw ToolError(what + " failed (" + Code(result) + ")");
}

template <class T> std::optional<T> ReadValue(ORV::IDeviceCtrl* control, uint32_t code) {
    if (control == nullptr)
        return std::nullopt;
    T value{};
    uint64_t size = sizeof value;
    if (ORV::Failed(control->RawCommand(code, nullptr, 0, &value, &size)))
        return std::nullopt;
    return value;
}

void ReadCounters(ORV::IGrab2* grab, GrabReport* report) {
    Check(grab->GrabInfo(ORV::GRAB_INFO_NUMBER_IMAGES_AQCUIRED, &report->acquired),
          "IGrab2::GrabInfo (images acquired)");
    Check(grab->GrabInfo(ORV::GRAB_INFO_NUMBER_IMAGES_LOST, &report->lost),
          "IGrab2::GrabInfo (images lost)");
    Check(grab->GrabInfo(ORV::GRAB_INFO_NUMBER_IMAGES_LOST_LOCKED, &report->lostLocked),
          "IGrab2::GrabInfo (images lost to locked buffers)");
}

/// Stops a started acquisition that a failure left running.
class RunningGrab {
public:
    explicit RunningGrab(ORV::IGrab2* grab) : grab_(grab) {}
    RunningGrab(const RunningGrab&) = delete;
    RunningGrab& operator=(const RunningGrab&) = delete;
    ~RunningGrab() {
        if (grab_ != nullptr)
            grab_->GrabStop(0);
    }
    void Stop() {
        ORV::IGrab2* grab = grab_;
        grab_ = nullptr;
        Check(grab->GrabStop(0), "IGrab2::GrabStop");
    }

private:
    ORV::IGrab2* grab_;
};

} // namespace

GrabSession::GrabSession(const orvhost::DriverModule& module) : image_(module.GetImageV2()) {
    if (!image_)
        throw NoImageError("the module gave no image");
}

template <class I> I* GrabSession::Require(const char* name) const {
    I* table = orvhost::FindInterface<I>(image_.get());
    if (table == nullptr)
        throw ToolError(std::string("the image offers no ") + name);
    return table;
}

void GrabSession::Replace(ORHandle replacement) {
    orvhost::HostObject image(replacement);
    if (image)
        image_ = std::move(image);
}

void GrabSession::SelectBoard(int32_t board) {
    ORHandle replacement = nullptr;
    const int32_t result =
        Require<ORV::IBoardSelect2>("IBoardSelect2")->SetBoard(board, &replacement);
    Replace(replacement);
    if (ORV::Failed(result))
        throw NoImageError("selecting board " + std::to_string(board) +
                           " (IBoardSelect2::SetBoard) failed (" + Code(result) + ")");
}

void GrabSession::SelectDma(int32_t dma) {
    ORHandle replacement = nullptr;
    const int32_t result =
        Require<ORV::ICameraSelect2>("ICameraSelect2")->SetCamera(dma, &replacement);
    Replace(replacement);
    Check(result, "selecting DMA " + std::to_string(dma) + " (ICameraSelect2::SetCamera)");
}

void GrabSession::SetSize(int32_t width, int32_t height) {
    ORHandle replacement = nullptr;
    const int32_t result =
        Require<ORV::IImageRect>("IImageRect")->ImageSize(1, &width, &height, &replacement);
    Replace(replacement);
    Check(result, "setting the size " + std::to_string(width) + "x" + std::to_string(height) +
                      " (IImageRect::ImageSize)");
}

void GrabSession::SetOffset(int32_t x, int32_t y) {
    Check(Require<ORV::IImageRect>("IImageRect")->ImageOffset(1, &x, &y),
          "setting the offset " + std::to_string(x) + "," + std::to_string(y) +
              " (IImageRect::ImageOffset)");
}

void GrabSession::SetLockMode(uint32_t mode) {
    Check(
        Require<ORV::IRingBuffer>("IRingBuffer")->LockMode(ORV::RINGBUFFER_LOCKMODE_CMD_SET, &mode),
        "setting lock mode " + std::to_string(mode));
}

void GrabSession::SetBuffers(int32_t count) {
    ORHandle replacement = nullptr;
    const int32_t result =
        Require<ORV::IRingBuffer>("IRingBuffer")
            ->NumBuffers(ORV::RINGBUFFER_NUMBUFFER_CMD_SET, &count, &replacement);
    orvhost::HostObject image(replacement);
    Check(result, "setting " + std::to_string(count) + " buffers");
    if (!image)
        throw ToolError("setting " + std::to_string(count) + " buffers gave no new image");
    // The old image no longer holds the driver's object; only the new one is used.
    image_ = std::move(image);
}

void GrabSession::SetTimeout(uint32_t milliseconds) {
    Check(Require<ORV::IGrabber>("IGrabber")->SetTimeout(milliseconds),
          "setting the time-out to " + std::to_string(milliseconds) + " ms");
}

ImageFacts GrabSession::Facts() const {
    ImageFacts facts;
    if (auto* boards = orvhost::FindInterface<ORV::IBoardSelect2>(image_.get())) {
        Check(boards->GetCurrentBoard(&facts.board), "IBoardSelect2::GetCurrentBoard");
        Check(boards->GetBoardCount(&facts.boards), "IBoardSelect2::GetBoardCount");
    }
    if (auto* cameras = orvhost::FindInterface<ORV::ICameraSelect2>(image_.get())) {
        Check(cameras->GetCurrentCamera(&facts.dma), "ICameraSelect2::GetCurrentCamera");
        Check(cameras->GetCameraCount(&facts.dmas), "ICameraSelect2::GetCameraCount");
    }
    ORV::IImageVPA* description = Description();
    Check(description->GetDimensions(&facts.planes, &facts.width, &facts.height),
          "IImageVPA::GetDimensions");
    Check(description->GetDataType(0, &facts.bitsPerSample), "IImageVPA::GetDataType");
    auto* ring = Require<ORV::IRingBuffer>("IRingBuffer");
    ORHandle unused = nullptr;
    Check(ring->NumBuffers(ORV::RINGBUFFER_NUMBUFFER_CMD_GET, &facts.buffers, &unused),
          "IRingBuffer::NumBuffers");
    Check(ring->LockMode(ORV::RINGBUFFER_LOCKMODE_CMD_GET, &facts.lockMode),
          "IRingBuffer::LockMode");
    return facts;
}

GrabReport GrabSession::Grab(const GrabPlan& plan, ProgressLine& progress) {
    using Clock = std::chrono::steady_clock;
    auto* grab = Require<ORV::IGrab2>("IGrab2");
    auto* ring = Require<ORV::IRingBuffer>("IRingBuffer");
    auto* control = orvhost::FindInterface<ORV::IDeviceCtrl>(image_.get());
    auto* trigger = plan.softwareTrigger
                        ? Require<ORV::ISoftwareTrigger>("ISoftwareTrigger (--trigger software)")
                        : nullptr;
    uint32_t lockMode = 0;
    Check(ring->LockMode(ORV::RINGBUFFER_LOCKMODE_CMD_GET, &lockMode), "IRingBuffer::LockMode");
    const std::string total = plan.count == 0 ? std::string("?") : std::to_string(plan.count);
    auto stopRequested = [&plan] { return plan.stopRequested && plan.stopRequested(); };

    GrabReport report;
    Check(grab->GrabStart(), "IGrab2::GrabStart");
    RunningGrab running(grab);
    const auto start = Clock::now();
    auto nextStatistics = start + std::chrono::seconds(1);
    auto nextTrigger = start;
    for (uint32_t i = 1; plan.count == 0 || i <= plan.count; ++i) {
        if (stopRequested()) {
            report.stopped = true;
            break;
        }
        if (trigger != nullptr) {
            if (plan.triggerRate > 0.0) {
                std::this_thread::sleep_until(nextTrigger);
                nextTrigger += std::chrono::duration_cast<Clock::duration>(
                    std::chrono::duration<double>(1.0 / plan.triggerRate));
            }
            const int32_t triggered = trigger->Trigger(0);
            if (ORV::Failed(triggered))
                Check(triggered, "triggering image " + std::to_string(i));
        }
        int32_t index = -1;
        const int32_t result = grab->GrabWait(&index);
        if (result == ORV::E_TIMEOUT)
            throw ToolError("no image " + std::to_string(i) + " of " + total +
                            " within the time-out (" + Code(result) + ")" +
                            (trigger == nullptr ? "" : " after a software trigger"));
        // The texts are made only on failure: the loop stays free of allocations.
        if (ORV::Failed(result))
            Check(result, "waiting for image " + std::to_string(i) + " of " + total);
        report.images = i;
        report.lastBuffer = index;
        const auto now = Clock::now();
        report.seconds = std::chrono::duration<double>(now - start).count();
        if (plan.onImage)
            plan.onImage(*Description(), report);
        const bool last = (plan.count != 0 && i == plan.count) || stopRequested();
        if (lockMode == ORV::RINGBUFFER_LOCKMODE_ON && !last) {
            const int32_t unlocked = ring->UnlockBuffer(index);
            if (ORV::Failed(unlocked))
                Check(unlocked, "unlocking buffer " + std::to_string(index));
        }
        if (plan.count != 0)
            progress.Update(i, plan.count);
        if (plan.everySecond && now >= nextStatistics) {
            ReadCounters(grab, &report);
            plan.everySecond(report);
            nextStatistics = now + std::chrono::seconds(1);
        }
    }
    progress.Finish();

    // The counters need the acquisition running, so they are read before the stop.
    ReadCounters(grab, &report);
    report.incomplete = ReadValue<uint32_t>(control, kIncompleteImages);
    report.lastPicture = ReadValue<int64_t>(control, kLastPicture);
    report.lastTag = ReadValue<uint32_t>(control, kLastTag);
    running.Stop();
    return report;
}

ORV::IImageVPA* GrabSession::Description() const {
    ORV::IImageVPA* description = orvhost::ImageDescription(image_.get());
    if (description == nullptr)
        throw ToolError("the image has no description (IImageVPA)");
    return description;
}
