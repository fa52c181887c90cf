#include <ddk/CGeneric.h>

#include "CGenericBinding.h"

#include <ddk/CDDKBoard.h>
#include <ddk/CDDKProducer.h>
#include <ddk/CDDKSystem.h>
#include <ddk/CDrvSystem.h>
#include <ddk/CGlobalObj.h>
#include <ddk/CImpIBasicDIO.h>
#include <ddk/CImpIBoardSelect2.h>
#include <ddk/CImpICameraSelect2.h>
#include <ddk/CImpIDeviceCtrl.h>
#include <ddk/CImpIGrab2.h>
#include <ddk/CImpIGrabber.h>
#include <ddk/CImpIImageRect.h>
#include <ddk/CImpINodeMapHandle.h>
#include <ddk/CImpINodeMapHandle2.h>
#include <ddk/CImpINotify.h>
#include <ddk/CImpIPingPong.h>
#include <ddk/CImpIPropertyChange.h>
#include <ddk/CImpIRegPort.h>
#include <ddk/CImpIRingBuffer.h>
#include <ddk/CImpISoftwareTrigger.h>
#include <ddk/CImpITrigger.h>
#include <ddk/DDKException.h>

#include <stdexcept>

CGeneric::CGeneric() : log_(nwLogging::get_logger("CGen")) {
    CGlobalObj::AddLiveReference();
}

CGeneric::~CGeneric() {
    {
        CLockGuard guard(notificationLock_);
        notifications_.clear();
    }
    {
        CLockGuard guard(bindingLock_);
        channel_.reset();
        board_.reset();
        producer_.reset();
        system_.reset();
    }
    CGlobalObj::DropLiveReference();
}

void CGeneric::SetSelf(ORHandle self) {
    self_ = orvBase::weak_handle(self);
}

CGeneric::Binding CGeneric::Bind() const {
    Binding binding;
    CLockGuard guard(bindingLock_);
    binding.channel = channel_;
    binding.image = currentImage_.lock();
    if (binding.image)
        binding.imageObject = currentImageObject_;
    return binding;
}

CGeneric::Wiring CGeneric::CurrentWiring() const {
    CLockGuard guard(bindingLock_);
    return Wiring{system_, producer_, board_, channel_};
}

ORHandle CGeneric::OpenDefaultChannel() {
    CGlobalObj& registry = CGlobalObj::Get();
    std::shared_ptr<CDDKSystem> system;
    try {
        system = registry.GetSystem();
    } catch (...) {
        DDK_THROW_GENERIC("globalobj", "Unable to create board list");
    }
    if (!system)
        DDK_THROW_GENERIC("CGenericMain", "Unable to retrieve system");
    if (!system->IsInitialized())
        system->Initialize(OptionMap());

    std::shared_ptr<CDDKProducer> producer = system->OpenProducer(L"~idx:0");
    if (!producer)
        DDK_THROW_GENERIC("CGenericMain", "Unable to create channel wrapper");
    EventInfoMap producerInformation;
    producer->FillInformation(producerInformation);

    std::shared_ptr<CDDKBoard> board = producer->OpenBoard(L"~idx:0", OptionMap());
    if (!board)
        DDK_THROW_GENERIC("CGenericMain", "Unable to create channel wrapper");
    EventInfoMap boardInformation;
    board->FillInformation(boardInformation);

    std::shared_ptr<DDKChannel> channel = system->DriverSystem()->UseFirstFreeChannel()
                                              ? board->OpenFirstFreeChannel()
                                              : board->OpenChannel(L"~idx:0", OptionMap());
    if (!channel)
        return nullptr;
    {
        CLockGuard guard(bindingLock_);
        system_ = system;
        producer_ = producer;
        board_ = board;
        channel_ = channel;
    }
    CollectEventInformation();
    return CreateHostImage();
}

