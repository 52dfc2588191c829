// Starting a program that outlives us, with its arguments passed byte for byte.
#pragma once

#include "core/platform/Error.h"

#include <string>
#include <vector>

namespace velmora::shell {

class EProcessStartError : public platform::Exception {
public:
    using platform::Exception::Exception;
};

class DetachedProcess {
public:
    // Runs argv[0] (looked up in PATH when it holds no "/") with argv as its argument vector,
    // never through a shell, in a session of its own, and returns once it runs (or could not be
    // run) without waiting for it to end. File names among the arguments keep their exact bytes.
    // Raises EProcessStartError with the system's reason when the program cannot be started.
    static void Start(const std::vector<std::string>& argv);

    // The program file that Start would run for name; empty when there is none.
    static std::string FindProgram(const std::string& name);
};

} // namespace velmora::shell
