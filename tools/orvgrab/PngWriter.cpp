#include "PngWriter.h"

#include "ToolError.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// The few file calls whose names or forms differ between the C run-times.
#ifdef _WIN32
// Windows keeps no execute bit and no per-file mode worth copying; the
// directory's permissions show when the temporary file is made.
bool DirectoryWritable(const fs::path& directory) {
    return ::_waccess(directory.c_str(), 2) == 0;
}
int MakeTemporary(std::string& pattern) {
    if (::_mktemp_s(pattern.data(), pattern.size() + 1) != 0)
        return -1;
    return ::_open(pattern.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
                   _S_IREAD | _S_IWRITE);
}
void CopyMode(int, const fs::path&) {}
int SyncDescriptor(int descriptor) {
    return ::_commit(descriptor);
}
int CloseDescriptor(int descriptor) {
    return ::_close(descriptor);
}
#else
bool DirectoryWritable(const fs::path& directory) {
    return ::access(directory.c_str(), W_OK | X_OK) == 0;
}
int MakeTemporary(std::string& pattern) {
    return ::mkstemp(pattern.data());
}
// mkstemp makes the file private; the PNG gets the mode of the file it
// replaces, or the usual one.
void CopyMode(int descriptor, const fs::path& target) {
    struct stat existing {};
    ::fchmod(descriptor, ::stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644);
}
int SyncDescriptor(int descriptor) {
    return ::fsync(descriptor);
}
int CloseDescriptor(int descriptor) {
    return ::close(descriptor);
}
#endif

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

/// libpng reports errors by longjmp; the message is kept here for the exception
/// thrown once control is back in C++ frames.
struct ErrorRecord {
    char message[256] = "unknown libpng error";
};

void OnError(png_structp png, png_const_charp text) {
    auto* record = static_cast<ErrorRecord*>(png_get_error_ptr(png));
    // libpng's "Write Error" hides the system's reason (a full disk, a size limit).
    const int reason = errno;
    if (reason != 0 && std::strcmp(text, "Write Error") == 0)
        std::snprintf(record->message, sizeof record->message, "%s", std::strerror(reason));
    else
        std::snprintf(record->message, sizeof record->message, "%s", text);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

/// Owns the write and info structures.
class PngStructs {
public:
    explicit PngStructs(ErrorRecord* errors)
        : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, errors, OnError, OnWarning)),
          info_(png_ != nullptr ? png_create_info_struct(png_) : nullptr) {}
    ~PngStructs() { png_destroy_write_struct(&png_, info_ != nullptr ? &info_ : nullptr); }
    PngStructs(const PngStructs&) = delete;
    PngStructs& operator=(const PngStructs&) = delete;
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_;
    png_infop info_;
};

// Nothing with a destructor lives in this frame: longjmp would skip it.
bool WriteAll(png_structp png, png_infop info, std::FILE* file, const PngImage& image,
              png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, image.width, image.height, image.bitDepth,
                 image.channels == 3 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (image.significantBits < image.bitDepth) {
        png_color_8 bits{};
        const auto value = static_cast<png_byte>(image.significantBits);
        bits.red = bits.green = bits.blue = bits.gray = value;
        png_set_sBIT(png, info, &bits);
    }
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

/// The file a write to `path` replaces: `path`, or the file a link there names.
fs::path Target(const std::string& path) {
    fs::path target = path;
    std::error_code error;
    for (int links = 0; fs::is_symlink(target, error); ++links) {
        if (links == 40)
            throw ToolError("cannot write " + path + ": too many levels of links");
        const fs::path next = fs::read_symlink(target, error);
        if (error)
            throw ToolError("cannot write " + path + ": " + error.message());
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    const fs::file_status status = fs::status(target, error);
    if (fs::exists(status) && !fs::is_regular_file(status))
        throw ToolError("cannot write " + path + ": " + target.string() +
                        (fs::is_directory(status) ? " is a directory" : " is not a regular file") +
                        "; orvgrab replaces only regular files");
    const fs::path directory = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    if (!DirectoryWritable(directory))
        throw ToolError("cannot write " + path + ": the directory " + directory.string() + ": " +
                        std::strerror(errno));
    return target;
}

/// A file made next to the target, removed unless it was renamed over it.
class TemporaryFile {
public:
    explicit TemporaryFile(const fs::path& target) {
        path_ = target.string() + ".orvgrab-XXXXXX";
        descriptor_ = MakeTemporary(path_);
        if (descriptor_ < 0)
            throw ToolError("cannot write " + target.string() + ": " + std::strerror(errno));
        CopyMode(descriptor_, target);
    }
    ~TemporaryFile() {
        if (descriptor_ >= 0)
            CloseDescriptor(descriptor_);
        if (!renamed_)
            std::remove(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int TakeDescriptor() { return std::exchange(descriptor_, -1); }
    void RenameTo(const fs::path& target, const std::string& given) {
        // std::rename does not replace an existing file on Windows; fs::rename does.
        std::error_code error;
        fs::rename(path_, target, error);
        if (error)
            throw ToolError("cannot write " + given + ": " + error.message());
        renamed_ = true;
    }

private:
    std::string path_;
    int descriptor_ = -1;
    bool renamed_ = false;
};

} // namespace

void PngWriter::CheckTarget(const std::string& path) {
    Target(path);
}

void PngWriter::Write(const std::string& path, const PngImage& image) {
    if (image.bytes.size() != image.RowBytes() * image.height || image.width == 0 ||
        image.height == 0)
        throw ToolError("cannot write " + path + ": the image is empty or inconsistent");
    const fs::path target = Target(path);
    TemporaryFile temporary(target);
    std::unique_ptr<std::FILE, FileCloser> file(::fdopen(temporary.TakeDescriptor(), "wb"));
    if (!file)
        throw ToolError("cannot write " + path + ": " + std::strerror(errno));

    std::vector<png_bytep> rows(image.height);
    for (uint32_t y = 0; y < image.height; ++y)
        rows[y] = const_cast<png_bytep>(image.bytes.data() + y * image.RowBytes());

    ErrorRecord errors;
    PngStructs structs(&errors);
    if (structs.png() == nullptr || structs.info() == nullptr)
        throw ToolError("cannot write " + path + ": libpng could not start");
    errno = 0;
    const bool written = WriteAll(structs.png(), structs.info(), file.get(), image, rows.data());
    if (!written)
        throw ToolError("cannot write " + path + ": " + errors.message);
    // Buffered data that does not fit (a full disk, a file-size limit) shows at the
    // flush or the close.
    if (std::fflush(file.get()) != 0 || SyncDescriptor(::fileno(file.get())) != 0 ||
        std::fclose(file.release()) != 0)
        throw ToolError("cannot write " + path + ": " + std::strerror(errno));
    temporary.RenameTo(target, path);
}
