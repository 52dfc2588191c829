// Error classes shared by every subsystem, and the %s/%d message formatter.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace velmora::platform {

// The general error: carries the text shown to the user when it reaches the event loop.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// The silent abort: unwinds an action; the event loop shows nothing for it.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

// Errors of the component family (watcher, chooser).
class EComponentError : public Exception {
public:
    using Exception::Exception;
};

// Stream and file failures.
class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// Index out of range in a string list.
class EStringListError : public Exception {
public:
    using Exception::Exception;
};

// A text that does not convert to the value asked for.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

using FormatArg = std::variant<std::string, std::int64_t>;

// Fills "%s" and "%d" placeholders in order; "%%" is a percent sign. Missing arguments leave
// the placeholder as it stands, so a wrong call never crashes.
std::string Format(std::string_view pattern, const std::vector<FormatArg>& args);

// Raises an abort that the event loop shows nothing for.
[[noreturn]] void Abort();

} // namespace velmora::platform
