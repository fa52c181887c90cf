#include <ddk/CDeliveredBufferRecord.h>

#include <algorithm>

namespace {
// Reserving for the whole ring keeps recording allocation-free once warm; huge
// rings grow on demand instead of reserving everything up front.
constexpr uint32_t kReserveLimit = 4096;
} // namespace

void CDeliveredBufferRecord::SetLimit(uint32_t limit) {
    std::lock_guard<std::mutex> guard(lock_);
    limit_ = limit;
    entries_.reserve(std::min(limit, kReserveLimit) + 1);
}

void CDeliveredBufferRecord::Record(int32_t index) {
    std::lock_guard<std::mutex> guard(lock_);
    if (entries_.size() > limit_)
        entries_.pop_back();
    entries_.erase(std::remove(entries_.begin(), entries_.end(), index), entries_.end());
    entries_.insert(entries_.begin(), index);
}

void CDeliveredBufferRecord::Clear() {
    std::lock_guard<std::mutex> guard(lock_);
    entries_.clear();
}

bool CDeliveredBufferRecord::At(int32_t position, int32_t* index) const {
    std::lock_guard<std::mutex> guard(lock_);
    if (position < 0 || static_cast<size_t>(position) >= entries_.size())
        return false;
    if (index != nullptr)
        *index = entries_[static_cast<size_t>(position)];
    return true;
}
