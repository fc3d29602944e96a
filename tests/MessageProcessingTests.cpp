#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "tests/support/HubFixture.h"

using namespace testing_support;

namespace {

using HandlerLog = std::vector<std::string>;
using HandlerBody = std::function<HRESULT(MSG* msg, WordBool* callDefaultHandler, WordBool* handled)>;

// A package's message handler: notes its name in the log, then does what the test asks.
class FakeHandler : public rtl::ComObject<IMessageHandler> {
public:
    FakeHandler(std::string name, HandlerLog& log, HandlerBody body, int& liveHandlers)
        : name_(std::move(name)), log_(log), body_(std::move(body)), liveHandlers_(liveHandlers) {
        ++liveHandlers_;
    }
    ~FakeHandler() override { --liveHandlers_; }

    HRESULT STDMETHODCALLTYPE HandleMessage(MSG* Msg, WordBool* CallDefaultHandler, WordBool* Handled) override {
        log_.push_back(name_);
        return body_(Msg, CallDefaultHandler, Handled);
    }

private:
    std::string name_;
    HandlerLog& log_;
    HandlerBody body_;
    int& liveHandlers_;
};

HandlerBody Answers(WordBool handled) {
    return [handled](MSG*, WordBool*, WordBool* out) {
        *out = handled;
        return S_OK;
    };
}

HandlerBody ClearsDefaultAndAnswers(WordBool handled) {
    return [handled](MSG*, WordBool* callDefault, WordBool* out) {
        *callDefault = 0;
        *out = handled;
        return S_OK;
    };
}

struct SeenByPrevious {
    MSG msg;
    bool handled;
};

MSG KeyDown(WPARAM key) {
    MSG msg{};
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    return msg;
}

class MessageProcessingTest : public HubFixture {
protected:
    MessageProcessingTest() {
        ide.Application().OnMessage = [this](MSG& msg, bool& handled) { previous.push_back({msg, handled}); };
    }
    ~MessageProcessingTest() override {
        ShutDown();
        EXPECT_EQ(liveHandlers, 0) << "a handler was kept after shut-down";
    }

    rtl::ComPtr<IMessageHandler> Register(const std::string& name, HandlerBody body) {
        rtl::ComPtr<IMessageHandler> handler(new FakeHandler(name, log, std::move(body), liveHandlers));
        EXPECT_EQ(Hub()->AddMessageHandler(handler.Get()), S_OK);
        return handler;
    }
    // Posts one message and runs the IDE's loop; true when the message was dispatched.
    bool Deliver(const MSG& msg) {
        ide.PostMessage(msg);
        return ide.ProcessMessages() == 1;
    }

