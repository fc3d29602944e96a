// The hub's per-message and per-key costs: the message hook with no package handler against
// the previous OnMessage handler called directly, and IsShortcut over a small and a large
// shortcut table.
#include <benchmark/benchmark.h>

#include "bench/Ratios.h"
#include "services/KorvelBdsServices.h"
#include "sim/SimulatedIde.h"

namespace {

const bool ratiosDeclared =
    bench::DeclareRatio({"message hook without package handlers vs. the previous handler called directly",
                         "BM_HookWithoutHandlers", "BM_PreviousHandlerDirect", 1.5}) &&
    bench::DeclareRatio({"IsShortcut with 5000 collected actions vs. 20", "BM_IsShortcut/5000", "BM_IsShortcut/20", 1.2});

// A mix of what the IDE's loop dispatches: keys, characters, mouse moves and clicks, timers, commands.
MSG MessageMix(size_t index) {
    static const UINT kinds[] = {WM_KEYDOWN, WM_CHAR, WM_MOUSEMOVE, WM_LBUTTONDOWN,
                                 WM_KEYUP,   WM_TIMER, WM_MOUSEMOVE, WM_COMMAND};
    MSG msg{};
    msg.message = kinds[index % 8];
    msg.wParam = 'A' + index % 26;
    return msg;
}

// The IDE's own OnMessage handler, reduced to what every such handler does: look at the
// message and act on the keyboard ones.
vcl::TMessageEvent IdeOwnHandler(long& keyboardMessages) {
    return [&keyboardMessages](MSG& msg, bool& handled) {
        if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR) {
            ++keyboardMessages;
            handled = handled || msg.wParam == VK_F1;
        }
    };
}

void DispatchMessages(benchmark::State& state, vcl::TApplication& application) {
    size_t index = 0;
    for (auto _ : state) {
        MSG msg = MessageMix(index++);
        bool handled = false;
        application.OnMessage(msg, handled);
        benchmark::DoNotOptimize(handled);
    }
}

void BM_PreviousHandlerDirect(benchmark::State& state) {
    sim::SimulatedIde ide;
    long keyboardMessages = 0;
    ide.Application().OnMessage = IdeOwnHandler(keyboardMessages);
    DispatchMessages(state, ide.Application());
    benchmark::DoNotOptimize(keyboardMessages);
}
BENCHMARK(BM_PreviousHandlerDirect);

void BM_HookWithoutHandlers(benchmark::State& state) {
    sim::SimulatedIde ide;
    long keyboardMessages = 0;
    ide.Application().OnMessage = IdeOwnHandler(keyboardMessages);
    new korvel::TBdsServices;  // hooks OnMessage and keeps itself alive, as in the IDE
    DispatchMessages(state, ide.Application());
    benchmark::DoNotOptimize(keyboardMessages);
}
BENCHMARK(BM_HookWithoutHandlers);

// `count` enabled actions with shortcuts: letters, digits and function keys under every
// combination of Shift, Ctrl and Alt, repeated once they run out.
void FillActionList(vcl::TActionList& list, int count) {
    std::vector<vcl::TShortCut> shortCuts;
    for (vcl::TShiftState shift = 1; shift < 8; ++shift) {
        for (uint16_t key = 'A'; key <= 'Z'; ++key) shortCuts.push_back(vcl::ShortCut(key, shift));
        for (uint16_t key = '0'; key <= '9'; ++key) shortCuts.push_back(vcl::ShortCut(key, shift));
        for (uint16_t key = VK_F1; key < VK_F1 + 12; ++key) shortCuts.push_back(vcl::ShortCut(key, shift));
    }
    for (int index = 0; index < count; ++index) {
        auto* action = new vcl::TAction(&list);
        action->SetName(u"BenchCommand" + rtl::IntToStr(index));
        action->SetShortCut(shortCuts[static_cast<size_t>(index) % shortCuts.size()]);
        action->SetActionList(&list);
    }
}

void BM_IsShortcut(benchmark::State& state) {
    sim::SimulatedIde ide;
    auto* list = new vcl::TActionList(&ide.Application());
    FillActionList(*list, static_cast<int>(state.range(0)));
    ide.Services().SetActionList(list);
    auto* hub = new korvel::TBdsServices;
    hub->OnToolBarServiceInitialized();
    hub->OnDotNetServicesInitialized();
    if (hub->BdsShortCuts().Actions().size() != static_cast<size_t>(state.range(0))) {
        state.SkipWithError("not every action was collected");
        return;
    }
    // Keys that some tables hold and others do not, and keys no table holds.
    const Integer keys[] = {0x20041, 0x20053, 0x30046, 0x70039, 0x10000 | (VK_F1 + 4), 0x40000 | (VK_F1 + 11),
                            0x00041, 0x20020, 0x60042, 0x50031, 0x2004B, 0x70070, 0x00070, 0x1005A, 0x20153, 0x40030};
    size_t index = 0;
    for (auto _ : state) {
        WordBool result = 0;
        hub->IsShortcut(keys[index++ % 16], &result);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_IsShortcut)->Arg(20)->Arg(5000);

}  // namespace
