#pragma once
// A driver for framework tests: system, producer, board and channel with every
// provider kind this module's driver offers. Providers record each call in the
// control object and answer what the test chose.

#include "TestDriverControl.h"

#include <ddk/CDDKBufferList.h>
#include <ddk/CDrvBoard.h>
#include <ddk/CDrvChannel.h>
#include <ddk/CDrvInfo.h>
#include <ddk/CDrvProducer.h>
#include <ddk/CDrvSystem.h>

TestDriverControl& Control();

/// The per-image buffer list of the test driver.
struct TestBufferList : CDDKBufferList {
    int32_t count = 0;
    std::vector<uint8_t> memory;
};

int32_t IndexOfName(const std::wstring& name);

class TestInfo : public CDrvInfo {
public:
    std::string GetVendorName() override { return "Nordwell"; }
    std::string GetDriverName() override { return "TestDriver"; }
    int32_t GetIntegerInfo() override { return 0; }
    int32_t GetModuleGuid(char* buffer) override;
};

class TestSystem : public CDrvSystem {
public:
    void Initialize(const OptionMap&, const boost::any&, int32_t) override;
    void CreateProducer(std::shared_ptr<CDrvProducer>& producer, const std::wstring& name) override;
    int32_t GetBoardCount() override { return 1; }
    void ResolveProducerName(const std::wstring& name, std::wstring& resolved) override {
        resolved = name;
    }
    void GetSystemName(std::wstring& name) override { name = L"TestSystem"; }
};

class TestProducer : public CDrvProducer {
public:
    TestProducer(std::shared_ptr<void> owner, std::wstring name)
        : CDrvProducer(std::move(owner)), name_(std::move(name)) {}
    void Open(const OptionMap&, const boost::any&) override { Control().Call("Producer.Open"); }
    void CreateBoard(std::shared_ptr<CDrvBoard>& board, const std::wstring& name) override;
    int32_t GetBoardCount() override { return Control().boardCount; }
    void ResolveBoardName(const std::wstring& name, std::wstring& resolved) override {
        resolved = name;
    }
    void GetProducerName(std::wstring& name) override { name = name_; }

private:
    std::wstring name_;
};

class TestBoard : public CDrvBoard {
public:
    TestBoard(std::shared_ptr<void> owner, std::wstring name)
        : CDrvBoard(std::move(owner)), name_(std::move(name)) {}
    void Open(const OptionMap&, const boost::any&) override { Control().Call("Board.Open"); }
    void CreateChannel(std::shared_ptr<CDrvChannel>& channel, const std::wstring& name,
                       const std::shared_ptr<IDDKRefCnt>& wrapper) override;
    int32_t GetChannelCount() override { return Control().channelCount; }
    void ResolveChannelName(const std::wstring& name, std::wstring& resolved) override {
        resolved = name;
    }
    void GetBoardName(std::wstring& name) override { name = name_; }
    int32_t GetBoardIndex() override { return IndexOfName(name_); }

private:
    std::wstring name_;
};

class TestChannel : public CDrvChannel {
public:
    TestChannel(std::shared_ptr<CDrvBoard> board, std::wstring name)
        : CDrvChannel(std::move(board)), name_(std::move(name)) {}
    void Open(const OptionMap&, const boost::any&) override { Control().Call("Channel.Open"); }
    void CreateInterfaces(InterfaceMap& interfaces) override;
    void GetChannelName(std::wstring& name) override { name = name_; }
    void FillInformation(EventInfoMap& events) override;
    int32_t Index() const { return IndexOfName(name_); }

private:
    std::wstring name_;
};
