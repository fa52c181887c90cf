#include "PortDevice.h"

#include <arv.h>

namespace {

struct OrgPortDevice {
    ArvDevice parent;
    const orgenapi::RegisterAccess* access;
};

struct OrgPortDeviceClass {
    ArvDeviceClass parentClass;
};

} // namespace

G_DEFINE_TYPE(OrgPortDevice, org_port_device, ARV_TYPE_DEVICE)

namespace {

const orgenapi::RegisterAccess* AccessOf(ArvDevice* device) {
    return reinterpret_cast<OrgPortDevice*>(device)->access;
}

gboolean Failed(GError** error, int32_t result, const char* what, guint64 address, guint32 size) {
    g_set_error(error, orgenapi::PortDevice::ErrorDomain(), result,
                "register %s of %u bytes at 0x%llx failed (0x%08x)", what, size,
                static_cast<unsigned long long>(address), static_cast<unsigned>(result));
    return FALSE;
}

gboolean ReadMemory(ArvDevice* device, guint64 address, guint32 size, void* buffer,
                    GError** error) {
    const int32_t result =
        AccessOf(device)->ReadRegisters(buffer, static_cast<int64_t>(address), size);
    return result == 0 ? TRUE : Failed(error, result, "read", address, size);
}

gboolean WriteMemory(ArvDevice* device, guint64 address, guint32 size, void* buffer,
                     GError** error) {
    const int32_t result =
        AccessOf(device)->WriteRegisters(buffer, static_cast<int64_t>(address), size);
    return result == 0 ? TRUE : Failed(error, result, "write", address, size);
}

// Single registers follow the GigE Vision convention: 4 bytes, big-endian.
gboolean ReadRegister(ArvDevice* device, guint64 address, guint32* value, GError** error) {
    guint32 raw = 0;
    if (!ReadMemory(device, address, sizeof raw, &raw, error))
        return FALSE;
    *value = GUINT32_FROM_BE(raw);
    return TRUE;
}

gboolean WriteRegister(ArvDevice* device, guint64 address, guint32 value, GError** error) {
    guint32 raw = GUINT32_TO_BE(value);
    return WriteMemory(device, address, sizeof raw, &raw, error);
}

} // namespace

static void org_port_device_init(OrgPortDevice* device) {
    device->access = nullptr;
}

static void org_port_device_class_init(OrgPortDeviceClass* type) {
    ArvDeviceClass* deviceClass = ARV_DEVICE_CLASS(type);
    deviceClass->read_memory = ReadMemory;
    deviceClass->write_memory = WriteMemory;
    deviceClass->read_register = ReadRegister;
    deviceClass->write_register = WriteRegister;
}

namespace orgenapi {

GObjectRef<ArvDevice> PortDevice::Create(const RegisterAccess& access) {
    auto* device = static_cast<OrgPortDevice*>(g_object_new(org_port_device_get_type(), nullptr));
    device->access = &access;
    return GObjectRef<ArvDevice>(ARV_DEVICE(device));
}

GQuark PortDevice::ErrorDomain() {
    return g_quark_from_static_string("orgenapi-port-error");
}

} // namespace orgenapi
