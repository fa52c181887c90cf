#pragma once
// From the handles the host passes to the node maps behind them.

#include "NodeMap.h"

#include <ORV/ORVTypes.h>

#include <cstdint>
#include <exception>

namespace orgenapi {

/// The node map held by `handle`; null for a null handle or another object.
NodeMap* NodeMapOf(ORHandle handle);
/// The node map behind a node map or a proxy handle. The caller's reference to
/// the handle keeps it alive (a proxy holds its node map).
NodeMap* NodeMapOrProxyOf(ORHandle handle);
/// 0x80000005 for an allocation failure, 0x80000001 for any other exception.
int32_t ResultOf(const std::exception& error);

} // namespace orgenapi
