// The GenICam entry table: all 21 entries of siso_genicam.dll or none.
#include "support/SimEnvironment.h"

#include "sdk/GenICamEntryTable.h"

#include <gtest/gtest.h>

namespace {

using Library = SimEnvironment::GenICamLibrary;

platform::DynamicLibrary Load(Library which) {
    return platform::DynamicLibrary::Load(SimEnvironment::GenICamLibraryPath(which));
}

/// The table's entries in SGC_ENTRY_NAMES order.
std::vector<void*> Entries(const GenICamEntryTable& t) {
    return {reinterpret_cast<void*>(t.initBoard),
            reinterpret_cast<void*>(t.loadBoardConfiguration),
            reinterpret_cast<void*>(t.freeBoard),
            reinterpret_cast<void*>(t.scanPorts),
            reinterpret_cast<void*>(t.connectCamera),
            reinterpret_cast<void*>(t.disconnectCamera),
            reinterpret_cast<void*>(t.getCameraByIndex),
            reinterpret_cast<void*>(t.getGenICamXML),
            reinterpret_cast<void*>(t.getErrorDescription),
            reinterpret_cast<void*>(t.registerReadFromCamera),
            reinterpret_cast<void*>(t.registerWriteToCamera),
            reinterpret_cast<void*>(t.memoryReadFromCameraWithTimeout),
            reinterpret_cast<void*>(t.memoryWriteToCameraWithTimeout),
            reinterpret_cast<void*>(t.getCameraCount),
            reinterpret_cast<void*>(t.startAcquisition),
            reinterpret_cast<void*>(t.stopAcquisition),
            reinterpret_cast<void*>(t.getCameraInfo),
            reinterpret_cast<void*>(t.powerSwitchExt),
            reinterpret_cast<void*>(t.linkConnect),
            reinterpret_cast<void*>(t.linkDisconnect),
            reinterpret_cast<void*>(t.getCameraPropertyWithType)};
}

} // namespace

TEST(GenICamEntryTable, CompleteLibrary_ResolvesEveryNameInOrder) {
    platform::DynamicLibrary library = Load(Library::Complete);
    ASSERT_TRUE(library) << platform::LastLoadError();
    const std::optional<GenICamEntryTable> table = GenICamEntryTable::Resolve(library);
    ASSERT_TRUE(table);
    EXPECT_TRUE(table->Loaded());
    const std::vector<void*> entries = Entries(*table);
    ASSERT_EQ(entries.size(), static_cast<size_t>(SGC_ENTRY_COUNT));
    for (int i = 0; i < SGC_ENTRY_COUNT; ++i)
        EXPECT_EQ(entries[i], library.resolve(SGC_ENTRY_NAMES[i])) << SGC_ENTRY_NAMES[i];
}

TEST(GenICamEntryTable, LibraryLackingOneName_ResolvesNothing) {
    platform::DynamicLibrary library = Load(Library::Incomplete);
    ASSERT_TRUE(library) << platform::LastLoadError();
    ASSERT_EQ(library.resolve("Sgc_getCameraPropertyWithType"), nullptr);
    EXPECT_FALSE(GenICamEntryTable::Resolve(library));
}

TEST(GenICamEntryTable, NoLibrary_ResolvesNothing) {
    EXPECT_FALSE(GenICamEntryTable::Resolve(platform::DynamicLibrary()));
}

TEST(GenICamEntryTable, EmptyTable_AnswersNoErrorText) {
    const GenICamEntryTable empty;
    EXPECT_FALSE(empty.Loaded());
    EXPECT_STREQ(empty.ErrorText(-4002), "");
    for (void* entry : Entries(empty))
        EXPECT_EQ(entry, nullptr);
}

TEST(GenICamEntryTable, OnlyTheInstallingOwnerClearsTheModuleTable) {
    platform::DynamicLibrary library = Load(Library::Complete);
    ASSERT_TRUE(library);
    const std::optional<GenICamEntryTable> table = GenICamEntryTable::Resolve(library);
    ASSERT_TRUE(table);
    int owner = 0;
    int other = 0;
    InstallGenICam(*table, &owner);
    EXPECT_TRUE(GenICam().Loaded());
    EXPECT_EQ(GenICam().getCameraCount, table->getCameraCount);
    ClearGenICam(&other);
    EXPECT_TRUE(GenICam().Loaded());
    ClearGenICam(&owner);
    EXPECT_FALSE(GenICam().Loaded());
    for (void* entry : Entries(GenICam()))
        EXPECT_EQ(entry, nullptr);
}