    std::vector<SeenByPrevious> previous;
    HandlerLog log;
    int liveHandlers = 0;
};

TEST_F(MessageProcessingTest, WithoutHandlersEveryMessageGoesToThePreviousHandlerAsPassed) {
    EnterWithOnePackage();
    EXPECT_TRUE(Deliver(KeyDown('A')));
    ASSERT_EQ(previous.size(), 1u);
    EXPECT_EQ(previous[0].msg.wParam, static_cast<WPARAM>('A'));
    EXPECT_FALSE(previous[0].handled);

    MSG msg = KeyDown('B');
    bool handled = true;
    ide.Application().OnMessage(msg, handled);
    ASSERT_EQ(previous.size(), 2u);
    EXPECT_TRUE(previous[1].handled) << "the IDE's Handled reaches the previous handler untouched";
}

TEST_F(MessageProcessingTest, HandledStopsLaterHandlersButNotThePreviousHandler) {
    EnterWithOnePackage();
    Register("first", Answers(-1));
    Register("second", Answers(0));
    EXPECT_FALSE(Deliver(KeyDown('A'))) << "a handled message is not dispatched";
    EXPECT_EQ(log, (HandlerLog{"first"}));
    ASSERT_EQ(previous.size(), 1u);
    EXPECT_TRUE(previous[0].handled);
}

TEST_F(MessageProcessingTest, AnyNonZeroAnswerCountsAsHandled) {
    EnterWithOnePackage();
    Register("first", Answers(1));
    Register("second", Answers(0));
    EXPECT_FALSE(Deliver(KeyDown('A')));
    EXPECT_EQ(log, (HandlerLog{"first"}));
}

TEST_F(MessageProcessingTest, ClearedDefaultHandlerSkipsOnlyThePreviousHandler) {
    EnterWithOnePackage();
    Register("first", ClearsDefaultAndAnswers(0));
    Register("second", Answers(0));
    EXPECT_TRUE(Deliver(KeyDown('A')));
    EXPECT_EQ(log, (HandlerLog{"first", "second"}));
    EXPECT_TRUE(previous.empty());

    log.clear();
    EXPECT_TRUE(Deliver(KeyDown('B')));
    EXPECT_EQ(log, (HandlerLog{"first", "second"})) << "the flag is set afresh for every message";
    EXPECT_TRUE(previous.empty());
}

TEST_F(MessageProcessingTest, HandledWithClearedDefaultReachesNobodyElse) {
    EnterWithOnePackage();
    Register("first", ClearsDefaultAndAnswers(-1));
    Register("second", Answers(0));
    EXPECT_FALSE(Deliver(KeyDown('A')));
    EXPECT_EQ(log, (HandlerLog{"first"}));
    EXPECT_TRUE(previous.empty());
}

TEST_F(MessageProcessingTest, HandlerMayRewriteTheMessageInPlace) {
    EnterWithOnePackage();
    Register("rewriter", [](MSG* msg, WordBool*, WordBool* handled) {
        msg->wParam = 'Z';
        *handled = 0;
        return S_OK;
    });
    Register("reader", [](MSG* msg, WordBool*, WordBool* handled) {
        *handled = msg->wParam == 'Z' ? 0 : -1;
        return S_OK;
    });
    EXPECT_TRUE(Deliver(KeyDown('A')));
    ASSERT_EQ(previous.size(), 1u);
    EXPECT_EQ(previous[0].msg.wParam, static_cast<WPARAM>('Z'));
    ASSERT_EQ(ide.DispatchedMessages().size(), 1u);
    EXPECT_EQ(ide.DispatchedMessages()[0].wParam, static_cast<WPARAM>('Z'));
}

TEST_F(MessageProcessingTest, FailingThrowingOrSilentHandlersHaveNotHandledTheMessage) {
    EnterWithOnePackage();
    // What it wrote before it threw is not its answer.
    Register("throws", [](MSG*, WordBool* callDefault, WordBool* handled) -> HRESULT {
        *callDefault = 0;
        *handled = -1;
        throw std::runtime_error("package failure");
    });
    Register("fails", [](MSG*, WordBool*, WordBool*) { return E_FAIL; });
    Register("silent", [](MSG*, WordBool*, WordBool*) { return S_OK; });
    Register("last", Answers(0));
    EXPECT_TRUE(Deliver(KeyDown('A')));
    EXPECT_TRUE(Deliver(KeyDown('B')));
    EXPECT_EQ(log, (HandlerLog{"throws", "fails", "silent", "last", "throws", "fails", "silent", "last"}));
    EXPECT_EQ(previous.size(), 2u);
}

TEST_F(MessageProcessingTest, HandlersAreAskedInRegistrationOrderAndTwiceWhenAddedTwice) {
    EnterWithOnePackage();
    rtl::ComPtr<IMessageHandler> twice = Register("twice", Answers(0));
    Register("other", Answers(0));
    ASSERT_EQ(Hub()->AddMessageHandler(twice.Get()), S_OK);
    Deliver(KeyDown('A'));
    EXPECT_EQ(log, (HandlerLog{"twice", "other", "twice"}));
}

TEST_F(MessageProcessingTest, RegistrationRefusesWhatIsNoHandler) {
    EnterWithOnePackage();
    EXPECT_EQ(Hub()->AddMessageHandler(nullptr), E_POINTER);
    rtl::ComPtr<IUnknown> package(korvel::Packages[0].Get());
    EXPECT_EQ(Hub()->AddMessageHandler(reinterpret_cast<IMessageHandler*>(package.Get())), E_NOINTERFACE);
    EXPECT_TRUE(Deliver(KeyDown('A')));
    EXPECT_EQ(previous.size(), 1u);
}

TEST_F(MessageProcessingTest, HandlerReleasedByItsPackageIsStillSafeUntilShutDown) {
    EnterWithOnePackage();
    Register("released", Answers(0));  // the package keeps no reference
    EXPECT_EQ(liveHandlers, 1);
    EXPECT_TRUE(Deliver(KeyDown('A')));
    EXPECT_EQ(log, (HandlerLog{"released"}));
    ShutDown();
    EXPECT_EQ(liveHandlers, 0);
}

TEST_F(MessageProcessingTest, HandlerAddedWhileAMessageIsOfferedSeesTheNextOne) {
    EnterWithOnePackage();
    rtl::ComPtr<IMessageHandler> late(new FakeHandler("late", log, Answers(0), liveHandlers));
    bool added = false;
    Register("adder", [&](MSG*, WordBool*, WordBool* handled) {
        for (int i = 0; i < 16 && !added; ++i) Hub()->AddMessageHandler(late.Get());
        added = true;
        *handled = 0;
        return S_OK;
    });
    Deliver(KeyDown('A'));
    EXPECT_EQ(log, (HandlerLog{"adder"}));
    log.clear();
    Deliver(KeyDown('B'));
    EXPECT_EQ(log.size(), 17u);
}

TEST_F(MessageProcessingTest, HookCanBePutBackAndRemoved) {
    EnterWithOnePackage();
    Register("package", Answers(0));
    ide.Application().OnMessage = [](MSG&, bool&) {};
    Deliver(KeyDown('A'));
    EXPECT_TRUE(log.empty());

    TheHub().UpdateMessageProcessing();
    Deliver(KeyDown('B'));
    EXPECT_EQ(log, (HandlerLog{"package"}));
    EXPECT_EQ(previous.size(), 1u) << "the handler saved at creation is still the previous one";

    TheHub().RestoreMessageProcessing();
    Deliver(KeyDown('C'));
    EXPECT_EQ(log.size(), 1u);
    EXPECT_EQ(previous.size(), 2u);
    TheHub().UpdateMessageProcessing();
    Deliver(KeyDown('D'));
    EXPECT_EQ(previous.size(), 2u) << "the saved handler was forgotten";
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(MessageProcessingTest, WithoutAPreviousHandlerMessagesStillFlow) {
    ide.Application().OnMessage = nullptr;
    EnterWithOnePackage();
    EXPECT_TRUE(Deliver(KeyDown('A')));
    Register("package", Answers(-1));
    EXPECT_FALSE(Deliver(KeyDown('B')));
}

}  // namespace
