#include <ddk/DDKChannel.h>

#include <ddk/CDDKBoard.h>
#include <ddk/CDrvChannel.h>

#include <nwLogging/LogMacros.h>

#include <typeindex>

DDKChannel::DDKChannel(std::shared_ptr<CDDKBoard> board)
    : board_(std::move(board)), log_(nwLogging::get_logger("Chan")) {}

DDKChannel::~DDKChannel() {
    if (channel_)
        channel_->ReleaseInterfaces();
    channel_.reset();
}

void DDKChannel::Create(const OptionMap& options, const boost::any& argument) {
    NWLOG(log_, nwLogging::level_info, "Create channel");
    channel_->Open(options, argument);
    channel_->CreateInterfaces(channel_->Interfaces());
    InstallProviders(channel_->Interfaces());
    channel_->ActivateInterfaces();
}

namespace {

template <class Spi>
bool Install(DDKChannel& channel, const std::type_index& type,
             const std::shared_ptr<CBaseObj>& object) {
    if (type != std::type_index(typeid(Spi)))
        return false;
    static_cast<CDDKHolder<Spi>&>(channel).SetProvider(std::dynamic_pointer_cast<Spi>(object));
    return true;
}

} // namespace

void DDKChannel::InstallProviders(const InterfaceMap& interfaces) {
    for (const auto& entry : interfaces) {
        const std::type_index& type = entry.first;
        const std::shared_ptr<CBaseObj>& object = entry.second;
        Install<CSPIGrabber>(*this, type, object) ||
            Install<CSPISoftwareTrigger>(*this, type, object) ||
            Install<CSPIVpa>(*this, type, object) || Install<CSPITrigger>(*this, type, object) ||
            Install<CSPIPingPong>(*this, type, object) || Install<CSPIGrab2>(*this, type, object) ||
            Install<CSPIImageRect>(*this, type, object) ||
            Install<CSPIRingBuffer>(*this, type, object) ||
            Install<CSPIBoardSelect2>(*this, type, object) ||
            Install<CSPICameraSelect2>(*this, type, object) ||
            Install<CSPIPropertyChange>(*this, type, object) ||
            Install<CSPIBasicDIO>(*this, type, object) ||
            Install<CSPILinescan>(*this, type, object) ||
            Install<CSPIDeviceCtrl>(*this, type, object) ||
            Install<CSPIBufferContainer>(*this, type, object) ||
            Install<CSPIRegPort>(*this, type, object) ||
            Install<CSPINodeMapHandle>(*this, type, object) ||
            Install<CSPINotify>(*this, type, object) ||
            Install<CSPINodeMapHandle2>(*this, type, object);
    }
}

std::wstring DDKChannel::GetChannelName() const {
    std::wstring name;
    if (channel_)
        channel_->GetChannelName(name);
    return name;
}

void DDKChannel::FillInformation(EventInfoMap& events) {
    if (channel_)
        channel_->FillInformation(events);
}

boost::signals2::connection DDKChannel::RegisterEventHandler(uint32_t eventId,
                                                             const EventHandler& handler) {
    if (!channel_)
        return boost::signals2::connection();
    return channel_->RegisterEventHandler(eventId, handler);
}
