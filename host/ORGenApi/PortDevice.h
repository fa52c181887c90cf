#pragma once
// The device under a node map's feature engine: an Aravis device whose memory
// is the node map's register port.

#include "GObjectRef.h"
#include "RegisterAccess.h"

#include <glib.h>

typedef struct _ArvDevice ArvDevice;

namespace orgenapi {

/// Makes Aravis devices (an ArvDevice subclass) that read and write their memory
/// through a RegisterAccess. A failed access is reported to Aravis as a GError in
/// ErrorDomain() whose code is the port's result, so the caller of a feature can
/// hand that result on. The access object must outlive the device's use; the
/// device adds no locking of its own.
class PortDevice {
public:
    static GObjectRef<ArvDevice> Create(const RegisterAccess& access);
    static GQuark ErrorDomain();
};

} // namespace orgenapi
