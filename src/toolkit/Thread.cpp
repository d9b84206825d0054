#include "toolkit/Thread.hpp"

#include <deque>
#include <mutex>
#include <utility>

namespace ui {
namespace {

struct TQueue {
  std::mutex Lock;
  std::deque<TProc> Calls;
  std::function<void()> Wake;
};

TQueue& Queue() {
  static TQueue queue;
  return queue;
}

// Only the thread that runs the queue reads this; it keeps queued calls from nesting.
thread_local bool tRunningQueued = false;

}  // namespace

TThread* TThread::CurrentThread() {
  thread_local TThread thread;
  return &thread;
}

void TThread::ForceQueue(TThread* /*iThread*/, TProc iProc) {
  if (!iProc) return;
  std::function<void()> wake;
  {
    TQueue& queue = Queue();
    const std::lock_guard guard(queue.Lock);
    queue.Calls.push_back(std::move(iProc));
    wake = queue.Wake;
  }
  if (wake) wake();
}

bool TThread::CheckSynchronize() {
  if (tRunningQueued) return false;
  std::deque<TProc> batch;
  {
    TQueue& queue = Queue();
    const std::lock_guard guard(queue.Lock);
    batch.swap(queue.Calls);
  }
  if (batch.empty()) return false;
  tRunningQueued = true;
  struct TReset {
    ~TReset() { tRunningQueued = false; }
  } reset;
  while (!batch.empty()) {
    // Taken out first: if a call throws, the calls after it still run in a later round.
    TProc call = std::move(batch.front());
    batch.pop_front();
    try {
      call();
    } catch (...) {
      TQueue& queue = Queue();
      const std::lock_guard guard(queue.Lock);
      queue.Calls.insert(queue.Calls.begin(), std::make_move_iterator(batch.begin()),
                         std::make_move_iterator(batch.end()));
      throw;
    }
  }
  return true;
}

void TThread::DropQueued() {
  std::deque<TProc> dropped;
  {
    TQueue& queue = Queue();
    const std::lock_guard guard(queue.Lock);
    dropped.swap(queue.Calls);
  }
  // Destroyed outside the lock: a closure's destructor may queue again.
}

bool TThread::HasQueued() {
  TQueue& queue = Queue();
  const std::lock_guard guard(queue.Lock);
  return !queue.Calls.empty();
}

void TThread::SetWakeMainThread(std::function<void()> iWake) {
  TQueue& queue = Queue();
  const std::lock_guard guard(queue.Lock);
  queue.Wake = std::move(iWake);
}

}  // namespace ui
