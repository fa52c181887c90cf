#include "nodemap/CoaXPressRegisterPort.h"

#include "board/DriverChannel.h"
#include "sdk/GenICamEntryTable.h"

#include <ORV/ResultCodes.h>

#include <nwLogging/LogMacros.h>

#include <ios>

namespace {

/// "0x" and the address in hexadecimal.
struct HexAddress {
    int64_t address;
};

std::ostream& operator<<(std::ostream& out, HexAddress value) {
    const std::ios_base::fmtflags flags = out.flags();
    out << "0x" << std::hex << static_cast<uint64_t>(value.address);
    out.flags(flags);
    return out;
}

/// A read or a write through the GenICam library's `entry`; `direction` names it
/// in the failure's line.
template <class Buffer, class Entry>
int32_t Transfer(Buffer* buffer, int64_t address, int64_t length, void* context,
                 Entry GenICamEntryTable::*entry, const char* direction) {
    if (CRegisterPort::BadArguments(buffer, length, context))
        return ORV::E_INVALIDARG;
    auto& channel = *static_cast<CDriverChannel*>(context);
    const GenICamEntryTable& genicam = GenICam();
    const int result =
        genicam.Loaded()
            ? (genicam.*entry)(channel.CoaXPressCamera(), buffer, static_cast<uint64_t>(address),
                               static_cast<size_t>(length), CCoaXPressRegisterPort::TimeoutMs)
            : SGC_ERR_INVALID_HANDLE;
    if (result != 0) {
        NWLOG_HERE(channel.Log(), nwLogging::level_err, "DriverChannel",
                   channel.Prefix() << '\t' << "Error register (" << HexAddress{address} << ") "
                                    << direction << ": " << genicam.ErrorText(result));
        return ORV::E_FAIL;
    }
    return ORV::OK;
}

} // namespace

int32_t CCoaXPressRegisterPort::Read(void* buffer, int64_t address, int64_t length, void* context) {
    return Transfer(buffer, address, length, context,
                    &GenICamEntryTable::memoryReadFromCameraWithTimeout, "read");
}

int32_t CCoaXPressRegisterPort::Write(const void* buffer, int64_t address, int64_t length,
                                      void* context) {
    return Transfer(buffer, address, length, context,
                    &GenICamEntryTable::memoryWriteToCameraWithTimeout, "write");
}
