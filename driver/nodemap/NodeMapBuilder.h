#pragma once

#include "nodemap/HostObject.h"

#include <ORGenApi/ORGenApi.h>

class CDriverChannel;

/// Builds a channel's node maps: the description from its source (user file or
/// download) and the register port attached under the name the description
/// uses. An empty object, after a warning, when there is none.
///
/// Runs on the host thread that requests a node map, under the channel's
/// node-map lock; keeps no state.
class CNodeMapBuilder {
public:
    /// The remote device's node map: only for a GigE or CoaXPress camera on a
    /// board of that technology; port "Device" with the camera's register access.
    static CHostObject Camera(CDriverChannel& channel);
    /// The grabber's node map of the DMA; port "DevicePort" on runtimes 5.2 and
    /// newer, "Device" before.
    static CHostObject Dma(CDriverChannel& channel);
    /// The port name the DMA's description uses on this runtime.
    static const char* DmaPortName(const CDriverChannel& channel);

private:
    /// Attaches the port; releases the node map with a warning when it fails.
    static CHostObject Attach(CDriverChannel& channel, CHostObject nodeMap, ORGenApi_PortRead read,
                              ORGenApi_PortWrite write, const char* portName);
};
