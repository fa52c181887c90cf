#pragma once

#include <ddk/CBaseObj.h>

#include <boost/function.hpp>

#include <atomic>
#include <map>
#include <memory>
#include <typeindex>

class CDDKSystem;
class CDrvInfo;

/// The module-wide registry: factories by framework base type, the one system
/// wrapper (weakly), the driver-info object and the live-object count. It exists
/// while any framework object lives and destroys itself when the count drops to 0.
class CGlobalObj {
public:
    using Factory = boost::function<std::shared_ptr<CBaseObj>()>;

    virtual ~CGlobalObj();
    /// Registers (or replaces) the factory of a base type.
    template <class Base> void RegisterFactory(Factory factory) {
        factories_[std::type_index(typeid(Base))] = std::move(factory);
    }
    /// Creates the registered implementation of Base; empty when none is registered.
    template <class Base> std::shared_ptr<Base> Create() {
        return std::dynamic_pointer_cast<Base>(
            CreateRegistered(std::type_index(typeid(Base)), CBaseObj::IdentityOf<Base>()));
    }
    std::shared_ptr<CDrvInfo> DriverInfo() const { return driverInfo_; }
    /// The existing system wrapper or a new one.
    std::shared_ptr<CDDKSystem> GetSystem();

    /// The registry, created on first use.
    static CGlobalObj& Get();
    /// True while a registry exists.
    static bool Exists();
    static void AddLiveReference();
    static void DropLiveReference();
    static uint32_t LiveCount();

protected:
    CGlobalObj();
    virtual void RegisterFactories();
    virtual void Initialize();
    virtual void Nothing() {}

private:
    std::shared_ptr<CBaseObj> CreateRegistered(std::type_index base, const std::string& identity);

    std::map<std::type_index, Factory> factories_;
    std::weak_ptr<CDDKSystem> system_;
    std::shared_ptr<CDrvInfo> driverInfo_;
};

/// Keeps the registry alive for the life of the holder (the channel wrapper's base).
class GlobalObjRef {
public:
    GlobalObjRef() { CGlobalObj::AddLiveReference(); }
    GlobalObjRef(const GlobalObjRef&) = delete;
    GlobalObjRef& operator=(const GlobalObjRef&) = delete;
    ~GlobalObjRef() { CGlobalObj::DropLiveReference(); }
};
