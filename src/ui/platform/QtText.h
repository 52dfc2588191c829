// Conversions between the core's byte strings and QString that keep undecodable bytes.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

namespace velmora::platform {
class StringList;
}

namespace velmora::ui {

// UTF-8 bytes -> QString; bytes that are not UTF-8 become U+DC80..U+DCFF.
QString ToQString(std::string_view bytes);
// QString -> bytes; U+DC80..U+DCFF become the raw bytes again.
std::string FromQString(const QString& text);
// Every string of the list, in order, as ToQString gives it.
QStringList ToQStringList(const platform::StringList& list);

} // namespace velmora::ui
