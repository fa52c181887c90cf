#include "RegistryTestFixture.h"

#include "support/ChildProcess.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace platform;
using namespace platform::registry;
using orvtest::ChildProcess;
using orvtest::ReadFileText;
using orvtest::WriteFileText;
using platformtest::RegistryTest;

namespace fs = std::filesystem;

namespace {

const char* const kProductKey = "Software\\Orvento\\Pictora";

class RegistryStoreFileTest : public RegistryTest {
protected:
    void WriteStore(const std::string& text) {
        fs::create_directories(fs::path(StoreFile()).parent_path());
        WriteFileText(StoreFile(), text);
    }

    int32_t ReadDword(Hive hive, const std::string& path, const std::string& name,
                      uint32_t* value) {
        ScopedKey key;
        int32_t result = OpenKey(hive, path, KEY_READ, key.out());
        return result != ERROR_SUCCESS ? result : QueryDword(key.get(), name, value);
    }

    std::string ReadString(Hive hive, const std::string& path, const std::string& name) {
        ScopedKey key;
        if (OpenKey(hive, path, KEY_READ, key.out()) != ERROR_SUCCESS)
            return "<no key>";
        char buffer[256];
        uint32_t size = sizeof buffer;
        if (QueryString(key.get(), name, buffer, &size) != ERROR_SUCCESS)
            return "<no value>";
        return std::string(buffer, size - 1);
    }

    int RunWriter(const std::vector<std::string>& arguments) {
        std::vector<std::string> argv = {ORV_REGISTRY_WRITER};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return ChildProcess(argv).Wait();
    }
};

} // namespace

TEST_F(RegistryStoreFileTest, HandWrittenFile_IsRead) {
    WriteStore("; written by hand\r\n"
               "[HKEY_LOCAL_MACHINE\\Software\\Orvento\\Pictora]\r\n"
               "\"Default Timeout\" = dword:2710\r\n"
               "\"OR ORSisoMe Driver INI-File\"=SZ:\"$(ORVDATA)\\\\Drivers\\\\ORSisoMe.ini\"  \r\n"
               "\r\n"
               "[hkcu\\Software\\Orvento]\n"
               "\"User\"=sz:\"me\"\n");
    uint32_t timeout = 0;
    EXPECT_EQ(ReadDword(Hive::LocalMachine, kProductKey, "Default Timeout", &timeout),
              ERROR_SUCCESS);
    EXPECT_EQ(timeout, 10000u);
    EXPECT_EQ(ReadString(Hive::LocalMachine, kProductKey, "OR ORSisoMe Driver INI-File"),
              "$(ORVDATA)\\Drivers\\ORSisoMe.ini");
    EXPECT_EQ(ReadString(Hive::CurrentUser, "Software\\Orvento", "User"), "me");
}

TEST_F(RegistryStoreFileTest, WrittenFile_HasTheDocumentedFormat) {
    ScopedKey key;
    ASSERT_EQ(CreateKey(Hive::LocalMachine, kProductKey, KEY_ALL_ACCESS, key.out()), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key.get(), "Default Timeout", 10), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key.get(), "Path", "C:\\x \"y\""), ERROR_SUCCESS);
    const std::string text = StoreText();
    EXPECT_NE(text.find("[HKLM\\Software\\Orvento\\Pictora]\n"
                        "\"Default Timeout\"=dword:0000000a\n"
                        "\"Path\"=sz:\"C:\\\\x \\\"y\\\"\"\n"),
              std::string::npos)
        << text;
}

