#pragma once
// Deferred calls on the main thread. ForceQueue never runs the call at once, not even on
// the main thread: the event loop runs it after the message being handled has been
// handled, in the order queued. Portable: the Windows half only installs a wake-up.

#include <functional>

namespace ui {

using TProc = std::function<void()>;

class TThread {
 public:
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // The calling thread's object; lives as long as the thread.
  [[nodiscard]] static TThread* CurrentThread();

  // Queues iProc for the main thread; iThread names the caller and may be null. Safe from
  // any thread. An empty iProc is ignored.
  static void ForceQueue(TThread* iThread, TProc iProc);

  // Runs the calls queued so far, in order, and reports whether it ran any. Calls queued
  // while they run wait for the next round; a call made from inside a queued call does
  // nothing, so a queued call never runs inside another.
  static bool CheckSynchronize();

  // Drops every pending call without running it (end of the program's event loop).
  static void DropQueued();

  [[nodiscard]] static bool HasQueued();

  // Called by ForceQueue after queuing, so that a waiting event loop wakes up. Installed
  // by the platform's event loop; may be called from any thread.
  static void SetWakeMainThread(std::function<void()> iWake);

 private:
  TThread() = default;
};

}  // namespace ui
