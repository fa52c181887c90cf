// The generic object's image rectangle operations.

#include <ddk/CGeneric.h>

#include "CGenericBinding.h"

int32_t CGeneric::ImageSize(uint32_t action, int32_t* width, int32_t* height, ORHandle* newImage) {
    return Guarded(log_, [&]() -> int32_t {
        Binding binding = Bind();
        CSPIImageRect* rect = binding.provider<CSPIImageRect>();
        if (rect == nullptr)
            return ORV::E_NOTSUPPORTED;
        uint64_t scratch = 0;
        auto* changed = reinterpret_cast<uint8_t*>(&scratch);
        if (action == 0 || action == 2)
            return rect->ImageSize(action, width, height, changed);
        if (action >= 5)
            return ORV::OK;

        // Actions 1, 3 and 4 change the image memory: the buffers are reallocated
        // in a new image object.
        CallImageChanged(0);
        std::unique_lock<CTryLock> grab(grabLock_, std::try_to_lock);
        if (!grab.owns_lock())
            return ORV::E_BUSY;
        int32_t oldWidth = 0;
        int32_t oldHeight = 0;
        rect->ImageSize(0, &oldWidth, &oldHeight, changed);
        const int32_t result = rect->ImageSize(action, width, height, changed);
        if (result < 0)
            return result;
        ORHandle image = nullptr;
        try {
            image = ReplaceImage(binding.channel);
        } catch (...) {
            uint64_t restoreScratch = 0;
            rect->ImageSize(3, &oldWidth, &oldHeight, reinterpret_cast<uint8_t*>(&restoreScratch));
            throw;
        }
        HandOut(image, newImage);
        CallImageChanged(2);
        CallImageChanged(1);
        return result;
    });
}

int32_t CGeneric::ImageOffset(uint32_t action, int32_t* x, int32_t* y) {
    return Guarded(log_, [&]() -> int32_t {
        Binding binding = Bind();
        CSPIImageRect* rect = binding.provider<CSPIImageRect>();
        if (rect == nullptr)
            return ORV::E_NOTSUPPORTED;
        uint8_t scratch[24] = {};
        if (action == 0 || action == 2)
            return rect->ImageOffset(action, x, y, scratch);
        if (action != 3)
            return ORV::OK;
        std::unique_lock<CTryLock> grab(grabLock_, std::try_to_lock);
        if (!grab.owns_lock())
            return ORV::E_BUSY;
        return rect->ImageOffset(action, x, y, scratch);
    });
}
