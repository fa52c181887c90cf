#include "nodemap/NodeMapBuilder.h"

#include "board/DriverBoard.h"
#include "board/DriverChannel.h"
#include "nodemap/CoaXPressRegisterPort.h"
#include "nodemap/GigERegisterPort.h"
#include "nodemap/GrabberRegisterPort.h"
#include "nodemap/NodeMapDescription.h"

#include <nwLogging/LogMacros.h>

namespace {

constexpr int32_t gigeTechnology = 2;
constexpr int32_t coaxpressTechnology = 3;

} // namespace

CHostObject CNodeMapBuilder::Attach(CDriverChannel& channel, CHostObject nodeMap,
                                    ORGenApi_PortRead read, ORGenApi_PortWrite write,
                                    const char* portName) {
    if (ORGenApi_AttachPort(nodeMap.get(), read, write, CRegisterPort::Access, &channel,
                            portName) != 0) {
        NWLOG_HERE(channel.Log(), nwLogging::level_warn, "DriverChannel",
                   channel.Prefix() << '\t' << "Unable to connect nodemap");
        return CHostObject();
    }
    return nodeMap;
}

CHostObject CNodeMapBuilder::Camera(CDriverChannel& channel) {
    const int32_t technology = channel.DriverBoard().Technology();
    const bool gige = technology == gigeTechnology;
    if ((channel.GigECamera() == nullptr && channel.CoaXPressCamera() == nullptr) ||
        (technology != gigeTechnology && technology != coaxpressTechnology))
        return CHostObject();
    CHostObject nodeMap =
        CNodeMapDescription::FromUserFile(channel, CNodeMapDescription::Kind::Camera);
    if (!nodeMap && channel.GigECamera() != nullptr)
        nodeMap = CNodeMapDescription::FromGigECamera(channel);
    if (!nodeMap && channel.CoaXPressCamera() != nullptr)
        nodeMap = CNodeMapDescription::FromCoaXPressCamera(channel);
    if (!nodeMap) {
        NWLOG_HERE(channel.Log(), nwLogging::level_warn, "DriverChannel",
                   channel.Prefix() << '\t' << "No XML for camera");
        return CHostObject();
    }
    return gige ? Attach(channel, std::move(nodeMap), CGigERegisterPort::Read,
                         CGigERegisterPort::Write, "Device")
                : Attach(channel, std::move(nodeMap), CCoaXPressRegisterPort::Read,
                         CCoaXPressRegisterPort::Write, "Device");
}

const char* CNodeMapBuilder::DmaPortName(const CDriverChannel& channel) {
    return CNodeMapDescription::OldRuntime(channel) ? "Device" : "DevicePort";
}

CHostObject CNodeMapBuilder::Dma(CDriverChannel& channel) {
    CHostObject nodeMap =
        CNodeMapDescription::FromUserFile(channel, CNodeMapDescription::Kind::Dma);
    if (!nodeMap)
        nodeMap = CNodeMapDescription::FromGrabber(channel);
    if (!nodeMap) {
        NWLOG_HERE(channel.Log(), nwLogging::level_warn, "DriverChannel",
                   channel.Prefix() << '\t' << "No XML for board");
        return CHostObject();
    }
    return Attach(channel, std::move(nodeMap), CGrabberRegisterPort::Read,
                  CGrabberRegisterPort::Write, DmaPortName(channel));
}
