#pragma once
// Records the message boxes the code under test shows, instead of printing them.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

struct CapturedMessageBox {
    std::string caption;
    std::string text;
    uint32_t flags = 0;
};

/// Installs a platform message-box hook for the length of a scope; every box is
/// answered with OK and kept. Thread-safe. One capture at a time per process.
class MessageBoxCapture {
public:
    MessageBoxCapture();
    ~MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

    std::vector<CapturedMessageBox> boxes() const;
    std::size_t count() const;

private:
    mutable std::mutex mutex_; // guards boxes_
    std::vector<CapturedMessageBox> boxes_;
};
