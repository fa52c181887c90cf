// The simulator's GenICam descriptions loaded by Aravis's node map, with registers reached
// through the simulated ports the way the driver reaches them.
#include "AravisPortDevice.h"
#include "SgcLibrary.h"
#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

using namespace simtest;

namespace {

// Owns an Aravis node map built from a description and a port device.
class NodeMap {
public:
    NodeMap(const std::string& xml, SimPortRead read, SimPortWrite write, void* context)
        : device_(sim_port_device_new(read, write, context)),
          gc_(arv_gc_new(device_, xml.data(), xml.size())) {}
    ~NodeMap() {
        if (gc_ != nullptr) {
            g_object_unref(gc_);
        }
        g_object_unref(device_);
    }
    NodeMap(const NodeMap&) = delete;
    NodeMap& operator=(const NodeMap&) = delete;

    bool Loaded() const { return gc_ != nullptr; }
    ArvGcNode* Node(const char* name) const { return arv_gc_get_node(gc_, name); }

    std::int64_t Integer(const char* name) {
        GError* error = nullptr;
        const std::int64_t value = arv_gc_integer_get_value(ARV_GC_INTEGER(Node(name)), &error);
        Check(error, name);
        return value;
    }
    void SetInteger(const char* name, std::int64_t value) {
        GError* error = nullptr;
        arv_gc_integer_set_value(ARV_GC_INTEGER(Node(name)), value, &error);
        Check(error, name);
    }
    std::string Enumeration(const char* name) {
        GError* error = nullptr;
        const char* value =
            arv_gc_enumeration_get_string_value(ARV_GC_ENUMERATION(Node(name)), &error);
        Check(error, name);
        return value != nullptr ? value : "";
    }
    double Real(const char* name) {
        GError* error = nullptr;
        const double value = arv_gc_float_get_value(ARV_GC_FLOAT(Node(name)), &error);
        Check(error, name);
        return value;
    }
    std::string Text(const char* name) {
        GError* error = nullptr;
        const char* value = arv_gc_string_get_value(ARV_GC_STRING(Node(name)), &error);
        Check(error, name);
        return value != nullptr ? value : "";
    }
    void Execute(const char* name) {
        GError* error = nullptr;
        arv_gc_command_execute(ARV_GC_COMMAND(Node(name)), &error);
        Check(error, name);
    }

    // Every feature reachable from Root resolves to a node.
    void ExpectCompleteTree(const char* category = "Root") {
        ArvGcNode* found = Node(category);
        ASSERT_TRUE(ARV_IS_GC_CATEGORY(found)) << category;
        for (const GSList* item = arv_gc_category_get_features(ARV_GC_CATEGORY(found));
             item != nullptr; item = item->next) {
            const char* feature = static_cast<const char*>(item->data);
            ArvGcNode* child = Node(feature);
            ASSERT_NE(child, nullptr) << feature;
            if (ARV_IS_GC_CATEGORY(child)) {
                ExpectCompleteTree(feature);
            }
        }
    }

private:
    static void Check(GError* error, const char* name) {
        if (error != nullptr) {
            ADD_FAILURE() << name << ": " << error->message;
            g_error_free(error);
        }
    }

