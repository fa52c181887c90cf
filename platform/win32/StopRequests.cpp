#include "WindowsApi.h"

#include <platform/StopRequests.h>

#include <atomic>
#include <string>

namespace platform {
namespace {

// The events another process sets to ask this one to stop; auto-reset, so that
// a second request is seen as a second one.
std::string EventName(uint32_t processId, StopKind kind) {
    return std::string("Local\\orvStop-") + std::to_string(processId) +
           (kind == StopKind::Interrupt ? "-interrupt" : "-terminate");
}

} // namespace

struct StopRequests::Events {
    HANDLE interrupt = nullptr;
    HANDLE terminate = nullptr;
};

namespace {

// The console's control handler runs on a thread of its own, with no context.
std::atomic<StopRequests::Events*>& Installed() {
    static std::atomic<StopRequests::Events*> events{nullptr};
    return events;
}

BOOL WINAPI OnConsoleControl(DWORD type) {
    StopRequests::Events* events = Installed().load();
    if (events == nullptr)
        return FALSE;
    ::SetEvent(type == CTRL_C_EVENT ? events->interrupt : events->terminate);
    if (type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT) {
        // The system ends the process when this returns: leave the program the
        // few seconds Windows grants to finish its clean-up and return from main.
        ::Sleep(4500);
    }
    return TRUE;
}

} // namespace

StopRequests::StopRequests() : events_(new Events) {
    const uint32_t self = ::GetCurrentProcessId();
    events_->interrupt =
        ::CreateEventA(nullptr, FALSE, FALSE, EventName(self, StopKind::Interrupt).c_str());
    events_->terminate =
        ::CreateEventA(nullptr, FALSE, FALSE, EventName(self, StopKind::Terminate).c_str());
    Installed().store(events_);
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

StopRequests::~StopRequests() {
    ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    Installed().store(nullptr);
    if (events_->interrupt != nullptr)
        ::CloseHandle(events_->interrupt);
    if (events_->terminate != nullptr)
        ::CloseHandle(events_->terminate);
    delete events_;
}

StopKind StopRequests::Next(std::chrono::milliseconds wait) {
    HANDLE handles[2];
    StopKind kinds[2];
    DWORD count = 0;
    if (events_->interrupt != nullptr) {
        handles[count] = events_->interrupt;
        kinds[count++] = StopKind::Interrupt;
    }
    if (events_->terminate != nullptr) {
        handles[count] = events_->terminate;
        kinds[count++] = StopKind::Terminate;
    }
    const DWORD bound = wait.count() <= 0 ? 0 : static_cast<DWORD>(wait.count());
    if (count == 0) {
        ::Sleep(bound);
        return StopKind::None;
    }
    const DWORD result = ::WaitForMultipleObjects(count, handles, FALSE, bound);
    if (result >= WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + count)
        return kinds[result - WAIT_OBJECT_0];
    return StopKind::None;
}

bool RequestStop(uint32_t processId, StopKind kind) {
    if (kind == StopKind::None || processId == 0)
        return false;
    HANDLE event = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, EventName(processId, kind).c_str());
    if (event == nullptr)
        return false;
    const BOOL set = ::SetEvent(event);
    ::CloseHandle(event);
    return set != FALSE;
}

} // namespace platform
