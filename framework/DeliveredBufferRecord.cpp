#include <ddk/CDeliveredBufferRecord.h>

#include <ddk/CLockGuard.h>

void CDeliveredBufferRecord::SetLimit(uint32_t limit) {
    CLockGuard guard(lock_);
    limit_ = limit;
    // A ring delivers indices below its limit, so recording them never allocates.
    Reserve(limit_);
}

void CDeliveredBufferRecord::Reserve(size_t count) {
    if (links_.size() < count)
        links_.resize(count);
}

void CDeliveredBufferRecord::Unlink(int32_t index) {
    Link& link = links_[static_cast<size_t>(index)];
    if (link.newer != kNone)
        links_[static_cast<size_t>(link.newer)].older = link.older;
    else
        newest_ = link.older;
    if (link.older != kNone)
        links_[static_cast<size_t>(link.older)].newer = link.newer;
    else
        oldest_ = link.newer;
    link = Link();
    --size_;
}

void CDeliveredBufferRecord::Record(int32_t index) {
    if (index < 0)
        return;
    CLockGuard guard(lock_);
    if (size_ > limit_)
        Unlink(oldest_);
    Reserve(static_cast<size_t>(index) + 1);
    if (links_[static_cast<size_t>(index)].present)
        Unlink(index);
    Link& link = links_[static_cast<size_t>(index)];
    link.present = true;
    link.older = newest_;
    link.newer = kNone;
    if (newest_ != kNone)
        links_[static_cast<size_t>(newest_)].newer = index;
    else
        oldest_ = index;
    newest_ = index;
    ++size_;
}

void CDeliveredBufferRecord::Clear() {
    CLockGuard guard(lock_);
    while (newest_ != kNone)
        Unlink(newest_);
}

bool CDeliveredBufferRecord::At(int32_t position, int32_t* index) const {
    CLockGuard guard(lock_);
    if (position < 0 || static_cast<uint32_t>(position) >= size_)
        return false;
    int32_t entry = newest_;
    for (int32_t step = 0; step < position; ++step)
        entry = links_[static_cast<size_t>(entry)].older;
    if (index != nullptr)
        *index = entry;
    return true;
}
