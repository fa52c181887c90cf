#pragma once

#include <ORCImg/HostObject.h>

/// The driver's owner of one host-object reference (a node map, a proxy): the
/// image core's, which host applications use too.
using CHostObject = orvCImg::HostObject;
