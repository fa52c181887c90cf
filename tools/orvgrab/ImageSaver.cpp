#include "ImageSaver.h"

#include "PngWriter.h"
#include "ToolError.h"
#include "VpaReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <unistd.h>

ImageSaver::ImageSaver(std::string directory, Format format, std::size_t capacity)
    : directory_(std::move(directory)), format_(format), capacity_(capacity) {
    std::error_code error;
    if (!std::filesystem::is_directory(directory_, error))
        throw ToolError("cannot save into " + directory_ + ": not a directory");
    if (::access(directory_.c_str(), W_OK | X_OK) != 0)
        throw ToolError("cannot save into " + directory_ + ": " + std::strerror(errno));
    writer_ = std::thread([this] { Work(); });
}

ImageSaver::~ImageSaver() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    writer_.join();
}

void ImageSaver::Offer(ORV::IImageVPA& image, uint32_t number) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (queue_.size() >= capacity_ || !failure_.empty()) {
            ++dropped_;
            return;
        }
    }
    // Copied outside the lock; only this thread adds, so the room is still there.
    Item item{number, VpaReader::Read(image)};
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(std::move(item));
    }
    changed_.notify_all();
}

void ImageSaver::Finish() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return (queue_.empty() && !busy_) || !failure_.empty(); });
    if (!failure_.empty())
        throw ToolError(failure_);
}

uint64_t ImageSaver::Written() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return written_;
}

uint64_t ImageSaver::Dropped() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return dropped_;
}

void ImageSaver::Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !queue_.empty() || closing_; });
        if (queue_.empty())
            return;
        Item item = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        std::string failure;
        try {
            WriteOne(item);
        } catch (const std::exception& e) {
            failure = e.what();
        }
        lock.lock();
        busy_ = false;
        if (failure.empty())
            ++written_;
        else if (failure_.empty())
            failure_ = failure;
        changed_.notify_all();
    }
}

void ImageSaver::WriteOne(const Item& item) const {
    char name[32];
    const bool png = format_ == Format::Png;
    std::snprintf(name, sizeof name, "image-%06u.%s", item.number,
                  png                        ? "png"
                  : item.image.channels == 3 ? "ppm"
                                             : "pgm");
    const std::string path = (std::filesystem::path(directory_) / name).string();
    if (png) {
        PngWriter::Write(path, item.image);
        return;
    }
    // Netpbm: a text header, then the samples as PngImage holds them (rows top
    // down, interleaved, 16-bit big-endian), which is exactly the raw layout.
    const PngImage& image = item.image;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << (image.channels == 3 ? "P6" : "P5") << "\n"
        << image.width << " " << image.height << "\n"
        << (image.bitDepth == 16 ? 65535 : 255) << "\n";
    out.write(reinterpret_cast<const char*>(image.bytes.data()),
              static_cast<std::streamsize>(image.bytes.size()));
    out.close();
    if (!out)
        throw ToolError("cannot write " + path + ": " + std::strerror(errno));
}
