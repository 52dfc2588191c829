// The kinds of directory change a watched item can signal, and a set of them.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace velmora::watch {

enum TChangeAction : std::uint8_t {
    caChangeFileName,   // a file created, deleted or renamed
    caChangeDirName,    // a folder created, deleted or renamed
    caChangeAttributes, // permissions, owner, times set explicitly
    caChangeSize,       // contents written
    caChangeLastWrite,  // contents written
    caChangeSecurity,   // permissions, owner, extended attributes
};

// A set of change kinds, one bit per kind in the order above.
class TChangeActions {
public:
    constexpr TChangeActions() = default;
    constexpr TChangeActions(std::initializer_list<TChangeAction> actions) {
        for (TChangeAction a : actions)
            Include(a);
    }

    constexpr bool Contains(TChangeAction a) const { return (bits_ & Bit(a)) != 0; }
    constexpr TChangeActions& Include(TChangeAction a) {
        bits_ = static_cast<std::uint8_t>(bits_ | Bit(a));
        return *this;
    }
    constexpr bool operator==(const TChangeActions&) const = default;

private:
    static constexpr std::uint8_t Bit(TChangeAction a) {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(a));
    }
    std::uint8_t bits_ = 0;
};

// What a new item watches: names of files and of folders.
inline constexpr TChangeActions DefaultChangeActions{caChangeFileName, caChangeDirName};

} // namespace velmora::watch