TEST_F(RegistryStoreFileTest, DamagedLines_AreAbsentButValidOnesAreRead) {
    WriteStore("\"Orphan\"=dword:1\n"
               "[HKLM\\Software\\Orvento\\Pictora]\n"
               "\"Good\"=dword:00000001\n"
               "\"Unterminated=sz:\"x\"\n"
               "\"BadEscape\"=sz:\"a\\qb\"\n"
               "\"TooManyDigits\"=dword:123456789\n"
               "\"NoDigits\"=dword:\n"
               "\"Trailing\"=sz:\"x\" junk\n"
               "\"Binary\"=hex:00,01\n"
               "garbage without quotes\n" +
               std::string("\"Nul\0\"=dword:1\n", 15) + std::string(1 << 20, 'x') + "\n" +
               "[HKLM\\Software\\Broken\n"
               "\"UnderBrokenHeader\"=dword:00000005\n"
               "[HKXX\\Software\\Orvento\\Pictora]\n"
               "\"UnknownHive\"=dword:00000006\n"
               "[HKLM\\Software\\Orvento\\Pictora]\n"
               "\"Later\"=sz:\"ok\"\n");
    uint32_t value = 0;
    EXPECT_EQ(ReadDword(Hive::LocalMachine, kProductKey, "Good", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(ReadString(Hive::LocalMachine, kProductKey, "Later"), "ok");
    for (const char* name : {"Orphan", "Unterminated", "BadEscape", "TooManyDigits", "NoDigits",
                             "Trailing", "Binary", "UnderBrokenHeader", "UnknownHive"}) {
        ScopedKey key;
        ASSERT_EQ(OpenKey(Hive::LocalMachine, kProductKey, KEY_READ, key.out()), ERROR_SUCCESS);
        char buffer[16];
        uint32_t size = sizeof buffer;
        EXPECT_EQ(QueryDword(key.get(), name, &value), ERROR_FILE_NOT_FOUND) << name;
        EXPECT_EQ(QueryString(key.get(), name, buffer, &size), ERROR_FILE_NOT_FOUND) << name;
    }
}

TEST_F(RegistryStoreFileTest, Write_KeepsLinesItDoesNotUnderstand) {
    const std::string original = "; comment kept\n"
                                 "[HKLM\\Software\\Orvento\\Pictora]\n"
                                 "# another comment\n"
                                 "\"Broken\"=dword:xyz\n"
                                 "\"Kept\"=dword:00000001\n"
                                 "\n"
                                 "[HKXX\\Other]\n"
                                 "\"Foreign\"=sz:\"f\"\n";
    WriteStore(original);
    ScopedKey key;
    ASSERT_EQ(OpenKey(Hive::LocalMachine, kProductKey, KEY_WRITE, key.out()), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key.get(), "Added", 2), ERROR_SUCCESS);
    const std::string text = StoreText();
    for (const char* line : {"; comment kept\n", "# another comment\n", "\"Broken\"=dword:xyz\n",
                             "\"Kept\"=dword:00000001\n", "[HKXX\\Other]\n",
                             "\"Foreign\"=sz:\"f\"\n", "\"Added\"=dword:00000002\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n---\n" << text;
}

TEST_F(RegistryStoreFileTest, KeyImpliedByChildSection_OpensAndTakesValues) {
    WriteStore("[HKLM\\Software\\Orvento\\Pictora\\Nordwell]\n");
    ScopedKey key;
    ASSERT_EQ(OpenKey(Hive::LocalMachine, kProductKey, KEY_ALL_ACCESS, key.out()), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key.get(), "Default Timeout", 500), ERROR_SUCCESS);
    uint32_t value = 0;
    EXPECT_EQ(QueryDword(key.get(), "Default Timeout", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, 500u);
}

TEST_F(RegistryStoreFileTest, OpenKey_SeesAnotherProcessWritesWhileOpen) {
    ScopedKey key;
    ASSERT_EQ(CreateKey(Hive::LocalMachine, kProductKey, KEY_READ, key.out()), ERROR_SUCCESS);
    uint32_t value = 0;
    ASSERT_EQ(QueryDword(key.get(), "Remote0", &value), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(RunWriter({"HKLM", kProductKey, "Remote", "1"}), 0);
    EXPECT_EQ(QueryDword(key.get(), "Remote0", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, 0u);
}

TEST_F(RegistryStoreFileTest, ConcurrentWriters_InProcessesAndThreads_LoseNothing) {
    constexpr int kWriters = 3;
    constexpr int kValues = 20;
    std::vector<std::unique_ptr<ChildProcess>> children;
    for (int p = 0; p < kWriters; ++p) {
        children.push_back(std::make_unique<ChildProcess>(std::vector<std::string>{
            ORV_REGISTRY_WRITER, "HKLM", kProductKey, "process" + std::to_string(p) + "_",
            std::to_string(kValues)}));
    }
    std::vector<std::thread> threads;
    std::vector<int> failures(kWriters, 0);
    for (int t = 0; t < kWriters; ++t) {
        threads.emplace_back([&, t] {
            ScopedKey key;
            if (CreateKey(Hive::LocalMachine, kProductKey, KEY_WRITE, key.out()) != ERROR_SUCCESS) {
                failures[t] = kValues;
                return;
            }
            for (int i = 0; i < kValues; ++i) {
                std::string name = "thread" + std::to_string(t) + "_" + std::to_string(i);
                failures[t] += SetDword(key.get(), name, static_cast<uint32_t>(i)) != ERROR_SUCCESS;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (const std::unique_ptr<ChildProcess>& child : children)
        EXPECT_EQ(child->Wait(), 0);
    for (int count : failures)
        EXPECT_EQ(count, 0);

    for (int w = 0; w < kWriters; ++w) {
        for (int i = 0; i < kValues; ++i) {
            for (const std::string prefix : {"process", "thread"}) {
                const std::string name = prefix + std::to_string(w) + "_" + std::to_string(i);
                uint32_t value = 0xFFFF;
                EXPECT_EQ(ReadDword(Hive::LocalMachine, kProductKey, name, &value), ERROR_SUCCESS)
                    << name;
                EXPECT_EQ(value, static_cast<uint32_t>(i)) << name;
            }
        }
    }
}

TEST_F(RegistryStoreFileTest, Writes_LeaveNoTemporaryFilesBehind) {
    ScopedKey key;
    ASSERT_EQ(CreateKey(Hive::LocalMachine, kProductKey, KEY_WRITE, key.out()), ERROR_SUCCESS);
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(SetDword(key.get(), "n" + std::to_string(i), 1), ERROR_SUCCESS);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(StoreFile()).parent_path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"registry.ini", "registry.ini.lock"}));
}

TEST_F(RegistryStoreFileTest, StoreUnderAFile_CannotBeWritten) {
    WriteFileText(dir_.File("plainfile"), "x");
    SetEnv("ORV_REGISTRY_FILE", dir_.File("plainfile") + "/registry.ini");
    ScopedKey key;
    EXPECT_EQ(CreateKey(Hive::LocalMachine, kProductKey, KEY_WRITE, key.out()), ERROR_CANTWRITE);
    EXPECT_EQ(key.get(), nullptr);
}

TEST_F(RegistryStoreFileTest, UnreadableStore_IsEmptyAndNeverOverwritten) {
    // A directory where the file should be: nothing can be read from it or replace it.
    fs::create_directories(StoreFile());
    ScopedKey key;
    EXPECT_EQ(OpenKey(Hive::LocalMachine, kProductKey, KEY_READ, key.out()), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(CreateKey(Hive::LocalMachine, kProductKey, KEY_WRITE, key.out()), ERROR_CANTWRITE);
    EXPECT_TRUE(fs::is_directory(StoreFile()));
}

TEST_F(RegistryStoreFileTest, OversizedStore_IsRefusedAndLeftAlone) {
    WriteStore("[HKLM\\Software\\Orvento\\Pictora]\n\"Default Timeout\"=dword:00000001\n");
    fs::resize_file(StoreFile(), 64u * 1024 * 1024); // sparse: cheap to make
    uint32_t value = 0;
    EXPECT_EQ(ReadDword(Hive::LocalMachine, kProductKey, "Default Timeout", &value),
              ERROR_FILE_NOT_FOUND);
    ScopedKey key;
    EXPECT_EQ(CreateKey(Hive::LocalMachine, "Software\\Other", KEY_WRITE, key.out()),
              ERROR_CANTWRITE);
    EXPECT_EQ(fs::file_size(StoreFile()), 64u * 1024 * 1024);
}

TEST_F(RegistryStoreFileTest, SymlinkedStore_IsWrittenThroughTheLink) {
    const std::string target = dir_.File("real.ini");
    WriteFileText(target, "");
    fs::create_directories(fs::path(StoreFile()).parent_path());
    fs::create_symlink(target, StoreFile());
    ScopedKey key;
    ASSERT_EQ(CreateKey(Hive::LocalMachine, kProductKey, KEY_WRITE, key.out()), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key.get(), "Default Timeout", 5), ERROR_SUCCESS);
    EXPECT_TRUE(fs::is_symlink(StoreFile()));
    EXPECT_NE(ReadFileText(target).find("\"Default Timeout\"=dword:00000005"), std::string::npos);
}

TEST_F(RegistryStoreFileTest, ExistingFilePermissions_AreKept) {
    WriteStore("");
    fs::permissions(StoreFile(), fs::perms::owner_read | fs::perms::owner_write);
    ScopedKey key;
    ASSERT_EQ(CreateKey(Hive::LocalMachine, kProductKey, KEY_WRITE, key.out()), ERROR_SUCCESS);
    EXPECT_EQ(fs::status(StoreFile()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}
