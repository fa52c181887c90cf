#include "AravisPortDevice.h"

/* GObject derives these names from the type name (G_DEFINE_TYPE wants the prefix_init and
 * prefix_class_init functions and the parent_class field), so they keep its C style. */
/* NOLINTBEGIN(readability-identifier-naming) */

typedef struct {
    ArvDevice parent;
    SimPortRead read;
    SimPortWrite write;
    void* context;
} SimPortDevice;

typedef struct {
    ArvDeviceClass parent_class;
} SimPortDeviceClass;

G_DEFINE_TYPE(SimPortDevice, sim_port_device, ARV_TYPE_DEVICE)

static gboolean sim_port_device_read_memory(ArvDevice* device, guint64 address, guint32 size,
                                            void* buffer, GError** error) {
    SimPortDevice* self = (SimPortDevice*)device;
    if (self->read(self->context, address, buffer, size) != 0) {
        g_set_error(error, ARV_DEVICE_ERROR, ARV_DEVICE_ERROR_PROTOCOL_ERROR,
                    "read at 0x%llx failed", (unsigned long long)address);
        return FALSE;
    }
    return TRUE;
}

static gboolean sim_port_device_write_memory(ArvDevice* device, guint64 address, guint32 size,
                                             void* buffer, GError** error) {
    SimPortDevice* self = (SimPortDevice*)device;
    if (self->write(self->context, address, buffer, size) != 0) {
        g_set_error(error, ARV_DEVICE_ERROR, ARV_DEVICE_ERROR_PROTOCOL_ERROR,
                    "write at 0x%llx failed", (unsigned long long)address);
        return FALSE;
    }
    return TRUE;
}

static void sim_port_device_init(SimPortDevice* self) {
    self->read = NULL;
    self->write = NULL;
    self->context = NULL;
}

static void sim_port_device_class_init(SimPortDeviceClass* klass) {
    ArvDeviceClass* device_class = ARV_DEVICE_CLASS(klass);
    device_class->read_memory = sim_port_device_read_memory;
    device_class->write_memory = sim_port_device_write_memory;
}

ArvDevice* sim_port_device_new(SimPortRead read, SimPortWrite write, void* context) {
    SimPortDevice* self = g_object_new(sim_port_device_get_type(), NULL);
    self->read = read;
    self->write = write;
    self->context = context;
    return ARV_DEVICE(self);
}
/* NOLINTEND(readability-identifier-naming) */
