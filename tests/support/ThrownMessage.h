// The message of an error a call throws, for tests of failure texts.
#pragma once

#include <string>

namespace velmora::test {

// The message of the E that f throws; empty when f throws nothing.
template <class E, class F> std::string ThrownMessage(F&& f) {
    try {
        f();
    } catch (const E& e) {
        return e.Message();
    }
    return {};
}

} // namespace velmora::test
