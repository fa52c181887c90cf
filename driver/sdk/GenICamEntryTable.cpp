#include "sdk/GenICamEntryTable.h"

namespace {

// Read by boards and channels, written by the system; all on the host thread
// that opens images (no lock, as the rest of the driver model).
GenICamEntryTable moduleTable;
const void* moduleTableOwner = nullptr;

/// One entry by its SGC_ENTRY_NAMES position; false when the library lacks it.
template <class Entry>
bool Take(const platform::DynamicLibrary& library, int position, Entry& entry) {
    void* symbol = library.resolve(SGC_ENTRY_NAMES[position]);
    entry = reinterpret_cast<Entry>(symbol);
    return symbol != nullptr;
}

} // namespace

std::optional<GenICamEntryTable>
GenICamEntryTable::Resolve(const platform::DynamicLibrary& library) {
    GenICamEntryTable t;
    int n = 0;
    // Same order as SGC_ENTRY_NAMES; the first missing name ends the attempt.
    const bool complete =
        Take(library, n++, t.initBoard) && Take(library, n++, t.loadBoardConfiguration) &&
        Take(library, n++, t.freeBoard) && Take(library, n++, t.scanPorts) &&
        Take(library, n++, t.connectCamera) && Take(library, n++, t.disconnectCamera) &&
        Take(library, n++, t.getCameraByIndex) && Take(library, n++, t.getGenICamXML) &&
        Take(library, n++, t.getErrorDescription) && Take(library, n++, t.registerReadFromCamera) &&
        Take(library, n++, t.registerWriteToCamera) &&
        Take(library, n++, t.memoryReadFromCameraWithTimeout) &&
        Take(library, n++, t.memoryWriteToCameraWithTimeout) &&
        Take(library, n++, t.getCameraCount) && Take(library, n++, t.startAcquisition) &&
        Take(library, n++, t.stopAcquisition) && Take(library, n++, t.getCameraInfo) &&
        Take(library, n++, t.powerSwitchExt) && Take(library, n++, t.linkConnect) &&
        Take(library, n++, t.linkDisconnect) && Take(library, n++, t.getCameraPropertyWithType);
    static_assert(SGC_ENTRY_COUNT == 21, "the table names 21 entries");
    if (!complete)
        return std::nullopt;
    return t;
}

const GenICamEntryTable& GenICam() {
    return moduleTable;
}

void InstallGenICam(const GenICamEntryTable& table, const void* owner) {
    moduleTable = table;
    moduleTableOwner = owner;
}

void ClearGenICam(const void* owner) {
    if (owner != moduleTableOwner)
        return;
    moduleTable = GenICamEntryTable();
    moduleTableOwner = nullptr;
}
