#include <nwLogging/ConsoleTarget.h>
#include <nwLogging/SystemError.h>

#include <platform/Console.h>

namespace nwLogging {

basic_console_target::basic_console_target(const std::string& title, int columns, int rows,
                                           bool minimise, bool colours)
    : colours_(colours) {
    // Sizing and minimising belong to a console window this process opened
    // itself; the platform opens none on POSIX, so there is nothing to size.
    (void)columns;
    (void)rows;
    (void)minimise;
    if (platform::HasConsole())
        console_ = true;
    else
        console_ = platform::AllocateConsole() || platform::AttachParentConsole();
    if (!title.empty()) {
        const std::error_code error = platform::SetConsoleTitle(title);
        if (error)
            throw system_error(error.value());
    }
}

uint16_t basic_console_target::attribute_for(uint32_t level) {
    switch (level) {
    case level_fatal:
        return platform::kConsoleBlackOnRed;
    case level_err:
        return platform::kConsoleLightRed;
    case level_warn:
        return platform::kConsoleYellow;
    case level_trace:
        return platform::kConsoleGrey;
    case level_debug:
        return platform::kConsoleBlackOnGrey;
    default:
        return platform::kConsoleWhite;
    }
}

void basic_console_target::do_write(const basic_timed_msgstate& record, const std::string& text) {
    if (!console_)
        return;
    line_.clear();
    append_line(line_, record, text);
    // Colour, line, default colours and line end, written until the terminal
    // takes no more.
    platform::WriteConsoleLine(line_, attribute_for(record.level), platform::kStandardOutput,
                               colours_);
}

} // namespace nwLogging
