// Lossless text conversion for file names.
#include "ui/platform/QtText.h"

#include "core/platform/StringList.h"
#include "core/platform/Utf8.h"

namespace velmora::ui {

QString ToQString(std::string_view bytes) {
    std::u32string u = platform::DecodeUtf8(bytes);
    QString s;
    s.reserve(static_cast<qsizetype>(u.size()));
    for (char32_t c : u) {
        if (c >= 0x10000) {
            s.append(QChar(QChar::highSurrogate(c)));
            s.append(QChar(QChar::lowSurrogate(c)));
        } else {
            s.append(QChar(static_cast<char16_t>(c)));
        }
    }
    return s;
}

std::string FromQString(const QString& text) {
    // Walk UTF-16 units by hand: a lone low surrogate is an escaped byte, not an error.
    std::u32string u;
    u.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            u += QChar::surrogateToUcs4(c, text[i + 1].unicode());
            ++i;
        } else {
            u += c;
        }
    }
    return platform::EncodeUtf8(u);
}

QStringList ToQStringList(const platform::StringList& list) {
    QStringList items;
    items.reserve(list.Count());
    for (int i = 0; i < list.Count(); ++i)
        items << ToQString(list.Get(i));
    return items;
}

} // namespace velmora::ui
