// Reads file details on a worker thread. Only the newest request counts: while one read runs,
// later requests replace each other, so arrowing through a long list reads the file the
// selection stops on, not every file passed on the way.
#pragma once

#include "core/workspace/FileDetails.h"
#include "ui/tags/VisualId3v2.h"

#include <QObject>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace velmora::ui {

// A file's details and the picture the viewer shows first, both made ready on the worker.
struct LoadedDetails {
    workspace::FileDetails Details;
    PreparedPicture FirstPicture;
};

class FileDetailsLoader : public QObject {
    Q_OBJECT
public:
    explicit FileDetailsLoader(QObject* parent = nullptr);
    ~FileDetailsLoader() override;

    void Request(const std::string& path);
    // Drops the request on its way, if any: its details are not delivered.
    void Cancel();
    // True from a request until its details have been delivered.
    bool Busy() const { return requested_ != delivered_; }

signals:
    // The details of the newest request, on the user-interface thread.
    void Loaded(std::shared_ptr<const velmora::ui::LoadedDetails> details);

private:
    void Work();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<std::pair<unsigned, std::string>> pending_; // guarded by mutex_
    bool stop_ = false;                                       // guarded by mutex_
    unsigned requested_ = 0;                                  // UI thread only
    unsigned delivered_ = 0;                                  // UI thread only
    std::thread worker_;
};

} // namespace velmora::ui
