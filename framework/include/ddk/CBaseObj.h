#pragma once

#include <memory>
#include <string>
#include <typeinfo>

/// Common base of every driver-side object handed to the framework. Its identity
/// text is the run-time type name of the framework base it implements; the
/// registry compares it with the requested base.
class CBaseObj : public std::enable_shared_from_this<CBaseObj> {
public:
    explicit CBaseObj(std::string identity) : identity_(std::move(identity)) {}
    virtual ~CBaseObj() = default;
    virtual void Nothing() {}

    const std::string& Identity() const { return identity_; }

    /// The identity text of framework base B.
    template <class B> static std::string IdentityOf() { return typeid(B).name(); }

private:
    std::string identity_;
};