std::pair<orvBase::shared_handle, CBaseImage*>
CGeneric::CreateImageOn(const std::shared_ptr<DDKChannel>& channel) {
    orvBase::shared_handle owner = self_.lock();
    CBaseImage* object = nullptr;
    orvBase::shared_handle image = orvBase::make_shared_object<CBaseImage>(
        CBaseImage::TypeKey(), &object, channel, owner, this);
    orvBase::SetBase(image.get(), owner.get());
    object->AllocateBuffer();
    return {std::move(image), object};
}

ORHandle CGeneric::CreateHostImage() {
    try {
        std::shared_ptr<DDKChannel> channel = CurrentWiring().channel;
        if (!channel)
            return nullptr;
        auto [image, baseImage] = CreateImageOn(channel);
        {
            CLockGuard guard(bindingLock_);
            currentImage_ = orvBase::weak_handle(image.get());
            currentImageObject_ = baseImage;
        }
        if (!tablesAdded_) {
            AddInterfaceTables(channel, baseImage->BufferList());
            tablesAdded_ = true;
        }
        if (CSPIGrabber* grabber = channel->Get<CSPIGrabber>().get()) {
            uint32_t milliseconds = 0;
            grabber->GetTimeout(&milliseconds);
            timeoutMilliseconds_ = milliseconds;
        }
        SetRecordLimit(channel, baseImage->BufferList());
        return image.release();
    } catch (const std::exception& e) {
        NWLOG_HERE(log_, nwLogging::level_err, "CGeneric", e.what());
        return nullptr;
    }
}

namespace {

template <class Table, class Spi>
void AddTable(ORHandle self, CGeneric* generic, const std::shared_ptr<DDKChannel>& channel,
              CDDKBufferList* bufferList) {
    const auto& provider = channel->Get<Spi>();
    if (!provider || !provider->Supported(bufferList))
        return;
    std::unique_ptr<Table> table(new Table(generic));
    orvBase::AddInterface(self, table.get());
    table.release(); // the container owns it now
}

template <class Table> void AddFrameworkTable(ORHandle self, CGeneric* generic) {
    std::unique_ptr<Table> table(new Table(generic));
    orvBase::AddInterface(self, table.get());
    table.release();
}

} // namespace

void CGeneric::AddInterfaceTables(const std::shared_ptr<DDKChannel>& channel,
                                  CDDKBufferList* bufferList) {
    orvBase::shared_handle self = self_.lock();
    ORHandle handle = self.get();
    AddTable<CImpIGrabber, CSPIGrabber>(handle, this, channel, bufferList);
    AddTable<CImpIPingPong, CSPIPingPong>(handle, this, channel, bufferList);
    AddTable<CImpITrigger, CSPITrigger>(handle, this, channel, bufferList);
    AddTable<CImpIBasicDIO, CSPIBasicDIO>(handle, this, channel, bufferList);
    AddTable<CImpIGrab2, CSPIGrab2>(handle, this, channel, bufferList);
    AddTable<CImpIRingBuffer, CSPIRingBuffer>(handle, this, channel, bufferList);
    AddTable<CImpIPropertyChange, CSPIPropertyChange>(handle, this, channel, bufferList);
    AddTable<CImpIImageRect, CSPIImageRect>(handle, this, channel, bufferList);
    AddTable<CImpISoftwareTrigger, CSPISoftwareTrigger>(handle, this, channel, bufferList);
    AddTable<CImpIDeviceCtrl, CSPIDeviceCtrl>(handle, this, channel, bufferList);
    if (fixedSelection_.empty()) {
        AddTable<CImpIBoardSelect2, CSPIBoardSelect2>(handle, this, channel, bufferList);
        AddTable<CImpICameraSelect2, CSPICameraSelect2>(handle, this, channel, bufferList);
    }
    AddTable<CImpINodeMapHandle, CSPINodeMapHandle>(handle, this, channel, bufferList);
    AddTable<CImpIRegPort, CSPIRegPort>(handle, this, channel, bufferList);
    AddFrameworkTable<CImpINotify>(handle, this);
    AddTable<CImpINodeMapHandle2, CSPINodeMapHandle2>(handle, this, channel, bufferList);
}

