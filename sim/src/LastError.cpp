#include "LastError.h"

#include <cstdio>
#include <cstring>

namespace sim {

int LastError::set(int code, const char* codeText, const char* detail) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_code = code;
    if (detail != nullptr && detail[0] != '\0') {
        std::snprintf(m_text, sizeof(m_text), "%s: %s", codeText, detail);
    } else {
        std::snprintf(m_text, sizeof(m_text), "%s", codeText);
    }
    return code;
}

int LastError::code() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_code;
}

void LastError::copyText(char* out) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::memcpy(out, m_text, sizeof(m_text));
}

} // namespace sim
