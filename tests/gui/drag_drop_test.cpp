// Drag and drop onto the frame's window: the registered drop target called as OLE calls it, with data
// objects that hold text, files or neither, and what the target tells the drag source.
#include <gtest/gtest.h>

#include <string>

#include "gui/drag_drop.h"
#include "tests/conformance/support.h"
#include "tests/gui/probe_view.h"
#include "tests/gui/toolkit_harness.h"

namespace guitest {
namespace {

// Lets the tests reach the target the frame registered for its window.
class DropFrame : public gui::CFrame {
public:
    using CFrame::CFrame;
    gui::CDropTarget* target() const { return dropTarget; }
};

// COM objects are released, never deleted through an interface: no virtual destructors.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// A drag source's data: text, a list of files, or neither.
class DataObject : public IDataObject {
public:
    DataObject(CLIPFORMAT held, HGLOBAL block) : format(held), data(block) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID /*iid*/, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* wanted, STGMEDIUM* medium) override {
        ++asked;
        if (wanted->cfFormat != format || (wanted->tymed & TYMED_HGLOBAL) == 0 || data == nullptr) {
            return DV_E_FORMATETC;
        }
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = data;
        medium->pUnkForRelease = &owner;
        ++handedOut;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* /*format*/, STGMEDIUM* /*medium*/) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* wanted) override {
        return wanted->cfFormat == format ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* /*in*/, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* /*format*/, STGMEDIUM* /*medium*/, BOOL /*release*/) override {
        return E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD /*direction*/, IEnumFORMATETC** formats) override {
        *formats = nullptr;
        return E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* /*format*/, DWORD /*flags*/, IAdviseSink* /*sink*/,
                                      DWORD* /*connection*/) override {
        return E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD /*connection*/) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** advises) override {
        *advises = nullptr;
        return E_FAIL;
    }

    int asked = 0;
    int handedOut = 0;
    conformance::MediumOwner owner;

private:
    CLIPFORMAT format;
    HGLOBAL data;
    ULONG references = 1;
};
#pragma GCC diagnostic pop

// Notes how many items each drag it sees carries, and takes drops when asked to.
class CountingView : public DragView {
public:
    CountingView(const gui::CRect& rect, std::string* log, bool takes) : DragView(rect, log, 'v'), taking(takes) {}
    void onDragEnter(gui::CDrawContext* context, gui::CDragContainer* drag, const gui::CPoint& where) override {
        counts.push_back(drag->getCount());
        DragView::onDragEnter(context, drag, where);
    }
    bool onDrop(gui::CDrawContext* context, gui::CDragContainer* drag, const gui::CPoint& where) override {
        DragView::onDrop(context, drag, where);
        return taking;
    }
    std::vector<std::int32_t> counts;

private:
    bool taking;
};

class DragAndDrop : public testing::Test {
protected:
    void SetUp() override {
        host = conformance::openHostWindow(kHostX, kHostY, kHostWidth, kHostHeight);
        frame = new DropFrame(gui::CRect(0, 0, 200, 150), host, &editor);
        view = new CountingView(gui::CRect(0, 0, 200, 150), &events, false);
        frame->addView(view);
        input.moveTo(FrameInHost::screen(30, 40));
    }
    void TearDown() override {
        frame->forget();
        conformance::closeHostWindow();
    }
    // One whole drag as OLE makes it: enter, a move, then a drop or a leave; answers the last effect.
    DWORD drag(DataObject& data, bool drop, DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE) {
        IDropTarget* target = frame->target();
        const POINTL point{FrameInHost::screen(30, 40).x, FrameInHost::screen(30, 40).y};
        DWORD effect = allowed;
        EXPECT_EQ(target->DragEnter(&data, MK_LBUTTON, point, &effect), S_OK);
        EXPECT_EQ(effect, allowed & DROPEFFECT_COPY);
        effect = allowed;
        EXPECT_EQ(target->DragOver(MK_LBUTTON, point, &effect), S_OK);
        EXPECT_EQ(effect, allowed & DROPEFFECT_COPY);
        effect = allowed;
        if (drop) {
            EXPECT_EQ(target->Drop(&data, MK_LBUTTON, point, &effect), S_OK);
        } else {
            EXPECT_EQ(target->DragLeave(), S_OK);
        }
        return effect;
    }

    std::string log;
    TestEditor editor{&log};
    InputScript input;
    std::string events;
    HWND host = nullptr;
    DropFrame* frame = nullptr;
    CountingView* view = nullptr;
};

