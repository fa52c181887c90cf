#include "TestDriver.h"

#include <ddk/DDKDriverModule.h>

#include <nwLogging/Logger.h>
#include <nwLogging/Target.h>

#include <cstring>

TestDriverControl& Control() {
    static TestDriverControl control;
    return control;
}

extern "C" __attribute__((visibility("default"))) TestDriverControl* TestDriver_Control() {
    return &Control();
}

int32_t IndexOfName(const std::wstring& name) {
    const size_t colon = name.find(L':');
    return colon == std::wstring::npos ? 0 : std::stoi(name.substr(colon + 1));
}

int32_t TestInfo::GetModuleGuid(char* buffer) {
    std::strcpy(buffer, "7A41C0D2-3E95-4f1b-B6A8-52D07C9E1F34");
    return 0;
}

void TestSystem::Initialize(const OptionMap&, const boost::any&, int32_t flag) {
    Control().Call("System.Initialize." + std::to_string(flag));
}

void TestSystem::CreateProducer(std::shared_ptr<CDrvProducer>& producer, const std::wstring& name) {
    Control().Call("System.CreateProducer");
    producer = std::make_shared<TestProducer>(nullptr, name);
}

void TestProducer::CreateBoard(std::shared_ptr<CDrvBoard>& board, const std::wstring& name) {
    Control().Call("Producer.CreateBoard");
    if (!Control().producerCreatesNoBoard)
        board = std::make_shared<TestBoard>(shared_from_this(), name);
}

void TestBoard::CreateChannel(std::shared_ptr<CDrvChannel>& channel, const std::wstring& name,
                              const std::shared_ptr<IDDKRefCnt>& wrapper) {
    Control().Call("Board.CreateChannel");
    if (!wrapper)
        throw std::logic_error("channel without wrapper");
    if (!Control().boardCreatesNoChannel)
        channel = std::make_shared<TestChannel>(shared_from_this(), name);
}

void TestChannel::FillInformation(EventInfoMap& events) {
    if (Control().offerEvent)
        events[7] = "frame";
}

namespace {

/// Hands the module's log lines to the test through the control object.
class ControlTarget : public nwLogging::basic_target {
protected:
    void do_write(const nwLogging::basic_timed_msgstate& record, const std::string& text) override {
        Control().AddLogLine(nwLogging::format_line(record, text) + " @" + record.location);
    }
};

} // namespace

namespace {

void ConfigureTestDriverLogging() {
    nwLogging::root_logger()->set_root_name("GDRVM");
    nwLogging::root_logger()->state()->set_level_mask(0xFF);
    nwLogging::install_target(std::make_shared<nwLogging::basic_target_filter>(),
                              std::make_shared<ControlTarget>());
}

} // namespace

DDK_DRIVER_MODULE(TestInfo, TestSystem, ConfigureTestDriverLogging)
