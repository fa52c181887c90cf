#include "LastError.h"

#include <cstdio>
#include <cstring>

namespace sim {

int LastError::Set(int code, const char* codeText, const char* detail) {
    std::lock_guard<std::mutex> lock(mutex_);
    code_ = code;
    if (detail != nullptr && detail[0] != '\0') {
        std::snprintf(text_, sizeof(text_), "%s: %s", codeText, detail);
    } else {
        std::snprintf(text_, sizeof(text_), "%s", codeText);
    }
    return code;
}

int LastError::Code() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return code_;
}

void LastError::CopyText(char* out) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::memcpy(out, text_, sizeof(text_));
}

} // namespace sim
