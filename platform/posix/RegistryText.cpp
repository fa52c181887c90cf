#include "RegistryText.h"

#include <cctype>

namespace platform {
namespace registry {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

} // namespace

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool SplitKeyPath(const std::string& path, std::vector<std::string>* elements) {
    elements->clear();
    std::string element;
    for (char c : path) {
        if (c == '\\') {
            if (!element.empty())
                elements->push_back(element);
            element.clear();
            continue;
        }
        if (IsControl(static_cast<unsigned char>(c)))
            return false;
        element += c;
    }
    if (!element.empty())
        elements->push_back(element);
    return true;
}

std::string JoinKeyPath(const std::vector<std::string>& elements) {
    std::string path;
    for (const std::string& element : elements) {
        if (!path.empty())
            path += '\\';
        path += element;
    }
    return path;
}

std::string Quote(const std::string& text) {
    static const char kHex[] = "0123456789abcdef";
    std::string quoted = "\"";
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        switch (c) {
        case '\\':
            quoted += "\\\\";
            break;
        case '"':
            quoted += "\\\"";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (IsControl(u)) {
                quoted += "\\x";
                quoted += kHex[u >> 4];
                quoted += kHex[u & 0x0F];
            } else {
                quoted += c;
            }
        }
    }
    quoted += '"';
    return quoted;
}

bool Unquote(const std::string& line, size_t* pos, std::string* text) {
    size_t i = *pos;
    if (i >= line.size() || line[i] != '"')
        return false;
    ++i;
    text->clear();
    while (i < line.size()) {
        char c = line[i++];
        if (c == '"') {
            *pos = i;
            return true;
        }
        if (c != '\\') {
            *text += c;
            continue;
        }
        if (i >= line.size())
            return false;
        char e = line[i++];
        switch (e) {
        case '\\':
        case '"':
            *text += e;
            break;
        case 'n':
            *text += '\n';
            break;
        case 'r':
            *text += '\r';
            break;
        case 't':
            *text += '\t';
            break;
        case 'x': {
            if (i + 2 > line.size())
                return false;
            int high = HexDigit(line[i]);
            int low = HexDigit(line[i + 1]);
            if (high < 0 || low < 0)
                return false;
            *text += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
            return false;
        }
    }
    return false; // no closing quote
}

} // namespace registry
} // namespace platform
