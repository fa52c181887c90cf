#include <ddk/CGlobalObj.h>

#include <ddk/CDDKSystem.h>
#include <ddk/CDrvInfo.h>
#include <ddk/CLockGuard.h>
#include <ddk/CMutex.h>
#include <ddk/DDKDriverModule.h>
#include <ddk/DDKException.h>

#include <mutex>

namespace {

// The registry pointer, its existence flag and the live-object count are
// module-wide. Creation and destruction of the registry, and the count, change
// under one recursive lock so that a thread adding a reference never meets a
// registry that another thread is destroying.
CMutex<std::recursive_mutex>& RegistryLock() {
    static CMutex<std::recursive_mutex> lock;
    return lock;
}

CGlobalObj* registryPointer DDK_GUARDED_BY(RegistryLock()) = nullptr;
std::atomic<bool> globalObjectFlag{false};
std::atomic<uint32_t> liveObjectCount{0}; // changed under RegistryLock()

class ModuleRegistry : public CGlobalObj {
public:
    ModuleRegistry() { Initialize(); }
};

} // namespace

CGlobalObj::CGlobalObj() = default;

void CGlobalObj::Initialize() {
    RegisterFactories();
    if (!driverInfo_) {
        try {
            driverInfo_ = Create<CDrvInfo>();
        } catch (const DDKException&) {
            // A registry without driver information still counts objects.
        }
    }
    globalObjectFlag = true;
}

void CGlobalObj::RegisterFactories() {
    if (const auto registerFactories = DDKDriverModule().registerFactories)
        registerFactories(*this);
}

CGlobalObj::~CGlobalObj() {
    globalObjectFlag = false;
    factories_.clear();
    {
        // Already held by the release that deletes the registry; taken again so
        // that the pointer is only ever written under it.
        CLockGuard guard(RegistryLock());
        registryPointer = nullptr;
    }
    driverInfo_.reset();
    system_.reset();
}

std::shared_ptr<CBaseObj> CGlobalObj::CreateRegistered(std::type_index base,
                                                       const std::string& identity) {
    const auto found = factories_.find(base);
    if (found == factories_.end())
        return nullptr;
    if (!found->second)
        DDK_THROW_GENERIC("globalobj",
                          "Invalid GlobalObject Registry .. derived class / base class missmatch ");
    std::shared_ptr<CBaseObj> created = found->second();
    if (!created || created->Identity() != identity)
        DDK_THROW_GENERIC("globalobj",
                          "Invalid GlobalObject Registry .. derived class / base class missmatch ");
    return created;
}

std::shared_ptr<CDDKSystem> CGlobalObj::GetSystem() {
    std::shared_ptr<CDDKSystem> system = system_.lock();
    if (system)
        return system;
    try {
        system = std::make_shared<CDDKSystem>();
    } catch (...) {
        DDK_THROW_GENERIC("globalobj", "Unable to create board list");
    }
    system_ = system;
    return system;
}

CGlobalObj& CGlobalObj::Get() {
    CLockGuard guard(RegistryLock());
    if (registryPointer == nullptr)
        registryPointer = new ModuleRegistry();
    return *registryPointer;
}

bool CGlobalObj::Exists() {
    return globalObjectFlag.load();
}

void CGlobalObj::AddLiveReference() {
    CLockGuard guard(RegistryLock());
    Get();
    ++liveObjectCount;
}

void CGlobalObj::DropLiveReference() {
    CLockGuard guard(RegistryLock());
    if (liveObjectCount.fetch_sub(1) == 1)
        delete registryPointer;
}

uint32_t CGlobalObj::LiveCount() {
    return liveObjectCount.load();
}
