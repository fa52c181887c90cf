// The test driver's service providers: each records its calls and answers what
// the test chose.

#include "TestDriver.h"

#include <ORCImg/ORCImg.h>
#include <ORGenApi/ORGenApi.h>
#include <ORV/ResultCodes.h>
#include <ddk/NodeMapLiveness.h>

namespace {

TestBufferList* List(CDDKBufferList* bufferList) {
    return static_cast<TestBufferList*>(bufferList);
}

class TestVpa : public CSPIVpa {
public:
    int32_t ImageDimensions(CDDKBufferList* bl, int32_t* planes, int32_t* width,
                            int32_t* height) override {
        const int32_t result = Control().Call("Vpa.ImageDimensions");
        *planes = 1;
        *width = Control().width;
        *height = Control().height;
        (void)bl;
        return result;
    }
    int32_t PlaneDataType(CDDKBufferList*, uint32_t, int32_t* type) override {
        *type = 8;
        return Control().Call("Vpa.PlaneDataType");
    }
    int32_t PlaneAddress(CDDKBufferList* bl, uint32_t, void** base,
                         const ORV::VpaEntry** vpa) override {
        *base = bl != nullptr ? List(bl)->memory.data() : nullptr;
        *vpa = nullptr;
        return Control().Call("Vpa.PlaneAddress");
    }
};

class TestBoardSelect2 : public CSPIBoardSelect2 {
public:
    bool Supported(CDDKBufferList*) override { return true; }
    int32_t BoardCount(CDDKBufferList*, int32_t* count) override {
        *count = Control().boardCount;
        return Control().Call("BoardSelect2.BoardCount");
    }
};

class TestCameraSelect2 : public CSPICameraSelect2 {
public:
    explicit TestCameraSelect2(int32_t index) : index_(index) {}
    bool Supported(CDDKBufferList*) override { return true; }
    int32_t PortCount(CDDKBufferList*, int32_t* count) override {
        *count = Control().channelCount;
        return Control().Call("CameraSelect2.PortCount");
    }
    int32_t CheckPort(CDDKBufferList*, int32_t) override {
        return Control().Call("CameraSelect2.CheckPort");
    }
    int32_t CurrentPort(CDDKBufferList*, int32_t* port) override {
        *port = index_;
        return Control().Call("CameraSelect2.CurrentPort");
    }

private:
    int32_t index_;
};

class TestGrabber : public CSPIGrabber {
public:
    bool Supported(CDDKBufferList*) override { return true; }
    int32_t Snap(CDDKBufferList*) override { return Control().Call("Grabber.Snap"); }
    int32_t SnapArea(CDDKBufferList*, int64_t, int64_t, int64_t) override {
        return Control().Call("Grabber.SnapArea");
    }
    void Empty() override {}
    int32_t SetTimeout(int32_t milliseconds) override {
        return Control().Call("Grabber.SetTimeout." + std::to_string(milliseconds));
    }
    int32_t GetTimeout(uint32_t* milliseconds) override {
        *milliseconds = 5000;
        return Control().Call("Grabber.GetTimeout");
    }
};

class TestGrab2 : public CSPIGrab2 {
public:
    bool Supported(CDDKBufferList*) override { return true; }
    int32_t GrabStart(CDDKBufferList* bl) override {
        return bl != nullptr ? Control().Call("Grab2.GrabStart") : ORV::E_INVALIDARG;
    }
    int32_t GrabWait(CDDKBufferList*, int32_t* index) override {
        const int32_t result = Control().Call("Grab2.GrabWait");
        if (!Control().NextWaitIndex(index))
            return ORV::E_TIMEOUT;
        return result;
    }
    int32_t GrabStop(CDDKBufferList*, uint8_t flag) override {
        return Control().Call("Grab2.GrabStop." + std::to_string(flag));
    }
    int32_t GrabInfo(CDDKBufferList*, int32_t command, double* value) override {
        *value = command;
        return Control().Call("Grab2.GrabInfo");
    }
};

class TestBufferContainer : public CSPIBufferContainer {
public:
    int32_t AllocateBufferList(CDDKBufferList** bufferList) override {
        const int32_t result = Control().Call("BufferContainer.Allocate." +
                                              std::to_string(Control().numBuffers.load()));
        if (result < 0)
            return result;
        auto list = new TestBufferList();
        list->count = Control().numBuffers;
        list->memory.assign(static_cast<size_t>(Control().width * Control().height), 0);
        *bufferList = list;
        return result;
    }
    int32_t FreeBufferList(CDDKBufferList*& bufferList, int32_t, void*) override {
        delete List(bufferList);
        return Control().Call("BufferContainer.Free");
    }
};

class TestRingBuffer : public CSPIRingBuffer {
public:
    bool Supported(CDDKBufferList*) override { return true; }
    int32_t NumBuffers(CDDKBufferList*, uint32_t action, int32_t* count) override {
        const int32_t result = Control().Call("RingBuffer.NumBuffers." + std::to_string(action));
        if (action == 0)
            *count = Control().numBuffers;
        else if (action == 1 && result >= 0)
            Control().numBuffers = *count;
        return result;
    }
    int32_t UnlockBuffer(CDDKBufferList*, int32_t) override {
        return Control().Call("RingBuffer.Unlock");
    }
    int32_t LockMode(CDDKBufferList*, uint32_t, uint32_t*) override {
        return Control().Call("RingBuffer.LockMode");
    }
    int32_t IsLocked(CDDKBufferList*, int32_t, uint8_t*) override {
        return Control().Call("RingBuffer.IsLocked");
    }
    int32_t BufferDimensions(CDDKBufferList* bl, int32_t index, int32_t* planes, int32_t* width,
                             int32_t* height) override {
        *planes = 1;
        *width = List(bl)->count; // lets a test see which buffer list answered
        *height = index;
        return Control().Call("RingBuffer.BufferDimensions");
    }
    int32_t BufferDataType(CDDKBufferList*, int32_t, uint32_t, int32_t* type) override {
        *type = 8;
        return Control().Call("RingBuffer.BufferDataType");
    }
    int32_t BufferPlane(CDDKBufferList* bl, int32_t, uint32_t, void** base,
                        const ORV::VpaEntry** vpa) override {
        *base = List(bl)->memory.data();
        *vpa = nullptr;
        return Control().Call("RingBuffer.BufferPlane");
    }
    int32_t BufferSequence(CDDKBufferList*, int32_t, int32_t*) override {
        const int32_t result = Control().Call("RingBuffer.BufferSequence");
        return result == 0 ? 1 : result;
    }
    int32_t BufferInfo(CDDKBufferList*, int32_t, int32_t, double* value) override {
        *value = 1.5;
        return Control().Call("RingBuffer.BufferInfo");
    }
};

constexpr uint32_t kChannelKey = 0x10000;

int32_t NodeMapReleased(void*) {
    CNodeMapLiveness::Clear(kChannelKey, CNodeMapLiveness::CameraBit);
    Control().Call("NodeMap.Released");
    return 0;
}

/// A node-map proxy as a real driver hands it out: the liveness bit is set while
/// the host holds it.
int32_t MakeNodeMap(ORHandle* out) {
    ORHandle nodeMap = nullptr;
    if (ORGenApi_CreateNodeMap(&nodeMap) != 0)
        return ORV::E_FAIL;
    ORGenApi_LoadDescription(nodeMap, "<RegisterDescription ModelName=\"T\" VendorName=\"V\" "
                                      "StandardNameSpace=\"None\" SchemaMajorVersion=\"1\" "
                                      "SchemaMinorVersion=\"1\" SchemaSubMinorVersion=\"0\" "
                                      "MajorVersion=\"1\" MinorVersion=\"0\" "
                                      "SubMinorVersion=\"0\" ToolTip=\"t\" ProductGuid=\"x\" "
                                      "VersionGuid=\"y\"/>");
    CNodeMapLiveness::Set(kChannelKey, CNodeMapLiveness::CameraBit);
    ORHandle proxy = nullptr;
    const int32_t result = ORGenApi_CreateProxy(nodeMap, &NodeMapReleased, nullptr, &proxy);
    ORCImg_ReleaseObject(&nodeMap);
    if (result != 0) {
        CNodeMapLiveness::Clear(kChannelKey, CNodeMapLiveness::CameraBit);
        return ORV::E_FAIL;
    }
    *out = proxy;
    return 0;
}

class TestNodeMapHandle : public CSPINodeMapHandle {
public:
    bool Supported(CDDKBufferList*) override { return true; }
    int32_t GetNodeMap(CDDKBufferList*, ORHandle* nodeMap) override {
        const int32_t result = Control().Call("NodeMapHandle.GetNodeMap");
        return result != 0 ? result : MakeNodeMap(nodeMap);
    }
};

class TestNodeMapHandle2 : public CSPINodeMapHandle2 {
public:
    bool Supported(CDDKBufferList*) override { return true; }
    int32_t ListNodeMaps(CDDKBufferList*, std::vector<NodeMapEntry>& list) override {
        list.clear();
        list.push_back({"TLDevice", "Transport Layer Device Nodemap"});
        list.push_back({"Device", "Remote Device Nodemap"});
        return Control().Call("NodeMapHandle2.ListNodeMaps");
    }
    int32_t GetNodeMapByName(CDDKBufferList*, const char* name, ORHandle* nodeMap) override {
        Control().Call("NodeMapHandle2.GetNodeMapByName");
        *nodeMap = nullptr;
        if (std::string(name) != "Device")
            return ORV::E_NOTSUPPORTED;
        return MakeNodeMap(nodeMap);
    }
};

class TestDeviceCtrl : public CSPIDeviceCtrl {
public:
    bool Supported(CDDKBufferList*) override { return true; }
    int32_t TextCommand(CDDKBufferList*, uint32_t, const char*, uint64_t, char*,
                        uint64_t*) override {
        return Control().Call("DeviceCtrl.Text");
    }
    int32_t RawCommand(CDDKBufferList*, uint32_t, const void*, uint64_t, void*,
                       uint64_t*) override {
        return Control().Call("DeviceCtrl.Raw");
    }
};

class TestSoftwareTrigger : public CSPISoftwareTrigger {
public:
    explicit TestSoftwareTrigger(CDrvChannel* channel) : channel_(channel) {}
    int32_t SendTrigger(CDDKBufferList*, uint32_t argument) override {
        const int32_t result = Control().Call("SoftwareTrigger.Send");
        // Lets notification tests see an event raised by the driver.
        int32_t payload = static_cast<int32_t>(argument);
        channel_->RaiseEvent(7, &payload, sizeof payload, 42);
        return result;
    }
    bool Supported(CDDKBufferList*) override { return true; }

private:
    CDrvChannel* channel_;
};

class TestImageRect : public CSPIImageRect {
public:
    bool Supported(CDDKBufferList*) override { return true; }
    int32_t ImageSize(uint32_t action, int32_t* width, int32_t* height, uint8_t* changed) override {
        const int32_t result = Control().Call("ImageRect.Size." + std::to_string(action));
        if (result < 0)
            return result;
        if (action == 0) {
            *width = Control().width;
            *height = Control().height;
        } else if (action == 1 || action == 3) {
            Control().width = *width;
            Control().height = *height;
            *changed = 1;
        }
        return result;
    }
    int32_t ImageOffset(uint32_t action, int32_t*, int32_t*, uint8_t*) override {
        return Control().Call("ImageRect.Offset." + std::to_string(action));
    }
};

} // namespace

