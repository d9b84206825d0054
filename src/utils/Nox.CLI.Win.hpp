#pragma once
// The Windows command runner: the child runs hidden, its standard input and output are
// anonymous pipes, and the runner polls the output every 100 ms until the child has ended.

#include <atomic>
#include <memory>
#include <string>

#include "utils/Nox.CLI.hpp"

namespace Nox::CLI::Win {

class TCLIWin final : public ICLI {
 public:
  std::u16string Execute(const std::u16string& iCommand) override;
  // Blocks the calling thread until the child has gone. A handler that throws leaves the
  // child running; the runner's pipe ends are closed, so a well-behaved child then sees
  // end of input and a broken output pipe.
  void WhileExec(const std::u16string& iCommand, const TCLIReadEvent& iHandler) override;
  // Safe to call from the handler and from another thread.
  void WhileBreak() override { FWhileBreak = true; }

 private:
  std::atomic<bool> FWhileBreak{false};
};

class TCLIFactoryWin final : public TCLIFactory {
 public:
  [[nodiscard]] std::shared_ptr<ICLI> CreateCLI() override;
};

// Unit start-up: registers one TCLIFactoryWin under ICLIFactory::IID(); a second call
// without Finalize() in between throws std::logic_error. Finalize() removes it again;
// facades created before keep their runner.
void Initialize();
void Finalize();

}  // namespace Nox::CLI::Win
