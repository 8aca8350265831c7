// OLE and module conformance: initialisation counts, drop-target registration, dropped-file lists
// and resources embedded into the module.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/conformance/support.h"

namespace conformance {
namespace {

// Windows declares COM interfaces without destructors; objects die through Release, not delete.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class CountingTarget final : public IDropTarget {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IDropTarget || iid == IID_IUnknown) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }
    virtual ~CountingTarget() = default;

    int references = 0;
};
#pragma GCC diagnostic pop

TEST(OleConformance, RegistrationHoldsOneReferenceUntilRevoked) {
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
    OleUninitialize();
    HWND window = openHostWindow(0, 0, 50, 50);
    CountingTarget target;
    EXPECT_EQ(RegisterDragDrop(window, &target), S_OK);
    EXPECT_GE(target.references, 1);
    const int held = target.references;
    EXPECT_EQ(RegisterDragDrop(window, &target), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_EQ(target.references, held);
    EXPECT_EQ(RevokeDragDrop(window), S_OK);
    EXPECT_EQ(target.references, 0);
    EXPECT_EQ(RevokeDragDrop(window), DRAGDROP_E_NOTREGISTERED);
    closeHostWindow();
    OleUninitialize();
}

TEST(OleConformance, DroppedFileListsCountAndCopyNames) {
    HDROP files = makeFileList({"C:\\a.wav", "C:\\samples\\b.wav", "c.txt"});
    EXPECT_EQ(DragQueryFileA(files, 0xFFFFFFFF, nullptr, 0), 3u);
    EXPECT_EQ(DragQueryFileA(files, 1, nullptr, 0), 16u) << "without a buffer: the length of the name";
    char name[8];
    EXPECT_EQ(DragQueryFileA(files, 1, name, sizeof name), 7u);
    EXPECT_STREQ(name, "C:\\samp");
    char full[64];
    DragQueryFileA(files, 2, full, sizeof full);
    EXPECT_STREQ(full, "c.txt");
    freeFileList(files);
}

TEST(OleConformance, AMediumWithAnOwnerIsGivenBackToIt) {
    MediumOwner owner;
    HDROP files = makeFileList({"a.wav", "b.wav"});
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = files;
    medium.pUnkForRelease = &owner;
    ReleaseStgMedium(&medium);
    EXPECT_EQ(owner.released, 1);
    EXPECT_EQ(DragQueryFileA(files, 0xFFFFFFFF, nullptr, 0), 2u) << "the owner frees the block, not the release";
    freeFileList(files);
}

TEST(ModuleConformance, EmbeddedResourcesAreFoundByTypeAndId) {
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(200), "PNG");
    ASSERT_NE(resource, nullptr);
    const DWORD size = SizeofResource(nullptr, resource);
    HGLOBAL loaded = LoadResource(nullptr, resource);
    ASSERT_NE(loaded, nullptr);
    const auto* bytes = static_cast<const char*>(LockResource(loaded));
    const std::string expected = "Zelmor test resource\n";
    ASSERT_EQ(size, expected.size());
    EXPECT_EQ(std::string(bytes, size), expected);
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(201), "PNG"), nullptr);
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(200), "BMP"), nullptr);
    EXPECT_EQ(LoadBitmapA(nullptr, MAKEINTRESOURCEA(200)), nullptr) << "no bitmap resources exist";
}

TEST(ModuleConformance, TheBlendingLibraryLoadsAtRunTime) {
    HMODULE library = LoadLibraryA("msimg32.dll");
    ASSERT_NE(library, nullptr);
    EXPECT_NE(GetProcAddress(library, "AlphaBlend"), nullptr);
    EXPECT_NE(GetProcAddress(library, "TransparentBlt"), nullptr);
    EXPECT_EQ(GetProcAddress(library, "NoSuchFunction"), nullptr);
    EXPECT_TRUE(FreeLibrary(library));
}

}  // namespace
}  // namespace conformance
