#include "support/MessageBoxCapture.h"

#include <platform/MessageBox.h>

MessageBoxCapture::MessageBoxCapture() {
    platform::SetMessageBoxHook(
        [this](const std::string& caption, const std::string& text, uint32_t flags) {
            std::lock_guard<std::mutex> guard(mutex_);
            boxes_.push_back(CapturedMessageBox{caption, text, flags});
            return platform::kMessageBoxAnswerOk;
        });
}

MessageBoxCapture::~MessageBoxCapture() {
    platform::SetMessageBoxHook(nullptr);
}

std::vector<CapturedMessageBox> MessageBoxCapture::boxes() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return boxes_;
}

std::size_t MessageBoxCapture::count() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return boxes_.size();
}
