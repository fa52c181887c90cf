#pragma once
// A block object that reports its destruction, and optionally runs an action
// from its destructor (to test re-entrant releases).

#include <ORV/IDisposableType.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace hosttest {

class TrackedObject : public ORV::IDisposableType {
public:
    /// `events` receives "~" + name when the object is destroyed.
    TrackedObject(std::vector<std::string>* events, std::string name,
                  std::function<void()> onDestroy = {})
        : events_(events), name_(std::move(name)), onDestroy_(std::move(onDestroy)) {}
    ~TrackedObject() override {
        if (events_ != nullptr)
            events_->push_back("~" + name_);
        if (onDestroy_)
            onDestroy_();
    }
    /// Objects in blocks are destroyed in place; disposing one would free block
    /// storage, which the tests must catch.
    void Dispose() override {
        if (events_ != nullptr)
            events_->push_back("Dispose " + name_);
    }
    const std::string& name() const { return name_; }

private:
    std::vector<std::string>* events_;
    std::string name_;
    std::function<void()> onDestroy_;
};

} // namespace hosttest
