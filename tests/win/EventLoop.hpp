#pragma once
// The toolkit's event loop driven from a test: messages and queued calls run as they do in
// the program, with a time limit so that nothing hangs.

#include <windows.h>

#include <chrono>
#include <functional>
#include <thread>

#include "toolkit/Forms.hpp"
#include "toolkit/Thread.hpp"

namespace testsupport {

// Handles messages and queued calls until done() or the time is up.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(5)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    ui::Application().ProcessMessages();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// Lets every posted message and queued step run.
inline void Settle() {
  MSG msg;
  PumpUntil([&] { return !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && !ui::TThread::HasQueued(); },
            std::chrono::seconds(2));
}

}  // namespace testsupport
