#pragma once
// All host interfaces.

#include <ORV/IBasicDIO.h>
#include <ORV/IBoardSelect2.h>
#include <ORV/ICameraSelect2.h>
#include <ORV/IDeviceCtrl.h>
#include <ORV/IDisposableType.h>
#include <ORV/IGrab2.h>
#include <ORV/IGrabber.h>
#include <ORV/IImageRect.h>
#include <ORV/IImageVPA.h>
#include <ORV/INodeMapHandle.h>
#include <ORV/INodeMapHandle2.h>
#include <ORV/INotify.h>
#include <ORV/IPingPong.h>
#include <ORV/IPropertyChange.h>
#include <ORV/IRegPort.h>
#include <ORV/IRingBuffer.h>
#include <ORV/ISoftwareTrigger.h>
#include <ORV/ITrigger.h>
#include <ORV/ORVTypes.h>
#include <ORV/ResultCodes.h>
