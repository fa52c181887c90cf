#pragma once
// Heap-allocated interface tables that record their disposal. Each Kind is a
// class of its own, as each host interface table is.

#include <ORV/IDisposableType.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace hosttest {

template <int Kind> class TrackedTable : public ORV::IDisposableType {
public:
    explicit TrackedTable(std::vector<std::string>* events, std::function<void()> onDispose = {})
        : events_(events), onDispose_(std::move(onDispose)) {}
    void Dispose() override {
        if (events_ != nullptr)
            events_->push_back("Dispose table " + std::to_string(Kind));
        if (onDispose_)
            onDispose_();
        delete this;
    }

private:
    std::vector<std::string>* events_;
    std::function<void()> onDispose_;
};

} // namespace hosttest
