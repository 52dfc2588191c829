// Stand-ins for the desktop's file manager and portal on a real session bus, recording calls.
#pragma once

#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <string>

namespace velmora::test {

class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList shown;

public slots:
    void ShowItemProperties(const QStringList& uris, const QString& startupId) {
        Q_UNUSED(startupId);
        shown += uris;
    }
};

class FakeOpenUri : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.OpenURI")
public:
    int opened = 0;
    bool asked = false;
    std::string target; // the bytes of the path the received descriptor points at

public slots:
    QDBusObjectPath OpenFile(const QString& parent, const QDBusUnixFileDescriptor& fd,
                             const QVariantMap& options);
};

} // namespace velmora::test
