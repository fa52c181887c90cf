// ORSisoMe.xvd: this driver's classes registered with the framework, whose
// exports GetImageV2 and CanUnload then pull in the rest.
#include <ddk/DDKDriverModule.h>

#include "system/DriverInfo.h"
#include "system/DriverLogging.h"
#include "system/DriverSystem.h"

DDK_DRIVER_MODULE(CDriverInfo, CDriverSystem, ConfigureDriverLogging)
