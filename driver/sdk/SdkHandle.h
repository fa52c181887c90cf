#pragma once

#include "sdk/GenICamEntryTable.h"

#include <fglib5.h>
#include <gbelib.h>
#include <siso_genicam.h>

#include <type_traits>

/// Owns one opaque SDK handle and closes it with `Close` when it goes. Move-only.
/// `reset` answers the close call's result so that callers which must report a
/// failed close (the grabber) can do so; the destructor closes silently.
/// Not thread-safe: the owner serialises access like it does for a plain pointer.
template <class T, auto Close> class SdkHandle {
public:
    SdkHandle() noexcept = default;
    explicit SdkHandle(T* handle) noexcept : handle_(handle) {}
    SdkHandle(const SdkHandle&) = delete;
    SdkHandle& operator=(const SdkHandle&) = delete;
    SdkHandle(SdkHandle&& other) noexcept : handle_(other.release()) {}
    SdkHandle& operator=(SdkHandle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~SdkHandle() { reset(); }

    T* get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }

    /// Gives the handle up without closing it.
    T* release() noexcept {
        T* handle = handle_;
        handle_ = nullptr;
        return handle;
    }

    /// Closes the held handle, if any, and takes `handle`. Answers the close
    /// call's result; 0 when nothing was held or the call answers nothing.
    int reset(T* handle = nullptr) noexcept {
        T* old = handle_;
        handle_ = handle;
        if (old == nullptr)
            return 0;
        if constexpr (std::is_void_v<decltype(Close(old))>) {
            Close(old);
            return 0;
        } else {
            return static_cast<int>(Close(old));
        }
    }

private:
    T* handle_ = nullptr;
};

/// The GenICam board is freed through the run-time loaded library; with the
/// library gone there is nothing left to free it with.
inline void FreeGenICamBoard(SgcBoard* board) {
    if (GenICam().freeBoard != nullptr)
        GenICam().freeBoard(board);
}

/// Grabber of an opened board (Fg_OpenBoard); closing unloads the applet.
using GrabberHandle = SdkHandle<Fg_Grabber, &Fg_CloseBoard>;
/// GigE side of a board (Gbe_OpenBoard).
using GigEBoardHandle = SdkHandle<Gbe_Board, &Gbe_CloseBoard>;
/// A GigE camera handed out by Gbe_FirstCamera; disconnect it before it goes.
using GigECameraHandle = SdkHandle<Gbe_Camera, &Gbe_ReleaseCamera>;
/// The GenICam view of a CoaXPress board (Sgc_initBoard).
using GenICamBoardHandle = SdkHandle<SgcBoard, &FreeGenICamBoard>;
