#include <ddk/CDrvChannel.h>

void CDrvChannel::ActivateInterfaces() {
    for (const auto& hook : activationHooks_)
        hook();
}

void CDrvChannel::ReleaseInterfaces() {
    for (const auto& hook : releaseHooks_)
        hook();
    interfaces_.clear();
    activationHooks_.clear();
    releaseHooks_.clear();
    grabber_.reset();
    softwareTrigger_.reset();
    vpa_.reset();
    trigger_.reset();
    pingPong_.reset();
    grab2_.reset();
    imageRect_.reset();
    ringBuffer_.reset();
    boardSelect2_.reset();
    cameraSelect2_.reset();
    propertyChange_.reset();
    basicDio_.reset();
    linescan_.reset();
    deviceCtrl_.reset();
    bufferContainer_.reset();
    regPort_.reset();
    nodeMapHandle_.reset();
    notify_.reset();
    nodeMapHandle2_.reset();
}
