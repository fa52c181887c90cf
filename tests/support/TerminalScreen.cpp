#include "support/TerminalScreen.h"

#include <cstdlib>
#include <sstream>

namespace orvtest {
namespace {

std::vector<int> Numbers(const std::string& parameters) {
    std::vector<int> numbers;
    std::istringstream fields(parameters);
    for (std::string field; std::getline(fields, field, ';');)
        numbers.push_back(field.empty() ? 0 : std::atoi(field.c_str()));
    if (numbers.empty())
        numbers.push_back(0);
    return numbers;
}

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}

} // namespace

TerminalScreen::TerminalScreen(const std::string& output) : output_(output) {
    std::size_t i = 0;
    while (i < output.size()) {
        const char c = output[i++];
        if (c != '\x1b') {
            if (c != '\r' && c != '\a')
                Show(c);
            continue;
        }
        if (i >= output.size())
            break;
        const char kind = output[i++];
        if (kind == '[') { // control sequence: parameters, intermediates, a final byte
            const std::size_t start = i;
            while (i < output.size() && !InRange(output[i], 0x40, 0x7e))
                ++i;
            if (i >= output.size())
                break;
            const std::string parameters = output.substr(start, i - start);
            const char final = output[i++];
            const bool isPrivate = !parameters.empty() && !InRange(parameters[0], '0', ';');
            if (final == 'm' && !isPrivate)
                Select(parameters);
            else if (final == 'C' && !isPrivate) // cursor forward over blanks
                for (int n = Numbers(parameters)[0]; n > 0; --n)
                    Show(' ');
        } else if (kind == ']') { // operating system command, ended by BEL or ESC backslash
            const std::size_t start = i;
            while (i < output.size() && output[i] != '\a' &&
                   !(output[i] == '\x1b' && i + 1 < output.size() && output[i + 1] == '\\'))
                ++i;
            const std::string command = output.substr(start, i - start);
            i += i < output.size() && output[i] == '\a' ? 1 : 2;
            if (command.rfind("0;", 0) == 0 || command.rfind("2;", 0) == 0)
                title_ = command.substr(2);
        }
        // Any other escape is two bytes long and changes nothing this class keeps.
    }
}

void TerminalScreen::Select(const std::string& parameters) {
    const std::vector<int> numbers = Numbers(parameters);
    for (std::size_t k = 0; k < numbers.size(); ++k) {
        const int n = numbers[k];
        if (n == 0)
            current_ = Colours{};
        else if (n == 1)
            current_.bold = true;
        else if (n == 22)
            current_.bold = false;
        else if (InRange(n, 30, 37) || InRange(n, 90, 97) || n == 39)
            current_.foreground = n;
        else if (InRange(n, 40, 47) || InRange(n, 100, 107) || n == 49)
            current_.background = n;
        else if ((n == 38 || n == 48) && k + 1 < numbers.size()) // indexed or direct colour
            k += numbers[k + 1] == 5 ? 2 : 4;
    }
}

void TerminalScreen::Show(char c) {
    int foreground = current_.foreground;
    // Bold is how some renderers ask for the intense colours.
    if (current_.bold && InRange(foreground, 30, 37))
        foreground += 60;
    text_ += c;
    colours_.push_back(std::to_string(foreground) + "/" + std::to_string(current_.background));
}

std::string TerminalScreen::ColoursOf(const std::string& text) const {
    const std::size_t at = text_.find(text);
    if (at == std::string::npos)
        return "missing";
    std::string found;
    for (std::size_t k = at; k < at + text.size(); ++k) {
        if (text_[k] == ' ')
            continue;
        if (found.empty())
            found = colours_[k];
        else if (colours_[k] != found)
            return "mixed";
    }
    return found;
}

std::string BlackAsOwnBackground(const std::string& colours) {
    const std::size_t slash = colours.find('/');
    if (slash != std::string::npos && colours.substr(slash) == "/40")
        return colours.substr(0, slash) + "/49";
    return colours;
}

} // namespace orvtest
