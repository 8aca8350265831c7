// The plug-in DLL's version resource, as Explorer and installers read it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class VersionResource : public ::testing::Test {
protected:
    void SetUp() override {
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeA(ZELMOR_PLUGIN_PATH, &ignored);
        ASSERT_GT(size, 0u) << "no version resource in " << ZELMOR_PLUGIN_PATH;
        data.resize(size);
        ASSERT_TRUE(GetFileVersionInfoA(ZELMOR_PLUGIN_PATH, 0, size, data.data()));
    }

    std::string text(const char* name) {
        std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
        char* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || length == 0) {
            return "(missing)";
        }
        return std::string(value);
    }

    std::vector<char> data;
};

TEST_F(VersionResource, NamesTheProductAndCompany) {
    EXPECT_EQ(text("ProductName"), "Korvane - Zelmor");
    EXPECT_EQ(text("CompanyName"), "Korvane Audio");
    EXPECT_EQ(text("FileVersion"), ZELMOR_VERSION_TEXT);
    EXPECT_EQ(text("ProductVersion"), ZELMOR_VERSION_TEXT);
    EXPECT_EQ(text("OriginalFilename"), "zelmor.dll");
}

TEST_F(VersionResource, FixedPartIsTheSameVersionForADll) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
    std::string version = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                          std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                          std::to_string(HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(version, ZELMOR_VERSION_TEXT);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), 0);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
}

}  // namespace
