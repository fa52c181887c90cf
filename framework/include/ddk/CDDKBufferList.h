#pragma once

/// The per-image buffer list that a driver's buffer container makes and its other
/// providers receive. The framework only keeps and passes it on, so it knows the
/// type by name alone; a driver derives its own list from it and is the only one
/// that looks inside or destroys it.
class CDDKBufferList {
public:
    CDDKBufferList(const CDDKBufferList&) = delete;
    CDDKBufferList& operator=(const CDDKBufferList&) = delete;

protected:
    CDDKBufferList() = default;
    /// Not virtual: a list is destroyed as the driver's own type, never as this.
    ~CDDKBufferList() = default;
};
