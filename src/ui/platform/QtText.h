// Conversions between the core's byte strings and QString that keep undecodable bytes.
#pragma once

#include <QString>
#include <string>

namespace velmora::ui {

// UTF-8 bytes -> QString; bytes that are not UTF-8 become U+DC80..U+DCFF.
QString ToQString(const std::string& bytes);
// QString -> bytes; U+DC80..U+DCFF become the raw bytes again.
std::string FromQString(const QString& text);

} // namespace velmora::ui
