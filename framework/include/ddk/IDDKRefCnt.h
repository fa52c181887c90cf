#pragma once

#include <memory>

/// The channel wrapper's shareable identity, handed to the driver board when it
/// creates the channel; drivers keep it weakly.
class IDDKRefCnt : public std::enable_shared_from_this<IDDKRefCnt> {
public:
    virtual ~IDDKRefCnt() = default;
};
