// Device control, image rectangle, camera selection and the software trigger as
// a host calls them on the module's image.
#include "driver/nodemap/NodeMapModule.h"

#include <ORV/IDeviceCtrl.h>
#include <ORV/ResultCodes.h>

#include <simctl/SimControl.h>

#include <string>

using namespace nodemaptest;

namespace {

using InterfacesEndToEnd = NodeMapModule;

std::string TextGet(ORV::IDeviceCtrl* control, uint32_t command, const char* input) {
    uint64_t size = 0;
    if (control->TextCommand(command, input, 0, nullptr, &size) != 0)
        return "(failed)";
    std::string text(static_cast<size_t>(size), '\0');
    if (control->TextCommand(command, input, 0, text.data(), &size) != 0)
        return "(failed)";
    return text.c_str();
}

TEST_F(InterfacesEndToEnd, TextSetOfWidthAndHeight_TheDmaReportsThem) {
    Open();
    ORV::IDeviceCtrl* control = Find<ORV::IDeviceCtrl>();
    char empty[1] = {'x'};
    uint64_t size = 1;
    ASSERT_EQ(control->TextCommand(ORV::DEVICECTRL_CLASS_SET | ORV::DEVICECTRL_PARAMETER,
                                   "ID=100;type=2;length=4;data=320", 0, empty, &size),
              0);
    ASSERT_EQ(control->TextCommand(ORV::DEVICECTRL_CLASS_SET | ORV::DEVICECTRL_PARAMETER,
                                   "ID=200;type=2;length=4;data=200", 0, empty, &size),
              0);
    EXPECT_EQ(TextGet(control, ORV::DEVICECTRL_PARAMETER, "ID=100;type=2;length=4"), "320");
    EXPECT_EQ(TextGet(control, ORV::DEVICECTRL_PARAMETER, "ID=200;type=2;length=4"), "200");
    int32_t width = 0;
    int32_t height = 0;
    ORHandle unused = nullptr;
    ASSERT_EQ(Find<ORV::IImageRect>()->ImageSize(0, &width, &height, &unused), 0);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 200);
    EXPECT_EQ(TextGet(control, ORV::DEVICECTRL_BUFFER_COUNT, ""), "3");
}

TEST_F(InterfacesEndToEnd, SizeChange_GivesANewImageOfTheNewSize) {
    Open();
    ORV::IImageRect* rect = Find<ORV::IImageRect>();
    int32_t width = 320;
    int32_t height = 240;
    ORHandle image = nullptr;
    ASSERT_EQ(rect->ImageSize(1, &width, &height, &image), 0);
    ASSERT_NE(image, nullptr);
    ReplaceImage(image);
    int32_t planes = 0;
    int32_t newWidth = 0;
    int32_t newHeight = 0;
    ORV::IImageVPA* description = orvhost::ImageDescription(Image());
    ASSERT_NE(description, nullptr);
    ASSERT_EQ(description->GetDimensions(&planes, &newWidth, &newHeight), 0);
    EXPECT_EQ(newWidth, 320);
    EXPECT_EQ(newHeight, 240);

    ORV::IGrab2* grab = Find<ORV::IGrab2>();
    ASSERT_EQ(grab->GrabStart(), 0);
    int32_t index = -1;
    ASSERT_EQ(grab->GrabWait(&index), 0);
    SimCtlBufferRecord record{};
    ASSERT_EQ(SimCtl_GetBufferRecord(0, 0, index + 1, &record), SIMCTL_OK);
    EXPECT_EQ(record.width, 320u);
    EXPECT_EQ(record.height, 240u);
    EXPECT_EQ(record.transferLength, 320u * 240u);
    ASSERT_EQ(grab->GrabStop(0), 0);
}

TEST_F(InterfacesEndToEnd, SizeActionOneWithTheCurrentSize_WritesNothing) {
    Open();
    int32_t width = 640;
    int32_t height = 480;
    ORHandle image = nullptr;
    ASSERT_EQ(Find<ORV::IImageRect>()->ImageSize(1, &width, &height, &image), 0);
    if (image != nullptr)
        ReplaceImage(image);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetParameter"), 0);
    EXPECT_EQ(SimCtl_CallCount("Fg_SetParameterTyped"), 0);
}

TEST_F(InterfacesEndToEnd, RectangleActionTwo_NotSupported) {
    Open();
    int32_t a = 0;
    int32_t b = 0;
    ORHandle image = nullptr;
    EXPECT_EQ(Find<ORV::IImageRect>()->ImageSize(2, &a, &b, &image), ORV::E_NOTSUPPORTED);
    EXPECT_EQ(Find<ORV::IImageRect>()->ImageOffset(2, &a, &b), ORV::E_NOTSUPPORTED);
    EXPECT_EQ(image, nullptr);
}

TEST_F(InterfacesEndToEnd, CameraSelection_CountCurrentAndRange) {
    Machine machine;
    machine.dmas = 2;
    Open(machine);
    ORV::ICameraSelect2* select = Find<ORV::ICameraSelect2>();
    int32_t count = 0;
    ASSERT_EQ(select->GetCameraCount(&count), 0);
    EXPECT_EQ(count, 2);
    int32_t current = -1;
    ASSERT_EQ(select->GetCurrentCamera(&current), 0);
    EXPECT_EQ(current, 0);
    ORHandle image = nullptr;
    EXPECT_EQ(select->SetCamera(2, &image), ORV::E_INVALIDARG);
    ASSERT_EQ(select->SetCamera(1, &image), 0);
    ASSERT_NE(image, nullptr);
    ReplaceImage(image);
    ASSERT_EQ(select->GetCurrentCamera(&current), 0);
    EXPECT_EQ(current, 1);
    int32_t boards = 0;
    ASSERT_EQ(Find<ORV::IBoardSelect2>()->GetBoardCount(&boards), 0);
    EXPECT_EQ(boards, 1);
}

TEST_F(InterfacesEndToEnd, SoftwareTrigger_OneImagePerTrigger) {
    Machine machine;
    machine.trigger = "software";
    Open(machine);
    ORV::IGrab2* grab = Find<ORV::IGrab2>();
    ORV::ISoftwareTrigger* trigger = Find<ORV::ISoftwareTrigger>();
    ASSERT_EQ(grab->GrabStart(), 0);
    for (int n = 1; n <= 4; ++n) {
        ASSERT_EQ(trigger->Trigger(0), 0);
        int32_t index = -1;
        ASSERT_EQ(grab->GrabWait(&index), 0);
        SimCtlDmaCounters counters{};
        ASSERT_EQ(SimCtl_GetDmaCounters(0, 0, &counters), SIMCTL_OK);
        EXPECT_EQ(counters.produced, n);
        EXPECT_EQ(counters.delivered, n);
    }
    ASSERT_EQ(grab->GrabStop(0), 0);
}

TEST_F(InterfacesEndToEnd, SoftwareTrigger_FreeRunningDmaRefuses) {
    Open();
    EXPECT_EQ(Find<ORV::ISoftwareTrigger>()->Trigger(0), ORV::E_FAIL);
}

} // namespace
