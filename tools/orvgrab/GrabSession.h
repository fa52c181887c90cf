#pragma once
// The image object of a loaded driver module and the grab run on it, through the
// host interfaces only (IGrab2, IRingBuffer, IGrabber, IDeviceCtrl, the selection
// interfaces and the image description).

#include "GrabPlan.h"
#include "GrabReport.h"
#include "ImageFacts.h"

#include <ORHost/HostApp.h>

#include <cstdint>

class ProgressLine;

/// Host thread only. The module must outlive the session.
class GrabSession {
public:
    /// Opens the module's image; throws ToolError when it gives none.
    explicit GrabSession(const orvhost::DriverModule& module);
    GrabSession(const GrabSession&) = delete;
    GrabSession& operator=(const GrabSession&) = delete;

    /// Switch to another board or DMA (IBoardSelect2, ICameraSelect2); the driver
    /// answers with a new image, used from then on.
    void SelectBoard(int32_t board);
    void SelectDma(int32_t dma);
    /// IImageRect: a new size gives a new image; the offset keeps it.
    void SetSize(int32_t width, int32_t height);
    void SetOffset(int32_t x, int32_t y);
    /// Takes effect at the next start.
    void SetLockMode(uint32_t mode);
    /// Replaces the image by the one the driver builds with `count` buffers.
    void SetBuffers(int32_t count);
    void SetTimeout(uint32_t milliseconds);

    ImageFacts Facts() const;
    /// Starts, waits for the plan's images (triggering each one when it says so),
    /// reads the counters and stops. In lock mode 2 every buffer but the last is
    /// unlocked once it has been waited for; the last one stays as delivered until
    /// the stop, so it can be written out.
    GrabReport Grab(const GrabPlan& plan, ProgressLine& progress);
    /// The image's description: after a grab, the buffer of the last image.
    ORV::IImageVPA* Description() const;
    /// The image object, for the node maps.
    ORHandle Image() const { return image_.get(); }
    /// Releases the image (and the driver's buffers with it).
    void Release() { image_.reset(); }

private:
    template <class I> I* Require(const char* name) const;
    /// Uses `replacement` from now on when the driver gave one.
    void Replace(ORHandle replacement);

    orvhost::HostObject image_;
};
