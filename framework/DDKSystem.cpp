#include <ddk/CDDKSystem.h>

#include <ddk/CDDKProducer.h>
#include <ddk/CDrvProducer.h>
#include <ddk/CDrvSystem.h>
#include <ddk/DDKException.h>

#include <nwLogging/Logger.h>

CDDKSystem::CDDKSystem() : log_(nwLogging::get_logger("System")) {}

CDDKSystem::~CDDKSystem() = default;

void CDDKSystem::Initialize(const OptionMap& options) {
    initialized_ = 1;
    system_ = CGlobalObj::Get().Create<CDrvSystem>();
    if (!system_)
        DDK_THROW_GENERIC("DDKSystem", "Unable to Initialize System");
    system_->Initialize(options, boost::any(), 1);
}

namespace {

template <class Cache> auto LiveEntry(const Cache& cache, const std::wstring& name) {
    const auto found = cache.find(name);
    return found == cache.end() ? nullptr : found->second.lock();
}

} // namespace

std::shared_ptr<CDDKProducer> CDDKSystem::OpenProducer(const std::wstring& name) {
    if (auto producer = LiveEntry(producers_, name))
        return producer;
    if (!system_)
        DDK_THROW_GENERIC("DDKSystem", "Unable to Initialize System");

    std::wstring resolved;
    system_->ResolveProducerName(name, resolved);
    if (resolved != name) {
        if (auto producer = LiveEntry(producers_, resolved))
            return producer;
    }

    std::shared_ptr<CDrvProducer> driverProducer;
    system_->CreateProducer(driverProducer, name);
    auto producer = std::make_shared<CDDKProducer>(shared_from_this(), driverProducer);
    std::wstring producerName = name;
    if (driverProducer) {
        driverProducer->Open(OptionMap(), boost::any());
        driverProducer->GetProducerName(producerName);
    }
    producers_[producerName] = producer;
    return producer;
}
