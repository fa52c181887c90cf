#pragma once
// The module's log-site convention: the enabled test comes first and nothing is
// formatted when the level is off; then open a stream, set level and location,
// insert the pieces, close.
//
//   NWLOG(logger_, nwLogging::level_info, "Board destructed");
//   NWLOG_AT(logger_, nwLogging::level_err, "DriverBoard", 59, "MCF = " << path);
//   NWLOG_HERE(logger_, nwLogging::level_warn, "DriverChannel", "bad value " << v);
//
// The location is "<file>(<line>)", for example "DriverBoard(59)".

#include <nwLogging/LogStream.h>

#define NWLOG_STRINGIFY_(x) #x
#define NWLOG_STRINGIFY(x) NWLOG_STRINGIFY_(x)

#define NWLOG_LOCATED_(loggerExpr, levelValue, locationText, pieces)                               \
    do {                                                                                           \
        const ::nwLogging::logger_ptr& nwlogLogger_ = (loggerExpr);                                \
        if (nwlogLogger_ && nwlogLogger_->enabled(levelValue)) {                                   \
            ::nwLogging::basic_logstream nwlogStream_(nwlogLogger_);                               \
            nwlogStream_.set_level(levelValue);                                                    \
            nwlogStream_.set_location(locationText);                                               \
            nwlogStream_ << pieces;                                                                \
        }                                                                                          \
    } while (0)

/// A record without source location (info, trace, debug lines).
#define NWLOG(loggerExpr, levelValue, pieces) NWLOG_LOCATED_(loggerExpr, levelValue, "", pieces)

/// A record whose location is a fixed file name and line.
#define NWLOG_AT(loggerExpr, levelValue, file, line, pieces)                                       \
    NWLOG_LOCATED_(loggerExpr, levelValue, file "(" NWLOG_STRINGIFY(line) ")", pieces)

/// A record located at the current line of `file`.
#define NWLOG_HERE(loggerExpr, levelValue, file, pieces)                                           \
    NWLOG_LOCATED_(loggerExpr, levelValue, file "(" NWLOG_STRINGIFY(__LINE__) ")", pieces)
