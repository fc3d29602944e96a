// One paint of the editor tab set: the image and the overlay asked for every one of 100 tabs.
// With 100 package documents whose images are already in the list, the service answers every
// tab; the baselines are the IDE's own handlers alone, and the per-tab walk of the document
// registry that answers the same question without the service's index.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "bench/Ratios.h"
#include "platform/rtl/Bstr.h"
#include "platform/rtl/ComObject.h"
#include "sim/SimulatedIde.h"
#include "windows/BdsDocumentWindow.h"
#include "windows/BdsWindowsService.h"

namespace {

constexpr int Tabs = 100;

const bool ratiosDeclared =
    bench::DeclareRatio({"tab paint, 100 package documents vs. the IDE's handlers alone", "BM_TabPaintWithDocuments",
                         "BM_TabPaintIdeOnly", 2.0}) &&
    bench::DeclareRatio({"tab paint, 100 package documents vs. a registry walk per tab", "BM_TabPaintWithDocuments",
                         "BM_TabPaintRegistryWalk", 1.0});

class IconSink : public rtl::ComObject<IBdsWindowEvents> {
public:
    HRESULT STDMETHODCALLTYPE OnClose() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestIcon(Integer* pRetVal) override {
        std::vector<uint32_t> pixels(16 * 16, 0x0000FF00u);
        *pRetVal = static_cast<Integer>(reinterpret_cast<uintptr_t>(CreateBitmap(16, 16, 1, 32, pixels.data())));
        return S_OK;
    }
};

// An edit window with 100 tabs; with documents, each tab is a package document with its image.
class Editor {
public:
    explicit Editor(bool documents) {
        for (int i = 0; i < Tabs; ++i) ide_.Editors().OpenFile(u"C:\\docs\\Doc" + rtl::IntToStr(i) + u".kdoc");
        if (!documents) return;
        service_ = std::make_unique<korvel::TBdsWindowsService>();
        Integer editor = -1;
        service_->DocumentFrameOnTop(&editor);
        for (int i = 0; i < Tabs; ++i) {
            rtl::ComPtr<IBdsDocumentWindow> window;
            rtl::WideString id(u"C:\\docs\\Doc" + rtl::IntToStr(i) + u".kdoc");
            service_->CreateDocumentWindow(id.Get(), i, editor, window.Put());
            window->RegisterEvents(sink_.Get());
            documents_.push_back(window);
        }
        Paint();
    }
    ~Editor() {
        documents_.clear();
        service_.reset();
    }
    int Paint() {
        sim::GradientTabSet* tabs = ide_.Editors().TabSet();
        int sum = 0;
        for (int tab = 0; tab < Tabs; ++tab) sum += tabs->ImageIndexOf(tab) + tabs->OverlayIndexOf(tab);
        return sum;
    }
    // What the handlers would do with a walk of the registry per tab.
    int PaintByWalk() {
        sim::GradientTabSet* tabs = ide_.Editors().TabSet();
        const korvel::TDocumentWindows& windows = service_->DbDocumentWindows();
        const korvel::TBdsEditWindows& records = service_->BdsEditWindows();
        int sum = 0;
        for (int tab = 0; tab < Tabs; ++tab) {
            for (int pass = 0; pass < 2; ++pass) {
                for (int r = 0, count = records.Count(); r < count; ++r) benchmark::DoNotOptimize(records.Items(r)->TabSet.Get());
                auto* items = dynamic_cast<vcl::TStringList*>(vcl::GetObjectProp(tabs, u"Items"));
                const vcl::TObject* object = items->Objects(tab);
                for (int w = 0, count = windows.Count(); w < count; ++w) {
                    korvel::TBdsCustomDocumentWindow* window = windows.Items(w);
                    if (window->IdentifiedObject() != object) continue;
                    sum += pass == 0 ? window->DocImageIndex() : -1;
                    break;
                }
            }
        }
        return sum;
    }

private:
    sim::SimulatedIde ide_;
    std::unique_ptr<korvel::TBdsWindowsService> service_;
    rtl::ComPtr<IconSink> sink_{new IconSink};
    std::vector<rtl::ComPtr<IBdsDocumentWindow>> documents_;
};

void BM_TabPaintIdeOnly(benchmark::State& state) {
    Editor editor(false);
    for (auto _ : state) benchmark::DoNotOptimize(editor.Paint());
}

void BM_TabPaintWithDocuments(benchmark::State& state) {
    Editor editor(true);
    for (auto _ : state) benchmark::DoNotOptimize(editor.Paint());
}

void BM_TabPaintRegistryWalk(benchmark::State& state) {
    Editor editor(true);
    for (auto _ : state) benchmark::DoNotOptimize(editor.PaintByWalk());
}

BENCHMARK(BM_TabPaintIdeOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TabPaintWithDocuments)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TabPaintRegistryWalk)->Unit(benchmark::kMicrosecond);

}  // namespace
