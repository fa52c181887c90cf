#pragma once
// Writes every image of a grab into a directory on a thread of its own. The grab
// hands images over through a bounded queue and never waits for the disk: an
// image that finds the queue full is dropped and counted.

#include "PngImage.h"

#include <ORV/IImageVPA.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

class ImageSaver {
public:
    enum class Format { Png, Netpbm };

    /// Checks that `directory` exists and is writable (ToolError otherwise) and
    /// starts the writer.
    ImageSaver(std::string directory, Format format, std::size_t capacity = 8);
    /// Writes what is queued, then ends the writer.
    ~ImageSaver();
    ImageSaver(const ImageSaver&) = delete;
    ImageSaver& operator=(const ImageSaver&) = delete;

    /// Grab thread: copies the image into the queue as image `number`, or counts
    /// it as dropped when the queue is full.
    void Offer(ORV::IImageVPA& image, uint32_t number);
    /// Waits until the queue is written; the first write failure as ToolError.
    void Finish();

    uint64_t Written() const;
    uint64_t Dropped() const;

private:
    struct Item {
        uint32_t number;
        PngImage image;
    };
    void Work();
    void WriteOne(const Item& item) const;

    std::string directory_;
    Format format_;
    std::size_t capacity_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Item> queue_;
    bool busy_ = false;
    bool closing_ = false;
    uint64_t written_ = 0;
    uint64_t dropped_ = 0;
    std::string failure_;
    std::thread writer_;
};
