#pragma once
// A fresh directory below the temporary area ($TMPDIR or /tmp; the user's
// temporary folder on Windows), removed with
// its content on destruction: every test's files live in one of these.
//
//   orvtest::TempDir dir("orv-sim");
//   const std::string applet = dir.Write("applet.ini", "[dma0]\nwidth = 64\n");

#include <string>

namespace orvtest {

class TempDir {
public:
    /// `prefix` starts the directory's name, so a leftover says which tests made it.
    explicit TempDir(const std::string& prefix = "orv-test");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    /// The directory, without a trailing '/'.
    const std::string& path() const { return path_; }
    /// The path of `name` below the directory (the file need not exist).
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    /// Writes `text` to `name` below the directory, making the folders on the way,
    /// and answers the file's path.
    std::string Write(const std::string& name, const std::string& text) const;

private:
    std::string path_;
};

/// The whole content of a file; empty when it cannot be read.
std::string ReadFileText(const std::string& path);
/// The text a program wrote in text mode, with "\n" line ends whichever the
/// system wrote ("\r\n" on Windows); a lone "\r" stays.
std::string ReadWrittenText(const std::string& path);
/// Writes (or replaces) a file; throws when it cannot.
void WriteFileText(const std::string& path, const std::string& text);

} // namespace orvtest
