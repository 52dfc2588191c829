// Lossless conversion between byte strings (file names, UTF-8 text) and code points.
#pragma once

#include <string>
#include <string_view>

namespace velmora::platform {

// Decodes UTF-8; every byte that is not part of a valid sequence becomes U+DC80..U+DCFF, so
// EncodeUtf8 gives back the exact bytes.
std::u32string DecodeUtf8(std::string_view bytes);
// Encodes code points as UTF-8; U+DC80..U+DCFF become the raw byte they stand for; other
// surrogates and values above U+10FFFF become U+FFFD.
std::string EncodeUtf8(std::u32string_view text);
void AppendUtf8(std::string& out, char32_t c);
// The UTF-8 byte sequence of any value below U+200000, surrogates and escapes included, so that
// byte order follows code point order.
void AppendUtf8Sequence(std::string& out, char32_t c);

// True when bytes is valid UTF-8 (no escapes needed).
bool IsValidUtf8(std::string_view bytes);

} // namespace velmora::platform