void TestChannel::CreateInterfaces(InterfaceMap& interfaces) {
    Control().Call("Channel.CreateInterfaces");
    AddInterface<CSPIVpa>(interfaces, std::make_shared<TestVpa>());
    AddInterface<CSPIBoardSelect2>(interfaces, std::make_shared<TestBoardSelect2>());
    AddInterface<CSPICameraSelect2>(interfaces, std::make_shared<TestCameraSelect2>(Index()));
    AddInterface<CSPIGrabber>(interfaces, std::make_shared<TestGrabber>());
    AddInterface<CSPIGrab2>(interfaces, std::make_shared<TestGrab2>());
    AddInterface<CSPIBufferContainer>(interfaces, std::make_shared<TestBufferContainer>());
    AddInterface<CSPIRingBuffer>(interfaces, std::make_shared<TestRingBuffer>());
    AddInterface<CSPINodeMapHandle>(interfaces, std::make_shared<TestNodeMapHandle>());
    AddInterface<CSPINodeMapHandle2>(interfaces, std::make_shared<TestNodeMapHandle2>());
    AddInterface<CSPIDeviceCtrl>(interfaces, std::make_shared<TestDeviceCtrl>());
    AddInterface<CSPISoftwareTrigger>(interfaces, std::make_shared<TestSoftwareTrigger>(this));
    AddInterface<CSPIImageRect>(interfaces, std::make_shared<TestImageRect>());
}
