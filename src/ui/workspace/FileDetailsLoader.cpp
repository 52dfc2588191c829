// The file-details worker.
#include "ui/workspace/FileDetailsLoader.h"

#include <QMetaObject>

namespace velmora::ui {

FileDetailsLoader::FileDetailsLoader(QObject* parent) : QObject(parent) {
    worker_ = std::thread([this] { Work(); });
}

FileDetailsLoader::~FileDetailsLoader() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        pending_.reset();
    }
    wake_.notify_one();
    worker_.join();
}

void FileDetailsLoader::Request(const std::string& path) {
    {
        std::lock_guard lock(mutex_);
        pending_.emplace(++requested_, path);
    }
    wake_.notify_one();
}

void FileDetailsLoader::Cancel() {
    {
        std::lock_guard lock(mutex_);
        pending_.reset();
    }
    // A read already running delivers under an older number, which is then dropped.
    delivered_ = ++requested_;
}

void FileDetailsLoader::Work() {
    for (;;) {
        std::pair<unsigned, std::string> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stop_ || pending_.has_value(); });
            if (stop_) return;
            job = std::move(*pending_);
            pending_.reset();
        }
        auto loaded = std::make_shared<LoadedDetails>();
        loaded->Details = workspace::FileDetails::Read(job.second);
        if (loaded->Details.Id3v2)
            loaded->FirstPicture = VisualId3v2::PrepareFirstPicture(*loaded->Details.Id3v2);
        std::shared_ptr<const LoadedDetails> details = std::move(loaded);
        // Delivered through this object's event queue: dropped when the object goes first.
        QMetaObject::invokeMethod(
            this,
            [this, id = job.first, details] {
                if (id != requested_) return; // a newer request is on its way
                delivered_ = id;
                emit Loaded(details);
            },
            Qt::QueuedConnection);
    }
}

} // namespace velmora::ui
