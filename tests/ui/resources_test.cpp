// The executable's resources, linked into this test program from the same resource script:
// icon group 1, the manifest, and the version from the VERSION file.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string ResourceBytes(const wchar_t* type, int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const char* data = static_cast<const char*>(LockResource(loaded));
    return data ? std::string(data, SizeofResource(module, found)) : std::string();
}

#pragma pack(push, 2)
struct IconDirectoryEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitsPerPixel;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

}  // namespace

TEST(Resources, IconGroupOneHoldsFiveSizesAtThirtyTwoBitsPerPixel) {
    std::string group = ResourceBytes(RT_GROUP_ICON, 1);
    ASSERT_GE(group.size(), 6u);
    WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
    ASSERT_EQ(count, 5);
    ASSERT_EQ(group.size(), 6u + count * sizeof(IconDirectoryEntry));
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const auto* entry = reinterpret_cast<const IconDirectoryEntry*>(group.data() + 6 + i * sizeof(IconDirectoryEntry));
        sizes.push_back(entry->width == 0 ? 256 : entry->width);
        EXPECT_EQ(entry->width, entry->height);
        EXPECT_EQ(entry->bitsPerPixel, 32) << "image " << i;
        EXPECT_FALSE(ResourceBytes(RT_ICON, entry->id).empty());
    }
    EXPECT_EQ(sizes, (std::vector<int>{256, 48, 32, 24, 16}));
}

TEST(Resources, ManifestAsksForCommonControlsSixAsInvoker) {
    std::string manifest = ResourceBytes(RT_MANIFEST, 1);
    ASSERT_FALSE(manifest.empty());
    size_t controls = manifest.find("name=\"Microsoft.Windows.Common-Controls\"");
    ASSERT_NE(controls, std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\"", controls), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("version=\"" TB_EXPECTED_VERSION ".0\""), std::string::npos);

    // Both the program's identity and the common controls it asks for name this build's processor:
    // Windows refuses to start a 64-bit program bound to the 32-bit controls, and the reverse.
    const std::string architecture =
        std::string("processorArchitecture=\"") + (sizeof(void*) == 8 ? "amd64" : "x86") + "\"";
    size_t first = manifest.find(architecture);
    ASSERT_NE(first, std::string::npos) << manifest;
    EXPECT_LT(first, controls);
    EXPECT_NE(manifest.find(architecture, controls), std::string::npos) << manifest;
    EXPECT_EQ(manifest.find("processorArchitecture=\"", manifest.find(architecture, controls) + 1), std::string::npos);
}

// Read back through the system's own manifest parser, from the process's activation context.
TEST(Resources, ManifestAsksForPerMonitorScalingWithTheSystemScaleAsFallback) {
    auto setting = [](const wchar_t* nameSpace, const wchar_t* name) {
        wchar_t value[128] = {};
        SIZE_T written = 0;
        if (!QueryActCtxSettingsW(0, nullptr, nameSpace, name, value, std::size(value), &written)) return std::wstring();
        return std::wstring(value);
    };
    // Windows before 10 (1607) read the first; later ones the second, first value they know.
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"), L"true");
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
              L"PerMonitorV2, System");
}

// Long-path aware (as the system's manifest parser read it into the process's activation context),
// and built for Windows 7, 8, 8.1 and 10/11.
TEST(Resources, ManifestIsLongPathAwareAndNamesTheWindowsVersionsItSupports) {
    wchar_t value[16] = {};
    SIZE_T written = 0;
    ASSERT_TRUE(QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                                     L"longPathAware", value, std::size(value), &written));
    EXPECT_EQ(std::wstring(value), L"true");

    // The versions, each by its GUID inside the compatibility section. Wine's QueryActCtxW
    // refuses CompatibilityInformationInActivationContext (error 87), so the manifest's text is
    // what is read here.
    std::string manifest = ResourceBytes(RT_MANIFEST, 1);
    size_t section = manifest.find("<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">");
    ASSERT_NE(section, std::string::npos) << manifest;
    size_t sectionEnd = manifest.find("</compatibility>", section);
    ASSERT_NE(sectionEnd, std::string::npos);
    std::string compatibility = manifest.substr(section, sectionEnd - section);
    for (const char* version : {"35138b9a-5d96-4fbd-8e2d-a2440225f93a",    // Windows 7
                                "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",    // Windows 8
                                "1f676c76-80e1-4239-95bb-83d0f6d0da78",    // Windows 8.1
                                "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) { // Windows 10 and 11
        EXPECT_NE(compatibility.find("<supportedOS Id=\"{" + std::string(version) + "}\"/>"), std::string::npos)
            << version;
    }
}

TEST(Resources, VersionInfoNamesTheProductAndTheVersionFile) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                          std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                          std::to_string(HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(numbers, TB_EXPECTED_VERSION);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);

    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\040904B0\\ProductName",
                               reinterpret_cast<void**>(&text), &length));
    EXPECT_STREQ(text, L"Test Builder");
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\040904B0\\ProductVersion",
                               reinterpret_cast<void**>(&text), &length));
    EXPECT_STREQ(text, L"" TB_EXPECTED_VERSION);
}