void CGeneric::SetRecordLimit(const std::shared_ptr<DDKChannel>& channel,
                              CDDKBufferList* bufferList) {
    if (CSPIRingBuffer* ring = channel->Get<CSPIRingBuffer>().get()) {
        int32_t count = 0;
        ring->NumBuffers(bufferList, 0, &count);
        delivered_.SetLimit(count > 0 ? static_cast<uint32_t>(count) : 0);
    }
}

ORHandle CGeneric::ReplaceImage(const std::shared_ptr<DDKChannel>& channel) {
    auto [image, baseImage] = CreateImageOn(channel);
    // A board or camera switch may bring a ring of another size.
    SetRecordLimit(channel, baseImage->BufferList());

    orvBase::shared_handle old;
    {
        CLockGuard guard(bindingLock_);
        old = currentImage_.lock();
        currentImage_ = orvBase::weak_handle(image.get());
        currentImageObject_ = baseImage;
        channel_ = channel;
    }
    // The old image keeps its owner handle: a host that still holds it also holds
    // the interface tables it found through it, which live in this object. Calls
    // through them answer for the current image (0x80000010 once that is gone).
    old.reset(); // may destroy the old image when the host let go of it already
    return image.release();
}

void CGeneric::HandOut(ORHandle image, ORHandle* newImage) {
    if (newImage != nullptr)
        *newImage = image;
    else
        ORBase_Release(image);
}

void CGeneric::CollectEventInformation() {
    const Wiring wiring = CurrentWiring();
    const std::shared_ptr<CDDKBoard>& board = wiring.board;
    const std::shared_ptr<DDKChannel>& channel = wiring.channel;
    std::shared_ptr<CDrvSystem> driverSystem =
        wiring.system ? wiring.system->DriverSystem() : nullptr;
    systemEvents_ = ModuleEventSource([driverSystem](uint32_t id, const EventHandler& handler) {
        return driverSystem ? driverSystem->RegisterEventHandler(id, handler)
                            : boost::signals2::connection();
    });
    boardEvents_ = ModuleEventSource([board](uint32_t id, const EventHandler& handler) {
        return board ? board->RegisterEventHandler(id, handler) : boost::signals2::connection();
    });
    channelEvents_ = ModuleEventSource([channel](uint32_t id, const EventHandler& handler) {
        return channel ? channel->RegisterEventHandler(id, handler) : boost::signals2::connection();
    });

    EventInfoMap systemOffers;
    EventInfoMap boardOffers;
    EventInfoMap channelOffers;
    if (driverSystem)
        driverSystem->FillInformation(systemOffers);
    if (board)
        board->FillInformation(boardOffers);
    if (channel)
        channel->FillInformation(channelOffers);

    CLockGuard guard(notificationLock_);
    eventInformation_.clear();
    eventOwners_.clear();
    const std::pair<const EventInfoMap*, const ModuleEventSource*> offers[] = {
        {&systemOffers, &systemEvents_},
        {&boardOffers, &boardEvents_},
        {&channelOffers, &channelEvents_}};
    for (const auto& offer : offers) {
        for (const auto& event : *offer.first) {
            eventInformation_[event.first] = event.second;
            eventOwners_[event.first] = offer.second;
        }
    }
}

void CGeneric::CallImageChanged(int32_t stage) {
    ORV::ImageChangedCallback callback = nullptr;
    void* user = nullptr;
    {
        CLockGuard guard(callbackLock_);
        callback = imageChanged_;
        user = imageChangedUser_;
    }
    if (callback != nullptr)
        callback(user, stage);
}

int32_t CGeneric::ShareCurrentImage(ORHandle* image) const {
    if (image == nullptr)
        return ORV::E_INVALIDARG;
    Binding binding = Bind();
    if (!binding.image)
        return ORV::E_EXPIRED;
    *image = binding.image.release();
    return ORV::OK;
}