    ArvDevice* device_;
    ArvGc* gc_;
};

struct DmaPort {
    Fg_Grabber* grabber;
    unsigned dma;
};

// The grabber port: the address is a parameter id, the length is the parameter's own.
int DmaRead(void* context, std::uint64_t address, void* buffer, std::uint32_t) {
    const auto* port = static_cast<DmaPort*>(context);
    return Fg_GetParameter(port->grabber, static_cast<int>(address), buffer, port->dma);
}

int DmaWrite(void* context, std::uint64_t address, const void* buffer, std::uint32_t) {
    const auto* port = static_cast<DmaPort*>(context);
    return Fg_SetParameter(port->grabber, static_cast<int>(address), buffer, port->dma);
}

struct GigePort {
    Gbe_Camera* camera;
    bool runtime51;
};

// Reads are reversed except on runtime 5.1, writes only on 5.1, as the driver does.
int GigeRead(void* context, std::uint64_t address, void* buffer, std::uint32_t size) {
    const auto* port = static_cast<GigePort*>(context);
    const int result = Gbe_MemoryRead(port->camera, buffer, address, size);
    if (result == GBE_OK && !port->runtime51) {
        auto* bytes = static_cast<std::uint8_t*>(buffer);
        std::reverse(bytes, bytes + size);
    }
    return result;
}

int GigeWrite(void* context, std::uint64_t address, const void* buffer, std::uint32_t size) {
    const auto* port = static_cast<GigePort*>(context);
    std::string bytes(static_cast<const char*>(buffer), size);
    if (port->runtime51) {
        std::reverse(bytes.begin(), bytes.end());
    }
    return Gbe_MemoryWrite(port->camera, bytes.data(), address, size);
}

struct CxpPort {
    SgcLibrary* library;
    SgcCamera* camera;
};

int CxpRead(void* context, std::uint64_t address, void* buffer, std::uint32_t size) {
    const auto* port = static_cast<CxpPort*>(context);
    return port->library->memoryRead(port->camera, buffer, address, size, 10000);
}

int CxpWrite(void* context, std::uint64_t address, const void* buffer, std::uint32_t size) {
    const auto* port = static_cast<CxpPort*>(context);
    return port->library->memoryWrite(port->camera, buffer, address, size, 10000);
}

TEST(AravisDmaDescription, Loads_AndReadsWritesParametersThroughTheGrabberPort) {
    UseMachine();
    TempDir dir;
    Board board(dir.Write("applet.ini", "[dma1]\nframerate = 25.5\ntrigger = software\n"), 0);
    ASSERT_TRUE(board);
    std::size_t size = 0;
    ASSERT_EQ(Fg_DmaDescription(board.get(), 1, nullptr, &size), 0);
    std::string xml(size, '\0');
    ASSERT_EQ(Fg_DmaDescription(board.get(), 1, xml.data(), &size), 0);
    xml.resize(xml.rfind('>') + 1);

    DmaPort port{board.get(), 1};
    NodeMap map(xml, DmaRead, DmaWrite, &port);
    ASSERT_TRUE(map.Loaded());
    map.ExpectCompleteTree();
    EXPECT_EQ(map.Integer("FG_WIDTH"), 640);
    EXPECT_EQ(map.Integer("FG_MAXWIDTH"), 1 << 20);
    EXPECT_EQ(map.Enumeration("FG_FORMAT"), "Gray8");
    EXPECT_EQ(map.Enumeration("FG_TRIGGERMODE"), "SoftwareTrigger");
    EXPECT_DOUBLE_EQ(map.Real("FG_FRAMERATE"), 25.5);
    EXPECT_EQ(map.Integer("FG_IMAGE_COUNTER"), 0);

    map.SetInteger("FG_WIDTH", 320);
    EXPECT_EQ(Parameter<std::uint32_t>(board.get(), FG_PARAM_WIDTH, 1), 320u);
    map.SetInteger("FG_PATTERN_OFFSET", -4);
    EXPECT_EQ(Parameter<std::int32_t>(board.get(), SIM_PARAM_PATTERN_OFFSET, 1), -4);

    CustomRing ring(board.get(), 320 * 480, 1);
    ASSERT_EQ(Fg_AcquireEx(board.get(), 1, -1, FG_ACQ_STANDARD, ring.Head()), 0);
    Acquisition running(board.get(), 1, ring.Head());
    map.Execute("FG_SENDSOFTWARETRIGGER");
    EXPECT_EQ(Fg_WaitImage(board.get(), FG_WAIT_PICTURE_NUMBER, 1, 1, PatienceSeconds, ring.Head()),
              1);
}

class AravisGigeDescription : public ::testing::TestWithParam<bool> {};

TEST_P(AravisGigeDescription, BigEndianNodeMap_SeesTheCameraValuesOnBothRuntimes) {
    const bool runtime51 = GetParam();
    UseMachine(std::string("[machine]\nruntime = ") + (runtime51 ? "5.1.0" : "5.0.0") +
               "\n[board0]\ntype = 3652\nport0 = cam\n[camera:cam]\nWidth = 1024\n"
               "PixelFormat = Mono16\n");
    GigeBoard board(0);
    ASSERT_EQ(Gbe_ScanPort(board.get(), 0, 200), GBE_OK);
    GigeCamera camera(board.get(), 0);
    ASSERT_EQ(Gbe_Connect(camera.get()), GBE_OK);
    std::size_t size = 0;
    ASSERT_EQ(Gbe_CameraDescription(camera.get(), nullptr, &size), GBE_OK);
    std::string xml(size, '\0');
    ASSERT_EQ(Gbe_CameraDescription(camera.get(), xml.data(), &size), GBE_OK);
    xml.resize(xml.rfind('>') + 1);

    GigePort port{camera.get(), runtime51};
    NodeMap map(xml, GigeRead, GigeWrite, &port);
    ASSERT_TRUE(map.Loaded());
    map.ExpectCompleteTree();
    EXPECT_EQ(map.Integer("Width"), 1024);
    EXPECT_EQ(map.Integer("SensorWidth"), 1920);
    EXPECT_EQ(map.Enumeration("PixelFormat"), "Mono16");
    EXPECT_EQ(map.Integer("PayloadSize"), 1024 * 480 * 2);
    EXPECT_EQ(map.Text("DeviceModelName"), "SimCam GigE");
    EXPECT_DOUBLE_EQ(map.Real("AcquisitionFrameRate"), 30.0);

    map.SetInteger("Width", 640);
    EXPECT_EQ(map.Integer("Width"), 640);
    EXPECT_EQ(map.Integer("PayloadSize"), 640 * 480 * 2);
    map.Execute("AcquisitionStart");
    EXPECT_EQ(SimCtl_CameraState("cam") & SIM_CAMERA_ACQUIRING, SIM_CAMERA_ACQUIRING);
    EXPECT_EQ(map.Integer("AcquisitionStatus"), 1);
}

INSTANTIATE_TEST_SUITE_P(Runtimes, AravisGigeDescription, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Runtime51" : "Runtime50"; });

TEST(AravisCxpDescription, BigEndianNodeMap_ReadsRegistersAndStrings) {
    UseMachine("[board0]\ntype = 2646\ncameras = cam\n[camera:cam]\nWidth = 800\n"
               "DeviceVendorName = Acme Vision\n");
    SgcLibrary library(SIM_SGC_LIBRARY);
    ASSERT_TRUE(library.Resolve());
    TempDir dir;
    Board board(dir.Write("applet.ini", ""), 0);
    ASSERT_TRUE(board);
    SgcBoard* sgc = nullptr;
    ASSERT_EQ(library.initBoard(board.get(), 0, &sgc), SGC_OK);
    ASSERT_EQ(library.scanPorts(sgc, SGC_ALL_PORTS, 10000, SGC_SPEED_CXP6), SGC_OK);
    SgcCamera* camera = nullptr;
    ASSERT_EQ(library.getCameraByIndex(sgc, 0, &camera), SGC_OK);
    ASSERT_EQ(library.linkConnect(sgc, camera), SGC_OK);
    ASSERT_EQ(library.connectCamera(camera), SGC_OK);
    std::size_t size = 0;
    ASSERT_EQ(library.getGenICamXML(camera, nullptr, &size), SGC_OK);
    std::string xml(size, '\0');
    ASSERT_EQ(library.getGenICamXML(camera, xml.data(), &size), SGC_OK);
    xml.resize(xml.rfind('>') + 1);

    {
        CxpPort port{&library, camera};
        NodeMap map(xml, CxpRead, CxpWrite, &port);
        ASSERT_TRUE(map.Loaded());
        map.ExpectCompleteTree();
        EXPECT_EQ(map.Integer("Width"), 800);
        EXPECT_EQ(map.Text("DeviceVendorName"), "Acme Vision");
        EXPECT_EQ(map.Enumeration("TriggerMode"), "Off");
        map.SetInteger("Height", 600);
        EXPECT_EQ(map.Integer("PayloadSize"), 800 * 600);
    }
    library.freeBoard(sgc);
}

} // namespace
