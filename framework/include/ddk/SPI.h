#pragma once
// All service-provider interfaces.

#include <ddk/CSPIBasicDIO.h>
#include <ddk/CSPIBoardSelect2.h>
#include <ddk/CSPIBufferContainer.h>
#include <ddk/CSPICameraSelect2.h>
#include <ddk/CSPIDeviceCtrl.h>
#include <ddk/CSPIGrab2.h>
#include <ddk/CSPIGrabber.h>
#include <ddk/CSPIImageRect.h>
#include <ddk/CSPILinescan.h>
#include <ddk/CSPINodeMapHandle.h>
#include <ddk/CSPINodeMapHandle2.h>
#include <ddk/CSPINotify.h>
#include <ddk/CSPIPingPong.h>
#include <ddk/CSPIPropertyChange.h>
#include <ddk/CSPIRegPort.h>
#include <ddk/CSPIRingBuffer.h>
#include <ddk/CSPISoftwareTrigger.h>
#include <ddk/CSPITrigger.h>
#include <ddk/CSPIVpa.h>