TEST_F(DragAndDrop, TheFrameRegistersATargetWhileItsWindowExists) {
    ASSERT_NE(frame->target(), nullptr);
    EXPECT_TRUE(frame->isDropActive());
    EXPECT_TRUE(frame->setDropActive(false));
    EXPECT_EQ(frame->target(), nullptr);
    EXPECT_FALSE(frame->isDropActive());
    EXPECT_TRUE(frame->setDropActive(false)) << "already off";
    EXPECT_TRUE(frame->setDropActive(true));
    EXPECT_NE(frame->target(), nullptr);
    auto* windowless = new DropFrame(gui::CRect(0, 0, 10, 10), nullptr, &editor);
    EXPECT_FALSE(windowless->setDropActive(true));
    EXPECT_EQ(windowless->target(), nullptr);
    windowless->forget();
}

TEST_F(DragAndDrop, ItemsAreCountedAndTheMediaReleased) {
    HDROP files = conformance::makeFileList({"a.wav", "b.wav", "c.wav"});
    DataObject threeFiles(CF_HDROP, files);
    EXPECT_EQ(drag(threeFiles, true), static_cast<DWORD>(DROPEFFECT_NONE)) << "no view took the drop";
    EXPECT_EQ(threeFiles.owner.released, threeFiles.handedOut) << "every medium went back";
    conformance::freeFileList(files);

    HDROP text = conformance::makeFileList({"1000"});
    DataObject someText(CF_TEXT, text);
    drag(someText, false);
    EXPECT_EQ(someText.owner.released, someText.handedOut);
    conformance::freeFileList(text);

    DataObject nothing(CF_TEXT, nullptr);
    drag(nothing, true);
    EXPECT_EQ(nothing.asked, 2) << "text first, then files";
    EXPECT_EQ(view->counts, (std::vector<std::int32_t>{3, 1, 0}));
    EXPECT_EQ(events, "ve30,40 vm30,40 vd30,40 vl30,40 ve30,40 vm30,40 vl30,40 ve30,40 vm30,40 vd30,40 vl30,40 ")
        << "the pointer in frame coordinates, from the cursor";
}

TEST_F(DragAndDrop, TheSourceHearsACopyAtMostNeverAMove) {
    frame->removeView(view);
    view = new CountingView(gui::CRect(0, 0, 200, 150), &events, true);
    frame->addView(view);
    HDROP text = conformance::makeFileList({"x"});
    DataObject data(CF_TEXT, text);
    EXPECT_EQ(drag(data, true), static_cast<DWORD>(DROPEFFECT_COPY)) << "a view took it: a copy";
    EXPECT_EQ(drag(data, true, DROPEFFECT_MOVE), static_cast<DWORD>(DROPEFFECT_NONE)) << "a move only: refused";
    conformance::freeFileList(text);
}

TEST_F(DragAndDrop, EventsWithoutADragInProgressChangeNothing) {
    IDropTarget* target = frame->target();
    const POINTL point{0, 0};
    DWORD effect = 12345;
    EXPECT_EQ(target->DragOver(0, point, &effect), S_OK);
    EXPECT_EQ(target->Drop(nullptr, 0, point, &effect), S_OK);
    EXPECT_EQ(target->DragLeave(), S_OK);
    EXPECT_EQ(effect, 12345u);
    EXPECT_EQ(target->DragEnter(nullptr, 0, point, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE)) << "no data, no drag";
    EXPECT_EQ(target->DragOver(0, point, &effect), S_OK);
    EXPECT_EQ(events, "");
    EXPECT_EQ(gui::CDropTarget::currentDrag(), nullptr);
}

TEST_F(DragAndDrop, TheTargetAnswersForItsTwoInterfacesAndGoesWithItsLastReference) {
    IDropTarget* target = frame->target();
    void* object = &target;
    const IID other = {0x00000121, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    EXPECT_EQ(target->QueryInterface(other, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    ASSERT_EQ(target->QueryInterface(IID_IUnknown, &object), S_OK);
    EXPECT_EQ(object, static_cast<void*>(target));
    ASSERT_EQ(target->QueryInterface(IID_IDropTarget, &object), S_OK);
    EXPECT_EQ(target->Release(), 2u) << "the window's registration and the second answer";
    frame->forget();
    frame = new DropFrame(gui::CRect(0, 0, 200, 150), host, &editor);
    EXPECT_EQ(target->Release(), 0u) << "the frame's end let OLE release its reference; this is the last";
}

}  // namespace
}  // namespace guitest
