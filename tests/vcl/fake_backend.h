// A backend without windows for testing the component model: it logs what the components ask
// of the window system, and its message loop runs queued actions as if they were messages.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "backend.h"
#include "controls.h"
#include "extctrls.h"
#include "forms.h"

namespace vcltest {

class FakeBackend : public vcl::Backend {
public:
    std::vector<std::string> log;
    std::deque<std::function<void()>> messages;
    TWinControl* focused = nullptr;

    std::unique_ptr<vcl::WindowPeer> CreateWindowPeer(TWinControl& control) override
    {
        return std::make_unique<Window>(*this, control);
    }
    std::unique_ptr<vcl::TimerPeer> CreateTimerPeer(TTimer& timer) override
    {
        return std::make_unique<Timer>(*this, timer);
    }
    std::string LoadFormResource(const std::string& name) override
    {
        throw Exception("no resource " + name);
    }
    std::string ProgramTitle() override { return "fake"; }
    void RunMessageLoop() override
    {
        quit_ = false;
        while (!quit_ && !messages.empty()) {
            auto message = std::move(messages.front());
            messages.pop_front();
            message();
        }
    }
    void QuitMessageLoop() override
    {
        quit_ = true;
        log.push_back("quit");
    }
    void ShowErrorBox(const std::string&, const std::string& text, TForm*) override
    {
        log.push_back("error box: " + text);
    }

    // The log entries since the last call.
    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(log);
        return taken;
    }

private:
    struct Window : vcl::WindowPeer {
        Window(FakeBackend& backend, TWinControl& control) : backend(backend), control(control)
        {
        }
        void Update(vcl::Aspect aspect) override
        {
            static const char* const names[] = {"caption", "enabled", "visible", "check"};
            backend.log.push_back(control.Name() + " shows " + names[static_cast<int>(aspect)]);
        }
        void Repaint(int, int, int, int) override {}
        void SetFocus() override { backend.focused = &control; }

        FakeBackend& backend;
        TWinControl& control;
    };

    struct Timer : vcl::TimerPeer {
        Timer(FakeBackend& backend, TTimer& timer) : backend(backend), timer(timer) {}
        void Start(unsigned interval_ms) override
        {
            backend.log.push_back(timer.Name() + " starts " + std::to_string(interval_ms));
        }
        void Stop() override { backend.log.push_back(timer.Name() + " stops"); }

        FakeBackend& backend;
        TTimer& timer;
    };

    bool quit_ = false;
};

// Installs a fake backend in the application object for the life of a test.
class FakeBackendTest : public ::testing::Test {
protected:
    FakeBackendTest()
    {
        auto backend = std::make_unique<FakeBackend>();
        fake = backend.get();
        Application->SetBackend(std::move(backend));
    }
    ~FakeBackendTest() override { Application->SetBackend(nullptr); }

    FakeBackend* fake;
};

}  // namespace vcltest
