// The module's DLL boundary as the Windows loader sees it: a PE32+ DLL whose only
// exports are the two entry points, importing the host libraries by ordinal.
// Built on Windows only, where the module is a PE image.

#include "support/PeImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TEST(ModuleImageTest, Exports_OnlyTheTwoEntryPoints) {
    const PeImage image(ORSISOME_PATH);
    EXPECT_EQ(image.Machine(), 0x8664); // x64
    EXPECT_TRUE(image.IsDll());
    std::vector<std::string> names = image.ExportNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"CanUnload", "GetImageV2"}));
    EXPECT_EQ(image.ExportCount(), 2u);
}

TEST(ModuleImageTest, Imports_HostLibrariesByOrdinalOnly) {
    const PeImage image(ORSISOME_PATH);
    const std::set<std::string> hostLibraries = {"orbase_v1_2.dll", "orcimg.dll", "orgenapi.dll",
                                                 "orcutilities.dll"};
    std::map<std::string, std::set<uint16_t>> ordinals;
    for (const PeImport& import : image.Imports()) {
        const std::string library = Lower(import.library);
        if (hostLibraries.count(library) == 0)
            continue;
        EXPECT_TRUE(import.name.empty()) << library << " imported by name: " << import.name;
        ordinals[library].insert(import.ordinal);
    }
    // Ordinals the module cannot do without: allocate, announce the object,
    // release, add an interface table, release object, open product key.
    EXPECT_EQ(ordinals["orbase_v1_2.dll"].count(23), 1u);
    EXPECT_EQ(ordinals["orbase_v1_2.dll"].count(21), 1u);
    EXPECT_EQ(ordinals["orbase_v1_2.dll"].count(26), 1u);
    EXPECT_EQ(ordinals["orbase_v1_2.dll"].count(30), 1u);
    EXPECT_EQ(ordinals["orcimg.dll"].count(82), 1u);
    EXPECT_EQ(ordinals["orcutilities.dll"].count(12), 1u);
}

TEST(ModuleImageTest, Imports_NoRunTimeDllBesideTheSystemOnes) {
    const PeImage image(ORSISOME_PATH);
    for (const PeImport& import : image.Imports()) {
        const std::string library = Lower(import.library);
        EXPECT_NE(library, "libwinpthread-1.dll");
        EXPECT_EQ(library.find("libstdc++"), std::string::npos) << library;
        EXPECT_EQ(library.find("libgcc"), std::string::npos) << library;
    }
}

} // namespace
